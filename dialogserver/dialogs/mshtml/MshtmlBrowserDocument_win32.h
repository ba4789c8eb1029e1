#pragma once
// The page of a WebBrowser control (or Internet Explorer) as the response parser reads it, for the
// dialogs' result pages.

#include <unknwn.h>

#include <memory>

#include "foundation/xml/BrowserDocument.h"

namespace dialogserver::mshtml {

// Null when `browser` is not a web browser (offers no IWebBrowser2). A browser without a current
// document gives a page that is neither XML nor has a body.
std::unique_ptr<XML::BrowserDocument> OpenBrowserDocument(IUnknown* browser);

}  // namespace dialogserver::mshtml
