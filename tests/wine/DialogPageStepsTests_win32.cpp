// The dialog objects' page steps as the browser's events drive them, in this process: a fake
// browser with an event connection stands in for Internet Explorer, and the program runs from a
// copy of its pages and locale in a folder with a space and a Cyrillic user name in its path.
#include <windows.h>

#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "VocabraHelper.h"
#include "dialogserver/dialogs/mshtml/ComScriptObject_win32.h"
#include "dialogserver/server/ComDialogHost_win32.h"
#include "dialogserver/server/DialogClasses_win32.h"
#include "dialogserver/server/DialogObject_win32.h"
#include "dialogserver/server/DictionaryDialog_win32.h"
#include "foundation/config/Environment.h"
#include "foundation/text/Utf.h"
#include "foundation/win32api/ComValues_win32.h"
#include "foundation/win32api/WideChar_win32.h"
#include "tests/wine/Adopt_win32.h"
#include "tests/wine/ComTestSupport_win32.h"
#include "tests/wine/FakeBrowser_win32.h"
#include "tests/wine/RefCounted_win32.h"

using Microsoft::WRL::ComPtr;

namespace {
using dialogserver::DialogClass;
using dialogserver::DialogFamily;

const DialogClass& Lingvo()
{
    const auto& classes = dialogserver::DialogClasses();
    return *std::find_if(classes.begin(), classes.end(),
                         [](const DialogClass& c) { return c.family == DialogFamily::Lingvo; });
}

// The browser's DWebBrowserEvents2 connection point: keeps the one sink the dialog connects.
class FakeConnectionPoint final : public wintest::TRefCounted<IConnectionPoint> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        *object = nullptr;
        if (riid != IID_IUnknown && riid != IID_IConnectionPoint)
            return E_NOINTERFACE;
        *object = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override { return *iid = DIID_DWebBrowserEvents2, S_OK; }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override
    {
        if (m_sink)
            return CONNECT_E_ADVISELIMIT;
        m_sink = sink;
        *cookie = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override
    {
        if (cookie != 1 || !m_sink)
            return CONNECT_E_NOCONNECTION;
        m_sink.Reset();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    IUnknown* Sink() const { return m_sink.Get(); }

private:
    ComPtr<IUnknown> m_sink;
};

class FakeEventSource final : public wintest::TRefCounted<IConnectionPointContainer> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        *object = nullptr;
        if (riid != IID_IUnknown && riid != IID_IConnectionPointContainer)
            return E_NOINTERFACE;
        *object = static_cast<IConnectionPointContainer*>(this);
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override
    {
        *point = nullptr;
        return riid == DIID_DWebBrowserEvents2 ? m_point.CopyTo(point) : CONNECT_E_NOCONNECTION;
    }

    IUnknown* Sink() const { return m_point->Sink(); }

private:
    ComPtr<FakeConnectionPoint> m_point = wintest::Adopt(new FakeConnectionPoint());
};

// The program folder of an installation for a user whose name is Cyrillic.
const std::u16string kProgramFolder =
    u"C:\\Users\\\u041f\u043e\u043b\u044c\u0437\u043e\u0432\u0430\u0442\u0435\u043b\u044c\\AppData\\Local\\"
    u"Programs\\Vocabra Test\\";
constexpr char16_t kRequest[] = u"http://dictionary.test/translate?text=cat";

class InstalledDialogTest : public wintest::ComTest {
protected:
    static std::filesystem::path Folder() { return std::filesystem::path(Win32::API::ToWide(kProgramFolder)); }

    // The pages and locale folders that the build puts beside this program, as an installation has them.
    static void SetUpTestSuite()
    {
        const std::filesystem::path built(Win32::API::ToWide(GetModuleDirectory()));
        std::filesystem::create_directories(Folder());
        for (const char* shipped : {"pages", "locale"})
            std::filesystem::copy(
                built / shipped, Folder() / shipped,
                std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    }
    static void TearDownTestSuite()
    {
        std::error_code ignored;
        std::filesystem::remove_all(Folder(), ignored);
    }
    void SetUp() override
    {
        ComTest::SetUp();
        ASSERT_TRUE(std::filesystem::exists(Folder() / "pages" / "en" / "lingvo.html"));
        SetModuleDirectoryOverride(kProgramFolder);
        const UiLanguage english = UiLanguage::English;
        SetUiLanguageOverride(&english);
    }
    void TearDown() override
    {
        SetModuleDirectoryOverride(u"");
        SetUiLanguageOverride(nullptr);
        ComTest::TearDown();
    }
};

// The browser's events reach the object's dual interface; the four classes share its layout.
ComPtr<IBabylonDictionaryDialog> DualOf(IUnknown* sink)
{
    ComPtr<IBabylonDictionaryDialog> dual;
    if (sink)
        sink->QueryInterface(Lingvo().dualInterface, reinterpret_cast<void**>(dual.GetAddressOf()));
    return dual;
}

// A Lingvo dialog showing its information page in a fake browser; the dialog object is held by
// the browser's event connection alone, as once the tray program has let it go.
struct ShownDialog {
    std::shared_ptr<wintest::BrowserScript> script = std::make_shared<wintest::BrowserScript>();
    ComPtr<FakeEventSource> events = wintest::Adopt(new FakeEventSource());
    ComPtr<IWebBrowser2> browser;
    HRESULT shown = E_FAIL;

    ShownDialog()
    {
        script->events = events;
        browser = wintest::MakeFakeBrowser(script);
        ComPtr<IDictionaryDialog> dialog;
        if (FAILED(dialogserver::DialogObject::Create(Lingvo(), nullptr, IID_IDictionaryDialog,
                                                      reinterpret_cast<void**>(dialog.GetAddressOf()))))
            return;
        const Win32::API::Bstr url{std::u16string_view(kRequest)};
        const Win32::API::Variant forced(static_cast<IDispatch*>(browser.Get()));
        shown = dialog->ShowDictionaryDialog(url.Get(), nullptr, forced.Value());
    }
    ~ShownDialog()
    {
        if (ComPtr<IBabylonDictionaryDialog> dual = DualOf(events->Sink()))
            dual->Detach();
    }

    // As the browser reports a finished document.
    void DocumentComplete(const std::u16string& address)
    {
        Win32::API::Variant url{std::u16string_view(address)};
        if (ComPtr<IBabylonDictionaryDialog> dual = DualOf(events->Sink()))
            dual->DocumentComplete(browser.Get(), &url.Value());
    }
};

TEST_F(InstalledDialogTest, TheInformationPageIsKnownHoweverTheBrowserWritesItsAddress)
{
    const std::u16string user = u"\u041f\u043e\u043b\u044c\u0437\u043e\u0432\u0430\u0442\u0435\u043b\u044c";
    const std::u16string userEscaped = u"%D0%9F%D0%BE%D0%BB%D1%8C%D0%B7%D0%BE%D0%B2%D0%B0%D1%82%D0%B5%D0%BB%D1%8C";
    struct Case {
        std::u16string reported;
        bool informationPage;
    } const cases[] = {
        {u"file:///C:/Users/" + userEscaped + u"/AppData/Local/Programs/Vocabra%20Test/pages/en/lingvo.html", true},
        {u"file:///C:/Users/" + user + u"/AppData/Local/Programs/Vocabra%20Test/pages/en/lingvo.html", true},
        {u"file://C:\\Users\\" + user + u"\\AppData\\Local\\Programs\\Vocabra Test\\pages\\en\\lingvo.html", true},
        {u"file:///c:/users/" + userEscaped + u"/appdata/local/programs/vocabra%20test/pages/en/LINGVO.html", true},
        {u"file:///C:/Users/" + userEscaped + u"/AppData/Local/Programs/Vocabra%20Test/pages/en/multilex.html", false},
    };
    const std::string toRequest = "Navigate " + text::Utf16ToUtf8(kRequest) + " ";
    for (const Case& c : cases) {
        SCOPED_TRACE(text::Utf16ToUtf8(c.reported));
        ShownDialog dialog;
        ASSERT_HRESULT_SUCCEEDED(dialog.shown);
        ASSERT_NE(dialog.events->Sink(), nullptr);
        ASSERT_FALSE(dialog.script->calls.empty());
        const std::size_t navigated = dialog.script->calls.size();

        dialog.DocumentComplete(c.reported);

        // Lingvo's information-page step sends the window on to the request address.
        const bool sentOn =
            dialog.script->calls.size() > navigated && dialog.script->calls[navigated].rfind(toRequest, 0) == 0;
        EXPECT_EQ(sentOn, c.informationPage);
    }
}

// A COM object carrying a dialog, as the server's dialog objects do.
class DialogCarrier final : public wintest::TRefCounted<IUnknown> {
public:
    explicit DialogCarrier(bool& destroyed) : dialog(Lingvo(), this), m_destroyed(destroyed) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        *object = nullptr;
        if (riid != IID_IUnknown)
            return E_NOINTERFACE;
        *object = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }

    dialogserver::DictionaryDialog dialog;

private:
    ~DialogCarrier() override { m_destroyed = true; }
    bool& m_destroyed;
};

// A page keeps its unload handler long after the step that installed it has returned; the
// handler then runs on the dialog it keeps alive, through a host of its own.
TEST_F(InstalledDialogTest, PageEventHandler_OutlivesTheHostOfTheStepThatMadeIt)
{
    bool destroyed = false;
    ComPtr<DialogCarrier> carrier = wintest::Adopt(new DialogCarrier(destroyed));
    const std::u16string informationPage = carrier->dialog.InformationPageUrl();
    ASSERT_FALSE(informationPage.empty());
    std::vector<std::u16string> seen;
    auto stepHost = std::make_unique<dialogserver::ComDialogHost>(carrier->dialog);
    dialogserver::dom::ScriptObjectPtr handler = stepHost->CreateEventHandler(
        [&seen](dialogserver::dialogs::DialogHost& host) { seen.push_back(host.InformationPageUrl()); });
    stepHost.reset();
    carrier.Reset();  // the page's handler holds the dialog now
    IDispatch* const dispatch = dialogserver::mshtml::DispatchOf(handler.get());
    ASSERT_NE(dispatch, nullptr);
    EXPECT_FALSE(destroyed);

    for (int unload = 0; unload < 2; ++unload)
        EXPECT_EQ(dispatch->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, nullptr, nullptr,
                                   nullptr, nullptr),
                  S_OK);

    EXPECT_EQ(seen, std::vector<std::u16string>(2, informationPage));
    handler.reset();
    EXPECT_TRUE(destroyed);
}

}  // namespace
