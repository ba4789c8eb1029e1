#include "dialogserver/server/ComDialogHost_win32.h"

#include "dialogserver/dialogs/mshtml/ComScriptObject_win32.h"
#include "dialogserver/dialogs/mshtml/MshtmlDom_win32.h"
#include "dialogserver/server/DictionaryDialog_win32.h"
#include "foundation/config/Environment.h"
#include "foundation/win32api/ComValues_win32.h"
#include "resource.h"

namespace dialogserver {

std::unique_ptr<dom::Document> ComDialogHost::InformationPage()
{
    return mshtml::OpenMshtmlDocument(m_dialog.Browser());
}

std::u16string ComDialogHost::InformationPageUrl() const
{
    return m_dialog.InformationPageUrl();
}

std::u16string ComDialogHost::RequestUrl() const
{
    return m_dialog.Url();
}

std::u16string ComDialogHost::TrackerUrlTemplate() const
{
    return m_dialog.Configuration().config.GetString(u"dictionary.tracker.url");
}

std::u16string ComDialogHost::ServiceName() const
{
    return m_dialog.ServiceProperties().GetString(u"service.name");
}

std::u16string ComDialogHost::NotFoundText() const
{
    return LoadResourceString(IDS_TRANSLATION_NOT_FOUND);
}

void ComDialogHost::DetachBrowser()
{
    m_dialog.Detach();
}

void ComDialogHost::NavigateTopBrowser(const std::u16string& url)
{
    if (!m_dialog.Browser())
        return;
    Win32::API::Bstr address(url);
    Win32::API::Variant none;
    m_dialog.Browser()->Navigate(address.Get(), &none.Value(), &none.Value(), &none.Value(), &none.Value());
}

dom::ScriptObjectPtr ComDialogHost::CreateScriptObject(const std::u16string& progId)
{
    return mshtml::CreateScriptObject(progId);
}

// The handler holds the COM object that carries the dialog, so the dialog lives as long as the
// handler; this host does not, so each call gets a host of its own.
dom::ScriptObjectPtr ComDialogHost::CreateEventHandler(EventAction action)
{
    DictionaryDialog* const dialog = &m_dialog;
    return mshtml::MakePageEventHandler(m_dialog.Owner(), [dialog, action = std::move(action)] {
        ComDialogHost host(*dialog);
        action(host);
    });
}

}  // namespace dialogserver
