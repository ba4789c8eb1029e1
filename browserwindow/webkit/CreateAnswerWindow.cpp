// libvocabra-answer-window.so's only export, which the desktop program resolves by name when it
// has loaded the library for its first answer.
#include <memory>
#include <string_view>
#include <type_traits>

#include "browserwindow/webkit/AnswerWindow.h"
#include "foundation/glib/CallbackGuard.h"

using translate::target::AnswerWindowClosed;
using translate::target::RequestDisplayTarget;

extern "C" __attribute__((visibility("default"))) RequestDisplayTarget*
VocabraCreateAnswerWindow(const char* iconPath, AnswerWindowClosed closed, void* context)
{
    // The program's call across the library's C boundary: nothing may be thrown back through it.
    return glib::GuardCallback(
        "creating an answer window",
        [&] {
            return static_cast<RequestDisplayTarget*>(
                std::make_unique<answerwindow::AnswerWindow>(iconPath, closed, context).release());  // ended by Dispose
        },
        static_cast<RequestDisplayTarget*>(nullptr));
}

static_assert(std::is_same_v<decltype(&VocabraCreateAnswerWindow), translate::target::CreateAnswerWindowFunction>);
static_assert(std::string_view(translate::target::kCreateAnswerWindowExport) == "VocabraCreateAnswerWindow");
