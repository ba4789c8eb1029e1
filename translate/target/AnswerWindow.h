#pragma once
// The Linux answer window library: a window of its own for every request, with an embedded web
// view. The desktop program loads it before its first answer, but no window and no web engine
// process exists until an answer is shown, so that the engine costs little while the program
// waits; where the library or the engine is missing, the program opens the address in the
// desktop's browser instead.

#include <cstdint>

#include "translate/target/RequestDisplayTarget.h"

namespace translate::target {

// Called once, on the GTK main thread, when the user closes an answer window. The owner then
// ends the window with Dispose().
using AnswerWindowClosed = void (*)(RequestDisplayTarget* window, void* context);

// The export: a new answer window, not shown before its first ShowUrl, or null when none can be
// made. `iconPath` (UTF-8; null or empty: none) is the window's icon. Dispose() closes the window
// if it is still open, without calling `closed`, and frees it.
using CreateAnswerWindowFunction = RequestDisplayTarget* (*)(const char* iconPath,
                                                             AnswerWindowClosed closed,
                                                             void* context);

constexpr char kCreateAnswerWindowExport[] = "VocabraCreateAnswerWindow";

// What the program keeps of one service's answer windows between them: the zoom the user chose
// and the size the user gave. The structure grows only at its end, and `size` says how much of it
// the side that filled it knew, so that a program and a library of different ages read only the
// fields both have.
struct AnswerWindowMemory {
    std::uint32_t size;
    std::uint32_t zoomPercent;  // 0: none kept
    std::int32_t width;         // 96-DPI units; 0: none kept (the service's size applies)
    std::int32_t height;
};

// Called on the GTK main thread when the user has changed what the program keeps: the zoom (at
// once), or the window's size (when the window ends). Fields not changed are 0.
using AnswerWindowChanged = void (*)(RequestDisplayTarget* window, void* context, const AnswerWindowMemory* changed);

// The second export, beside the first, which stays for programs that know nothing of it: the same
// window, opened with `remembered` (null: nothing kept) and reporting to `changed` (may be null).
using CreateRememberingAnswerWindowFunction = RequestDisplayTarget* (*)(const char* iconPath,
                                                                        const AnswerWindowMemory* remembered,
                                                                        AnswerWindowClosed closed,
                                                                        AnswerWindowChanged changed,
                                                                        void* context);
constexpr char kCreateRememberingAnswerWindowExport[] = "VocabraCreateRememberingAnswerWindow";
// The GLib log domain of the library's messages, which the program passes on to its own log.
constexpr char kAnswerWindowLogDomain[] = "vocabra-answer-window";
constexpr char16_t kAnswerWindowLibraryName[] = u"libvocabra-answer-window.so";

// The window's size when the service gives no width or no height.
constexpr int kDefaultAnswerWidth = 800;
constexpr int kDefaultAnswerHeight = 600;

}  // namespace translate::target
