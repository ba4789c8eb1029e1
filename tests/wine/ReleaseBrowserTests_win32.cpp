// Giving up browser references: a hidden window is closed with the last reference, never earlier
// and never when shown; and the WEBBrowserTarget's own operations.

#include <memory>
#include <string>
#include <vector>

#include "tests/wine/ComTestSupport_win32.h"
#include "tests/wine/FakeBrowser_win32.h"
#include "translate/target/BrowserAutomation_win32.h"
#include "translate/target/WEBBrowserTarget_win32.h"

using Microsoft::WRL::ComPtr;
using translate::target::ReleaseBrowser;
using translate::target::WEBBrowserTarget;

namespace {
class ReleaseBrowserTest : public wintest::ComTest {
protected:
    std::shared_ptr<wintest::BrowserScript> script = std::make_shared<wintest::BrowserScript>();
    wintest::HiddenWindow window;

    ComPtr<IWebBrowser2> MakeBrowser()
    {
        script->window = window.Get();
        return wintest::MakeFakeBrowser(script);
    }
};
}  // namespace

TEST_F(ReleaseBrowserTest, HiddenWindowClosesWithLastReferenceOnly)
{
    ComPtr<IWebBrowser2> first = MakeBrowser();
    ComPtr<IWebBrowser2> second = first;

    ReleaseBrowser(first);
    EXPECT_EQ(first.Get(), nullptr);
    EXPECT_FALSE(window.ClosesSoon()) << "another reference is still held";

    ReleaseBrowser(second);
    EXPECT_EQ(second.Get(), nullptr);
    EXPECT_TRUE(window.ClosesSoon());
}

TEST_F(ReleaseBrowserTest, ShownWindowStaysOpen)
{
    ComPtr<IWebBrowser2> browser = MakeBrowser();
    browser->put_Visible(VARIANT_TRUE);
    ReleaseBrowser(browser);
    EXPECT_FALSE(window.ClosesSoon());

    ComPtr<IWebBrowser2> none;
    EXPECT_NO_FATAL_FAILURE(ReleaseBrowser(none));
}

TEST_F(ReleaseBrowserTest, WEBBrowserTargetLendsItsBrowserAndReleasesItAtTheEnd)
{
    ComPtr<IWebBrowser2> browser = MakeBrowser();
    {
        WEBBrowserTarget target(browser.Get());
        EXPECT_EQ(target.GetBrowser(), browser.Get());
        EXPECT_FALSE(target.IsEmbedded());
        target.SetBounds(1, 2, 3, 4);
        target.Dispose();
        browser.Reset();
        EXPECT_FALSE(window.ClosesSoon()) << "the target still holds the browser";
    }
    EXPECT_TRUE(window.ClosesSoon());
    EXPECT_EQ(script->calls, (std::vector<std::string>{"Left=1", "Top=2", "Width=3", "Height=4"}));

    WEBBrowserTarget empty;
    EXPECT_EQ(empty.GetBrowser(), nullptr);
    EXPECT_NO_FATAL_FAILURE(empty.SetBounds(1, 2, 3, 4));
}

TEST_F(ReleaseBrowserTest, WEBBrowserTargetSetsSmallAndBigIconOfBrowserWindow)
{
    ComPtr<IWebBrowser2> browser = MakeBrowser();
    WEBBrowserTarget target(browser.Get());
    const HICON icon = ::LoadIconW(nullptr, IDI_INFORMATION);

    target.SetIcon(icon);

    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(window.Get(), WM_GETICON, ICON_SMALL, 0)), icon);
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(window.Get(), WM_GETICON, ICON_BIG, 0)), icon);
}

// Wine's Internet Explorer also ends a hidden window itself when its last reference goes; on
// Windows only the posted SC_CLOSE does. A shown one stays open in both.
using InternetExplorerReleaseTest = wintest::ComTest;

TEST_F(InternetExplorerReleaseTest, RealBrowserHiddenWindowClosesShownWindowStays)
{
    ComPtr<IWebBrowser2> hidden;
    ASSERT_HRESULT_SUCCEEDED(wintest::CreateRealInternetExplorer(hidden));
    ComPtr<IWebBrowser2> shown;
    ASSERT_HRESULT_SUCCEEDED(wintest::CreateRealInternetExplorer(shown));
    SHANDLE_PTR hiddenHandle = 0;
    SHANDLE_PTR shownHandle = 0;
    ASSERT_HRESULT_SUCCEEDED(hidden->get_HWND(&hiddenHandle));
    ASSERT_HRESULT_SUCCEEDED(shown->get_HWND(&shownHandle));
    const HWND hiddenWindow = reinterpret_cast<HWND>(hiddenHandle);
    const HWND shownWindow = reinterpret_cast<HWND>(shownHandle);
    shown->put_Visible(VARIANT_TRUE);

    ReleaseBrowser(hidden);
    ReleaseBrowser(shown);

    EXPECT_TRUE(wintest::PumpUntil([&] { return !::IsWindow(hiddenWindow); }, std::chrono::seconds(10)));
    EXPECT_FALSE(wintest::PumpUntil([&] { return !::IsWindow(shownWindow); }, std::chrono::seconds(1)));
    EXPECT_TRUE(wintest::CloseAndWait(shownWindow));
}
