#pragma once
// The keys an answer window answers itself, before its page sees them: Esc closes it, and
// Ctrl with plus, minus or 0 zooms the page, as a browser's window does.

#include <webkit2/webkit2.h>

#include <functional>

namespace answerwindow {

// `zoomed` is told the page's new zoom in percent whenever a key has changed it.
void HandleAnswerKeys(GtkWindow* window, WebKitWebView* view, std::function<void(unsigned percent)> zoomed);

// Sets the page's zoom, in percent, within the range the keys step through.
void SetZoomPercent(WebKitWebView* view, unsigned percent);

}  // namespace answerwindow
