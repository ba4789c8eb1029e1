// libvocabra-answer-window.so's exports, which the desktop program resolves by name when it has
// loaded the library, while it waits or for its first answer.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>
#include <type_traits>

#include "answerwindow/AnswerWindow.h"
#include "answerwindow/DarkPreference.h"
#include "foundation/glib/CallbackGuard.h"

using translate::target::AnswerWindowChanged;
using translate::target::AnswerWindowClosed;
using translate::target::AnswerWindowMemory;
using translate::target::RequestDisplayTarget;

namespace {
// The fields of the program's structure that this library knows; the rest stay none.
std::unique_ptr<AnswerWindowMemory> KnownFields(const AnswerWindowMemory* given)
{
    if (!given)
        return nullptr;
    auto known = std::make_unique<AnswerWindowMemory>();
    std::memcpy(known.get(), given, std::min<std::size_t>(given->size, sizeof(AnswerWindowMemory)));
    known->size = sizeof(AnswerWindowMemory);
    return known;
}

RequestDisplayTarget* Create(const char* iconPath,
                             const AnswerWindowMemory* remembered,
                             AnswerWindowClosed closed,
                             AnswerWindowChanged changed,
                             void* context)
{
    // The program's call across the library's C boundary: nothing may be thrown back through it.
    return glib::GuardCallback(
        "creating an answer window",
        [&] {
            answerwindow::FollowDesktopDarkPreference();
            return static_cast<RequestDisplayTarget*>(
                std::make_unique<answerwindow::AnswerWindow>(iconPath, KnownFields(remembered).get(), closed, changed,
                                                             context)
                    .release());  // ended by Dispose
        },
        static_cast<RequestDisplayTarget*>(nullptr));
}
}  // namespace

extern "C" __attribute__((visibility("default"))) RequestDisplayTarget*
VocabraCreateAnswerWindow(const char* iconPath, AnswerWindowClosed closed, void* context)
{
    return Create(iconPath, nullptr, closed, nullptr, context);
}

extern "C" __attribute__((visibility("default"))) RequestDisplayTarget* VocabraCreateRememberingAnswerWindow(
    const char* iconPath,
    const AnswerWindowMemory* remembered,
    AnswerWindowClosed closed,
    AnswerWindowChanged changed,
    void* context)
{
    return Create(iconPath, remembered, closed, changed, context);
}

static_assert(std::is_same_v<decltype(&VocabraCreateAnswerWindow), translate::target::CreateAnswerWindowFunction>);
static_assert(std::string_view(translate::target::kCreateAnswerWindowExport) == "VocabraCreateAnswerWindow");
static_assert(std::is_same_v<decltype(&VocabraCreateRememberingAnswerWindow),
                             translate::target::CreateRememberingAnswerWindowFunction>);
static_assert(std::string_view(translate::target::kCreateRememberingAnswerWindowExport) ==
              "VocabraCreateRememberingAnswerWindow");
