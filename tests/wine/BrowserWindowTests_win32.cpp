// VocabraVISTAHelper.dll as the tray program uses it: loaded from beside the program, its
// CreateTarget export opening answer windows of this process. Under Wine the browser control
// sends its requests but renders nothing, so what a page would show is tested with stand-ins.
#include <windows.h>

#include <exdisp.h>
#include <exdispid.h>
#include <idispids.h>
#include <mshtmdid.h>
#include <mshtmhst.h>
#include <olectl.h>
#include <wrl/client.h>

#include <chrono>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "browserwindow/BrowserEmulation.h"
#include "browserwindow/DocumentTitle.h"
#include "browserwindow/ProcessHeap.h"
#include "foundation/config/Environment.h"
#include "foundation/win32api/ComValues_win32.h"
#include "foundation/win32api/Handles.h"
#include "foundation/win32api/WideChar_win32.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/wine/Adopt_win32.h"
#include "tests/wine/AnswerWindowLibrary_win32.h"
#include "tests/wine/ComTestSupport_win32.h"
#include "tests/wine/FakeBrowser_win32.h"
#include "tests/wine/RefCounted_win32.h"
#include "tests/wine/TestDialogClasses_win32.h"
#include "tests/wine/TestTarget_win32.h"
#include "translate/target/DialogServerCall_win32.h"
#include "translate/target/EmbeddedBrowserLibrary.h"
#include "translate/target/ShowRequest.h"

using Microsoft::WRL::ComPtr;
using translate::target::Target;

namespace {
using namespace std::chrono_literals;

using wintest::Closings;

class BrowserWindowTest : public wintest::AnswerWindowTest {};

TEST_F(BrowserWindowTest, AShownWindowWhoseBrowserSendsItsRequest)
{
    testsupport::LocalHttpServer server(testsupport::HttpReply{});
    ASSERT_TRUE(server.IsListening());
    Target* target = Open();
    ASSERT_NE(target, nullptr);
    EXPECT_TRUE(target->IsEmbedded());
    const HWND window = wintest::WindowOf(target);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(::IsWindowVisible(window));
    wchar_t caption[64] = {};
    ::GetWindowTextW(window, caption, 64);
    EXPECT_STREQ(caption, L"Vocabra");
    // The control fills the client area.
    HWND control = ::GetWindow(window, GW_CHILD);
    RECT client{};
    RECT filled{};
    ::GetClientRect(window, &client);
    ASSERT_NE(control, nullptr);
    ::GetClientRect(control, &filled);
    EXPECT_EQ(filled.right - filled.left, client.right - client.left);
    EXPECT_EQ(filled.bottom - filled.top, client.bottom - client.top);

    const Win32::API::Bstr url(server.Url("/lookup/en-ru?text=word"));
    Win32::API::Variant empty;
    ASSERT_HRESULT_SUCCEEDED(
        target->GetBrowser()->Navigate(url.Get(), &empty.Value(), &empty.Value(), &empty.Value(), &empty.Value()));
    EXPECT_TRUE(wintest::PumpUntil([&] { return server.WaitForGet("/lookup/en-ru?text=word", 0ms); }, 15s));
    target->Dispose();
    EXPECT_FALSE(::IsWindow(window));
}

// The display procedure sizes a service's answer for the monitor the window is on: scaled from
// 96-DPI units to the DPI the system reports, never larger than the monitor's work area, centred.
TEST_F(BrowserWindowTest, ServiceSizeFitsTheWindowsMonitor)
{
    Target* target = Open();
    ASSERT_NE(target, nullptr);
    const HWND window = wintest::WindowOf(target);
    ASSERT_NE(window, nullptr);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor));
    const RECT work = monitor.rcWork;
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);

    const struct {
        std::int32_t width, height;
        LONG expectedWidth, expectedHeight;
    } cases[] = {
        {300, 200, ::MulDiv(300, dpi, 96), ::MulDiv(200, dpi, 96)},
        {20000, 15000, work.right - work.left, work.bottom - work.top},
    };
    for (const auto& c : cases) {
        translate::target::DisplaySettings display;
        display.displayType = u"popup";
        display.width = c.width;
        display.height = c.height;
        translate::target::ShowRequest(u"about:blank", u"en-ru", *target, display);

        RECT bounds{};
        ::GetWindowRect(window, &bounds);
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " at " << dpi << " DPI");
        EXPECT_EQ(bounds.right - bounds.left, c.expectedWidth);
        EXPECT_EQ(bounds.bottom - bounds.top, c.expectedHeight);
        EXPECT_LE(std::abs((bounds.left - work.left) - (work.right - bounds.right)), 1);
        EXPECT_LE(std::abs((bounds.top - work.top) - (work.bottom - bounds.bottom)), 1);
    }
    target->Dispose();
}

TEST_F(BrowserWindowTest, BoundsAndIconsAreTheTargetsToSet)
{
    Target* target = Open();
    ASSERT_NE(target, nullptr);
    const HWND window = wintest::WindowOf(target);
    ASSERT_NE(window, nullptr);

    target->SetBounds(340, 312, 600, 400);
    RECT bounds{};
    ::GetWindowRect(window, &bounds);
    EXPECT_EQ(bounds.left, 340);
    EXPECT_EQ(bounds.top, 312);
    EXPECT_EQ(bounds.right - bounds.left, 600);
    EXPECT_EQ(bounds.bottom - bounds.top, 400);
    // The control follows the window.
    RECT client{};
    RECT filled{};
    ::GetClientRect(window, &client);
    ::GetClientRect(::GetWindow(window, GW_CHILD), &filled);
    EXPECT_EQ(filled.right, client.right);
    EXPECT_EQ(filled.bottom, client.bottom);

    const HICON icon = ::LoadIconW(nullptr, IDI_INFORMATION);
    target->SetIcon(icon);
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, ICON_SMALL, 0)), icon);
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, ICON_BIG, 0)), icon);
    target->Dispose();
}

// The user closes the window (close box, system menu, Alt+F4 all send WM_CLOSE), with or without
// a page in it: the owner hears of it once.
TEST_F(BrowserWindowTest, ClosingByTheUserIsReportedOnce)
{
    for (bool navigated : {false, true}) {
        Closings closings;
        Target* target = Open(&closings);
        ASSERT_NE(target, nullptr);
        const HWND window = wintest::WindowOf(target);
        if (navigated) {
            const Win32::API::Bstr url(u"about:blank");
            Win32::API::Variant empty;
            target->GetBrowser()->Navigate(url.Get(), &empty.Value(), &empty.Value(), &empty.Value(), &empty.Value());
            wintest::PumpUntil([] { return false; }, 200ms);
        }
        ::SendMessageW(window, WM_CLOSE, 0, 0);
        ::SendMessageW(window, WM_CLOSE, 0, 0);
        ASSERT_EQ(closings.targets, std::vector<Target*>{target}) << (navigated ? "navigated" : "empty");
        EXPECT_FALSE(::IsWindowVisible(window));
        target->Dispose();
        EXPECT_EQ(closings.targets.size(), 1u);
        EXPECT_FALSE(::IsWindow(window));
    }
}

TEST_F(BrowserWindowTest, TheOwnerMayDisposeInTheCallback)
{
    Closings closings;
    closings.disposeInCallback = true;
    Target* target = Open(&closings);
    ASSERT_NE(target, nullptr);
    const HWND window = wintest::WindowOf(target);
    ::SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(closings.targets.size(), 1u);
    EXPECT_FALSE(::IsWindow(window));
}

TEST_F(BrowserWindowTest, DisposeOfAnOpenWindowCallsNoCallback)
{
    Closings closings;
    Target* target = Open(&closings);
    ASSERT_NE(target, nullptr);
    const HWND window = wintest::WindowOf(target);
    target->Dispose();
    EXPECT_FALSE(::IsWindow(window));
    wintest::PumpUntil([] { return false; }, 100ms);
    EXPECT_TRUE(closings.targets.empty());
}

TEST_F(BrowserWindowTest, TwoWindowsAreIndependent)
{
    Closings closings;
    Target* first = Open(&closings);
    Target* second = Open(&closings);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    const HWND firstWindow = wintest::WindowOf(first);
    const HWND secondWindow = wintest::WindowOf(second);
    EXPECT_NE(firstWindow, secondWindow);
    EXPECT_NE(first->GetBrowser(), second->GetBrowser());

    ::SendMessageW(firstWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(closings.targets, std::vector<Target*>{first});
    first->Dispose();
    EXPECT_FALSE(::IsWindow(firstWindow));
    EXPECT_TRUE(::IsWindowVisible(secondWindow));
    second->SetBounds(100, 100, 300, 200);
    ::SendMessageW(secondWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(closings.targets, (std::vector<Target*>{first, second}));
    second->Dispose();
}

// Disposal tells the dialog server's object to let go of the window's browser first: through its
// vtable interface where it has one, else through IDispatch by name.
TEST_F(BrowserWindowTest, DisposeDetachesTheDialogHandler)
{
    const struct {
        CLSID clsid;
        const char* detached;
    } cases[] = {{testdialogs::kVtableDialogClsid, "vtable Detach"},
                 {testdialogs::kDispatchDialogClsid, "dispatch Detach"}};
    for (const auto& c : cases) {
        testdialogs::ClearCalls();
        ComPtr<IDispatch> handler;
        ASSERT_HRESULT_SUCCEEDED(
            testdialogs::MakeClassObject(c.clsid)->CreateInstance(nullptr, IID_PPV_ARGS(handler.GetAddressOf())));
        Target* target = Open();
        ASSERT_NE(target, nullptr);
        target->SetDialogHandler(handler.Get());
        handler.Reset();  // the target holds its own reference
        const long alive = testdialogs::LiveObjects();
        target->Dispose();
        EXPECT_EQ(testdialogs::ReadCalls(), std::vector<std::string>{c.detached});
        EXPECT_EQ(testdialogs::LiveObjects(), alive - 1) << "the handler was not released";
    }
    testdialogs::ClearCalls();
}

// A dialog server that does not return from Detach: disposing of its window waits no longer than
// the limit, answers this thread's messages meanwhile (the keyboard hook's among them), and ends
// at once when the program quits.
TEST_F(BrowserWindowTest, ADialogServerThatHangsInDetachIsGivenUp)
{
    ASSERT_TRUE(wintest::RegisterTestDialogServer());
    const auto showStuck = [this] {
        Target* target = Open();
        translate::target::ShowRequest(u"http://dictionary.test/stuck", u"en-ru", *target,
                                       wintest::DialogDisplay(testdialogs::kDispatchDialogClsid));
        return target;
    };
    testdialogs::ClearCalls();
    Target* target = showStuck();
    wintest::MessageDuringWait message;
    auto start = std::chrono::steady_clock::now();
    target->Dispose();
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(message.Answered());
    EXPECT_GE(waited, translate::target::kDialogCallLimit - 500ms);
    EXPECT_LT(waited, translate::target::kDialogCallLimit + 3s);
    const std::vector<std::string> calls = testdialogs::ReadCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "dispatch Detach");

    // At Exit the quit message is on its way: the wait ends at once.
    ASSERT_TRUE(wintest::PumpUntil([] { return !wintest::TestDialogServerRunning(); }, 40s));
    target = showStuck();
    ::PostQuitMessage(0);
    start = std::chrono::steady_clock::now();
    target->Dispose();
    // Well within the limit; Wine alone may take 2 s to unmap the window where no window manager runs.
    EXPECT_LT(std::chrono::steady_clock::now() - start, translate::target::kDialogCallLimit / 2);
    MSG quit{};
    EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit message was swallowed";
    EXPECT_TRUE(wintest::PumpUntil([] { return !wintest::TestDialogServerRunning(); }, 40s));
    testdialogs::ClearCalls();
}

TEST_F(BrowserWindowTest, TheDialogHandlerIsHeldOnce)
{
    const ComPtr<wintest::NamelessDispatch> first = wintest::Adopt(new wintest::NamelessDispatch());
    const ComPtr<wintest::NamelessDispatch> second = wintest::Adopt(new wintest::NamelessDispatch());
    Target* target = Open();
    ASSERT_NE(target, nullptr);

    target->SetDialogHandler(first.Get());
    EXPECT_EQ(first->References(), 2u);
    target->SetDialogHandler(first.Get());
    EXPECT_EQ(first->References(), 2u);
    target->SetDialogHandler(second.Get());
    EXPECT_EQ(first->References(), 1u);
    EXPECT_EQ(second->References(), 2u);
    target->SetDialogHandler(nullptr);
    EXPECT_EQ(second->References(), 1u);
    target->SetDialogHandler(second.Get());
    target->Dispose();  // a handler that knows no "Detach" is released all the same
    EXPECT_EQ(second->References(), 1u);
}

// The control asks its site's IDispatch for ambient properties: the host knows none of them, and
// says so, so that the control keeps its defaults; the one event it handles is still taken.
TEST_F(BrowserWindowTest, TheSiteAnswersOnlyTheEventItHandles)
{
    Target* target = Open();
    ASSERT_NE(target, nullptr);
    const ComPtr<IDispatch> ambient = wintest::SiteAs<IDispatch>(target);
    ASSERT_NE(ambient, nullptr);

    const DISPID properties[] = {DISPID_AMBIENT_DLCONTROL, DISPID_AMBIENT_USERMODE, DISPID_AMBIENT_USERAGENT,
                                 DISPID_AMBIENT_OFFLINEIFNOTCONNECTED, 12345};
    for (const DISPID property : properties) {
        DISPPARAMS none{};
        Win32::API::Variant value;
        EXPECT_EQ(ambient->Invoke(property, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &value.Value(),
                                  nullptr, nullptr),
                  DISP_E_MEMBERNOTFOUND)
            << "DISPID " << property;
        EXPECT_EQ(value.Value().vt, VT_EMPTY);
    }

    // DocumentComplete(pDisp, URL), the arguments last to first, with the window's own browser.
    const Win32::API::Variant url(std::u16string_view(u"about:blank"));
    const Win32::API::Variant browser(static_cast<IDispatch*>(target->GetBrowser()));
    VARIANT arguments[] = {url.Value(), browser.Value()};
    DISPPARAMS event{arguments, nullptr, 2, 0};
    EXPECT_EQ(ambient->Invoke(DISPID_DOCUMENTCOMPLETE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &event, nullptr,
                              nullptr, nullptr),
              S_OK);
    target->Dispose();
}

// A dictionary's answer longer than the window can be scrolled to its end; a page that wants no
// scroll bars says so itself (overflow: hidden), as the information pages do.
TEST_F(BrowserWindowTest, TheHostLeavesScrollingToThePage)
{
    Target* target = Open();
    ASSERT_NE(target, nullptr);
    const ComPtr<IDocHostUIHandler> handler = wintest::SiteAs<IDocHostUIHandler>(target);
    ASSERT_NE(handler, nullptr);
    DOCHOSTUIINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_HRESULT_SUCCEEDED(handler->GetHostInfo(&info));
    EXPECT_EQ(info.dwFlags & DOCHOSTUIFLAG_SCROLL_NO, 0u);
    EXPECT_NE(info.dwFlags & DOCHOSTUIFLAG_NO3DBORDER, 0u);
    target->Dispose();
}

// The first window asks for the newest document mode for this program, unless a value is there.
TEST_F(BrowserWindowTest, TheNewestDocumentModeIsAskedForOnce)
{
    Win32::API::RegKey feature;
    ASSERT_TRUE(feature.Create(Win32::API::CurrentUserKey(),
                               u"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\"
                               u"FEATURE_BROWSER_EMULATION"));
    Target* target = Open();
    ASSERT_NE(target, nullptr);
    target->Dispose();
    std::uint32_t mode = 0;
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::u16string program = Win32::API::FromWide(std::wcsrchr(path, L'\\') + 1);
    EXPECT_TRUE(feature.GetDWORD(program.c_str(), mode));
    EXPECT_EQ(mode, browserwindow::kNewestDocumentMode);

    // A value already there, whatever it holds, is the user's choice.
    const std::u16string other = u"another-program.exe";
    feature.SetString(other.c_str(), u"8000");
    EXPECT_TRUE(browserwindow::RequestNewestDocumentMode(Win32::API::ToWide(other)));
    std::u16string kept;
    EXPECT_TRUE(feature.GetString(other.c_str(), kept));
    EXPECT_EQ(kept, u"8000");
    feature.DeleteValue(other.c_str());
    EXPECT_TRUE(browserwindow::RequestNewestDocumentMode(Win32::API::ToWide(other)));
    EXPECT_TRUE(feature.GetDWORD(other.c_str(), mode));
    EXPECT_EQ(mode, browserwindow::kNewestDocumentMode);
    feature.DeleteValue(other.c_str());
}

// A document object with a title, as a page's document answers for it by name.
class TitledDocument final : public wintest::NamelessDispatch {
public:
    explicit TitledDocument(const wchar_t* title) : m_title(title) {}

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (count != 1 || ::lstrcmpiW(names[0], L"title") != 0)
            return DISP_E_UNKNOWNNAME;
        ids[0] = kTitle;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE
    Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) override
    {
        if (id != kTitle || !(flags & DISPATCH_PROPERTYGET) || !result)
            return DISP_E_MEMBERNOTFOUND;
        result->vt = VT_BSTR;
        result->bstrVal = ::SysAllocString(m_title);
        return S_OK;
    }

private:
    static constexpr DISPID kTitle = 7;
    const wchar_t* m_title;
};

TEST_F(BrowserWindowTest, TheTopLevelDocumentsTitleBecomesTheCaption)
{
    auto script = std::make_shared<wintest::BrowserScript>();
    const ComPtr<IWebBrowser2> page = wintest::MakeFakeBrowser(script);
    const ComPtr<IWebBrowser2> frame = wintest::MakeFakeBrowser(script);
    wintest::HiddenWindow window;
    ::SetWindowTextW(window.Get(), L"Vocabra");
    const auto caption = [&] {
        wchar_t text[64] = {};
        ::GetWindowTextW(window.Get(), text, 64);
        return std::wstring(text);
    };

    script->document = wintest::Adopt<IDispatch>(new TitledDocument(L"Lingvo: word"));
    browserwindow::ShowDocumentTitle(window.Get(), frame.Get(), page.Get());  // a frame's document
    EXPECT_EQ(caption(), L"Vocabra");
    browserwindow::ShowDocumentTitle(window.Get(), page.Get(), page.Get());
    EXPECT_EQ(caption(), L"Lingvo: word");

    script->document = wintest::Adopt<IDispatch>(new TitledDocument(L""));
    browserwindow::ShowDocumentTitle(window.Get(), page.Get(), page.Get());  // a page without a title
    EXPECT_EQ(caption(), L"Lingvo: word");
}

// What loading the library does to the process's heap. Wine takes the setting but reports the
// heap's kind as 0 afterwards, so the call itself is what can be checked here.
TEST(BrowserWindowLibrary, TheLowFragmentationHeapIsAskedForRightly)
{
    EXPECT_TRUE(browserwindow::UseLowFragmentationHeap());
}

}  // namespace
