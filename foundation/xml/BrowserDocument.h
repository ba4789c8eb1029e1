#pragma once
// What the response parser needs from the page a web browser has loaded. The dialogs read it
// through MSHTML (dialogserver/dialogs/mshtml/MshtmlBrowserDocument_win32.h); tests provide their
// own pages.

#include <optional>
#include <string>

namespace XML {

class BrowserDocument {
public:
    virtual ~BrowserDocument() = default;

    // Whether the page is an XML document. When it is, `xml` receives its serialised text, or
    // nothing when that text cannot be read.
    virtual bool GetXml(std::optional<std::u16string>& xml) = 0;

    // The inner text of the page's body; nothing when there is no body.
    virtual std::optional<std::u16string> BodyText() = 0;
};

}  // namespace XML
