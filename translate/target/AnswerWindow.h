#pragma once
// The Linux answer window library: a window of its own for every request, with an embedded web
// view. The desktop program loads it only when the first answer is shown, so that the web engine
// costs nothing while the program waits; where the library or the engine is missing, the program
// opens the address in the desktop's browser instead.

#include "translate/target/RequestDisplayTarget.h"

namespace translate::target {

// Called once, on the GTK main thread, when the user closes an answer window. The owner then
// ends the window with Dispose().
using AnswerWindowClosed = void (*)(RequestDisplayTarget* window, void* context);

// The export: a new answer window, not shown before its first ShowUrl, or null when none can be
// made. `iconPath` (UTF-8; null or empty: none) is the window's icon. Dispose() closes the window
// if it is still open, without calling `closed`, and frees it.
using CreateAnswerWindowFunction = RequestDisplayTarget* (*)(const char* iconPath, AnswerWindowClosed closed,
                                                             void* context);

constexpr char kCreateAnswerWindowExport[] = "VocabraCreateAnswerWindow";
// The GLib log domain of the library's messages, which the program passes on to its own log.
constexpr char kAnswerWindowLogDomain[] = "vocabra-answer-window";
constexpr char16_t kAnswerWindowLibraryName[] = u"libvocabra-answer-window.so";

// The window's size when the service gives no width or no height.
constexpr int kDefaultAnswerWidth = 800;
constexpr int kDefaultAnswerHeight = 600;

}  // namespace translate::target
