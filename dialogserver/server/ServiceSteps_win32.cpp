#include "dialogserver/server/ServiceSteps_win32.h"

#include <optional>

#include "dialogserver/dialogs/DocumentComplete.h"
#include "dialogserver/dialogs/mshtml/MshtmlDom_win32.h"
#include "dialogserver/server/ComDialogHost_win32.h"
#include "dialogserver/server/DictionaryDialog_win32.h"
#include "foundation/win32api/ComValues_win32.h"
#include "translate/target/BrowserAutomation_win32.h"

namespace dialogserver {
namespace {
dialogs::ServiceDialog& StepsOf(DialogFamily family)
{
    static dialogs::BabylonDialog babylon;
    static dialogs::GoogleDialog google;
    static dialogs::LingvoDialog lingvo;
    static dialogs::MultilexDialog multilex;
    switch (family) {
        case DialogFamily::Babylon:
            return babylon;
        case DialogFamily::Google:
            return google;
        case DialogFamily::Lingvo:
            return lingvo;
        case DialogFamily::Multilex:
            break;
    }
    return multilex;
}

// The address DocumentComplete reports; the browser's events pass it by reference.
std::optional<std::u16string> AddressOf(const VARIANT* url)
{
    if (url && url->vt == (VT_BYREF | VT_VARIANT))
        url = url->pvarVal;
    if (!url || url->vt != VT_BSTR)
        return std::nullopt;
    return Win32::API::Bstr::Text(url->bstrVal);
}
}  // namespace

void RunServiceStep(DictionaryDialog& dialog, IDispatch* page, const VARIANT* url)
{
    ComDialogHost host(dialog);
    // The event's browser is let go of like every other browser reference: were it the last one
    // and its window hidden, the window would close.
    const translate::target::HeldBrowser eventBrowser(page);
    mshtml::MshtmlResultPage resultPage(page);
    dialogs::DocumentComplete(StepsOf(dialog.Class().family), host, AddressOf(url), resultPage);
}

}  // namespace dialogserver
