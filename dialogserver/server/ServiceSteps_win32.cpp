#include "dialogserver/server/ServiceSteps_win32.h"

#include <optional>

#include "dialogserver/dialogs/DocumentComplete.h"
#include "dialogserver/dialogs/mshtml/ComScriptObject_win32.h"
#include "dialogserver/dialogs/mshtml/MshtmlDom_win32.h"
#include "dialogserver/server/DictionaryDialog_win32.h"
#include "foundation/config/Environment.h"
#include "translate/target/BrowserAutomation_win32.h"
#include "foundation/win32api/ComValues_win32.h"
#include "resource.h"

namespace dialogserver {
namespace {
// The dialog object as its service's steps see it.
class ComDialogHost final : public dialogs::DialogHost {
public:
    explicit ComDialogHost(DictionaryDialog& dialog) : m_dialog(dialog) {}

    std::unique_ptr<dom::Document> InformationPage() override
    {
        return mshtml::OpenMshtmlDocument(m_dialog.Browser());
    }
    std::u16string InformationPageUrl() const override { return m_dialog.InformationPageUrl(); }
    std::u16string RequestUrl() const override { return m_dialog.Url(); }
    std::u16string TrackerUrlTemplate() const override
    {
        return m_dialog.Configuration().config.GetString(u"dictionary.tracker.url");
    }
    std::u16string ServiceName() const override { return m_dialog.ServiceProperties().GetString(u"service.name"); }
    std::u16string NotFoundText() const override { return LoadResourceString(IDS_TRANSLATION_NOT_FOUND); }
    void DetachBrowser() override { m_dialog.Detach(); }
    void NavigateTopBrowser(const std::u16string& url) override
    {
        if (!m_dialog.Browser())
            return;
        Win32::API::Bstr address(url);
        Win32::API::Variant none;
        m_dialog.Browser()->Navigate(address.Get(), &none.Value(), &none.Value(), &none.Value(), &none.Value());
    }
    dom::ScriptObjectPtr CreateScriptObject(const std::u16string& progId) override
    {
        return mshtml::CreateScriptObject(progId);
    }
    dom::ScriptObjectPtr CreateEventHandler(std::function<void()> action) override
    {
        return mshtml::MakePageEventHandler(m_dialog.Owner(), std::move(action));
    }

private:
    DictionaryDialog& m_dialog;
};

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
