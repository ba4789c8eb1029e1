#pragma once
// The page operations every dialog shares. Unless a document is passed in, they work on the
// information page (the top document of the dialog's browser). A missing document, element or
// script function makes an operation do nothing, or fall back to plain styles where stated.

#include <string>
#include <string_view>
#include <vector>

#include "dialogserver/dialogs/DialogHost.h"
#include "dialogserver/dialogs/dom/HtmlDom.h"

namespace dialogserver::dialogs {

// display = "none".
void HideElement(dom::Document& page, std::u16string_view id);
// width and height "100%", then display "block".
void ShowElementFull(dom::Document& page, std::u16string_view id);
// True when the page's window has the function and calling it succeeded.
bool CallScriptFunction(dom::Document& page,
                        std::u16string_view name,
                        const std::vector<dom::ScriptArgument>& arguments = {});
// Installs a window.onerror that swallows every script error, so that none raises a dialog box.
void SuppressScriptErrors(dom::Document& document);

// The page's "showTranslation", or else "progress" hidden and "translation" shown full.
void SwitchToTranslation(DialogHost& host);
// The page's "showProgressBar", or else "translation" hidden and "progress" shown full.
void SwitchToProgress(DialogHost& host);

// The frame "translation" gets the request address.
void LoadTranslationFrame(DialogHost& host);
// The frame "tracker" gets TrackerAddress(...) of the configured template and the service name.
void LoadTracker(DialogHost& host);
// `urlTemplate` with every "%dictionary%" replaced by `serviceName`. An empty result is
// "about:blank": an empty frame source loads the containing page again, which would run the
// information page's step a second time inside its own frame.
std::u16string TrackerAddress(std::u16string_view urlTemplate, std::u16string_view serviceName);

}  // namespace dialogserver::dialogs
