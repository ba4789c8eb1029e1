#pragma once

#include <webkit2/webkit2.h>

namespace answerwindow {

// An answer window's caption while its page has no title.
constexpr char kUntitledCaption[] = "Vocabra";

// Fills `window` with a new web view of the process's shared web context. The view keeps the
// window's caption at its page's title, and shows in itself what a page would open in a new window.
WebKitWebView* AddAnswerView(GtkWindow* window);

}  // namespace answerwindow
