#include "dialogserver/server/DictionaryDialog_win32.h"

#include <shlwapi.h>

#include "dialogserver/server/InformationPage.h"
#include "dialogserver/server/ServerLocks_win32.h"
#include "dialogserver/server/ServiceSteps_win32.h"
#include "foundation/config/Environment.h"
#include "foundation/win32api/ComValues_win32.h"
#include "foundation/win32api/WideChar_win32.h"
#include "translate/target/AnswerMonitor_win32.h"
#include "translate/target/BrowserAutomation_win32.h"

using Microsoft::WRL::ComPtr;

namespace dialogserver {
namespace {
// The address the browser reports for the shipped page file, so that the page is recognised
// when it has loaded.
std::u16string FileAddress(const std::u16string& path)
{
    constexpr DWORD kLongestAddress = 2084;  // INTERNET_MAX_URL_LENGTH, whose header is WinINet's
    wchar_t address[kLongestAddress] = {};
    DWORD length = kLongestAddress;
    if (FAILED(::UrlCreateFromPathW(Win32::API::Wide(path), address, &length, 0)))
        return std::u16string();
    return Win32::API::FromWide(address, length);
}

std::u16string InformationPageAddress(unsigned stringId, const Settings& settings)
{
    const PageLocation page = LocateInformationPage(LoadResourceString(stringId),
                                                    settings.config.GetString(kPagesBaseKey), GetModuleDirectory());
    return page.isFile ? FileAddress(page.where) : page.where;
}
}  // namespace

DictionaryDialog::DictionaryDialog(const DialogClass& dialogClass, IUnknown* owner)
    : m_class(dialogClass), m_owner(owner)
{
    m_properties.Load(GetModuleDirectory() + LoadResourceString(IDS_LOCALE_FOLDER) + dialogClass.propertiesFile);
    m_infoPageUrl = InformationPageAddress(dialogClass.informationPage, m_settings);
    m_width = m_properties.GetInt(u"dictionary.window.width");
    m_height = m_properties.GetInt(u"dictionary.window.height");
    LockServer();
}

DictionaryDialog::~DictionaryDialog()
{
    translate::target::ReleaseBrowser(m_browser);
    UnlockServer();
}

HRESULT DictionaryDialog::OpenNewWindow()
{
    if (FAILED(translate::target::CreateInternetExplorer(m_browser)))
        return E_FAIL;
    // Internet Explorer under Wine refuses the placement (E_NOTIMPL); the calls stay for Windows.
    translate::target::PlaceBrowserWindow(m_browser.Get(), m_width, m_height);
    m_browser->put_AddressBar(VARIANT_FALSE);
    m_browser->put_MenuBar(VARIANT_FALSE);
    m_browser->put_StatusBar(VARIANT_FALSE);
    m_browser->put_ToolBar(0);
    return S_OK;
}

HRESULT DictionaryDialog::Show(BSTR url, const VARIANT& forceBrowser, IUnknown* sink)
{
    m_url = Win32::API::Bstr::Text(url);
    if (forceBrowser.vt == VT_DISPATCH && forceBrowser.pdispVal) {
        // The caller's window, with its size and bars as they are.
        if (FAILED(forceBrowser.pdispVal->QueryInterface(IID_PPV_ARGS(m_browser.ReleaseAndGetAddressOf()))))
            return E_FAIL;
    } else if (FAILED(OpenNewWindow())) {
        return E_FAIL;
    }

    ComPtr<IConnectionPointContainer> sources;
    ComPtr<IConnectionPoint> events;
    if (FAILED(m_browser.As(&sources)) ||
        FAILED(sources->FindConnectionPoint(DIID_DWebBrowserEvents2, events.GetAddressOf())) ||
        FAILED(events->Advise(sink, &m_cookie)))
        return E_FAIL;

    Win32::API::Bstr page(m_infoPageUrl);
    Win32::API::Variant none;
    if (FAILED(m_browser->Navigate(page.Get(), &none.Value(), &none.Value(), &none.Value(), &none.Value()))) {
        Detach();
        return E_FAIL;
    }
    m_browser->put_Visible(VARIANT_TRUE);
    SHANDLE_PTR window = 0;
    if (SUCCEEDED(m_browser->get_HWND(&window)) && ::IsWindow(reinterpret_cast<HWND>(window)))
        ::SetForegroundWindow(reinterpret_cast<HWND>(window));
    return S_OK;
}

void DictionaryDialog::Detach()
{
    if (!m_browser)
        return;
    if (m_cookie != 0) {
        ComPtr<IConnectionPointContainer> sources;
        ComPtr<IConnectionPoint> events;
        if (SUCCEEDED(m_browser.As(&sources)) &&
            SUCCEEDED(sources->FindConnectionPoint(DIID_DWebBrowserEvents2, events.GetAddressOf())))
            events->Unadvise(m_cookie);
        m_cookie = 0;
    }
    translate::target::ReleaseBrowser(m_browser);
}

void DictionaryDialog::OnDocumentComplete(IDispatch* page, const VARIANT* url)
{
    RunServiceStep(*this, page, url);
}

}  // namespace dialogserver
