// The display procedure against a recording browser that stands in for Internet Explorer, and
// once against Wine's real Internet Explorer and a local web server.

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/LocalHttpServer.h"
#include "tests/wine/ComTestSupport_win32.h"
#include "tests/wine/FakeBrowser_win32.h"
#include "tests/wine/TestTarget_win32.h"
#include "tests/wine/ThrownMessage_win32.h"
#include "translate/target/BrowserAutomation_win32.h"
#include "translate/target/ShowRequest.h"
#include "translate/target/WEBBrowserTarget_win32.h"

using namespace translate::target;
using Strings = std::vector<std::string>;
using wintest::ThrownMessage;

namespace {
const std::u16string kUrl = u"http://dictionary.test/translate?text=cat";
const std::string kNavigated = "Navigate http://dictionary.test/translate?text=cat flags=0 frame=0 post=0 headers=0";

DisplaySettings Display(const std::u16string& type, std::int32_t width, std::int32_t height)
{
    DisplaySettings display;
    display.displayType = type;
    display.width = width;
    display.height = height;
    return display;
}

// Every Internet Explorer this process creates is a recording browser.
class ShowRequestTest : public wintest::ComTest {
protected:
    void SetUp() override
    {
        ComTest::SetUp();
        m_browserClass = std::make_unique<wintest::RegisteredClass>(InternetExplorerClassId(),
                                                                    wintest::MakeFakeBrowserClass(script).Get());
    }
    void TearDown() override
    {
        m_browserClass.reset();
        ComTest::TearDown();
    }

    std::shared_ptr<wintest::BrowserScript> script = std::make_shared<wintest::BrowserScript>();
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);

private:
    std::unique_ptr<wintest::RegisteredClass> m_browserClass;
};
}  // namespace

TEST_F(ShowRequestTest, Popup_PlacesWindowInScreenCentreHidesBarsAndShowsItAfterNavigating)
{
    wintest::HiddenWindow window;
    script->window = window.Get();
    WEBBrowserTarget target;

    ShowRequest(kUrl, u"en-ru", target, Display(u"popup", 600, 401));

    EXPECT_EQ(script->created, 1);
    EXPECT_EQ(script->calls, (Strings{"Left=" + std::to_string(screenWidth / 2 - 300), "Width=600",
                                      "Top=" + std::to_string(screenHeight / 2 - 200), "Height=401", "AddressBar=0",
                                      "MenuBar=0", "StatusBar=0", "ToolBar=0", kNavigated, "Visible=-1"}));
    EXPECT_FALSE(window.ClosesSoon()) << "a shown window belongs to the user";
}

TEST_F(ShowRequestTest, Popup_SizeNotSetKeepsDefaultPlaceAndSize)
{
    WEBBrowserTarget target;
    ShowRequest(kUrl, u"en-ru", target, Display(u"popup", 600, 0));
    ShowRequest(kUrl, u"en-ru", target, Display(u"popup", -1, 300));

    EXPECT_EQ(script->calls, (Strings{"Left=" + std::to_string(screenWidth / 2 - 300), "Width=600", "AddressBar=0",
                                      "MenuBar=0", "StatusBar=0", "ToolBar=0", kNavigated, "Visible=-1",
                                      "Top=" + std::to_string(screenHeight / 2 - 150), "Height=300", "AddressBar=0",
                                      "MenuBar=0", "StatusBar=0", "ToolBar=0", kNavigated, "Visible=-1"}));
}

TEST_F(ShowRequestTest, Popup_FailedNavigationLeavesWindowHiddenAndClosesIt)
{
    wintest::HiddenWindow window;
    script->window = window.Get();
    script->navigateResult = E_FAIL;
    WEBBrowserTarget target;

    ShowRequest(kUrl, u"en-ru", target, Display(u"popup", 0, 0));

    EXPECT_EQ(script->calls, (Strings{"AddressBar=0", "MenuBar=0", "StatusBar=0", "ToolBar=0", kNavigated}));
    EXPECT_TRUE(window.ClosesSoon());
}

TEST_F(ShowRequestTest, Tab_NavigatesLentBrowserOrElseNewWindowAndShowsIt)
{
    auto lent = wintest::MakeFakeBrowser(script);
    {
        WEBBrowserTarget target(lent.Get());
        ShowRequest(kUrl, u"en-ru", target, Display(u"tab", 600, 400));
    }
    EXPECT_EQ(script->created, 0);
    // Not the browser process: no tab is asked for, and the size is not the tab's business.
    EXPECT_EQ(script->calls, (Strings{kNavigated, "Visible=-1"}));

    script->calls.clear();
    WEBBrowserTarget empty;
    ShowRequest(kUrl, u"en-ru", empty, Display(u"tab", 0, 0));
    EXPECT_EQ(script->created, 1);
    EXPECT_EQ(script->calls, (Strings{kNavigated, "Visible=-1"}));
}

TEST_F(ShowRequestTest, Embedded_CentresTargetOnlyWithBothSizesAndNavigatesItsBrowser)
{
    auto browser = wintest::MakeFakeBrowser(script);
    wintest::TestTarget target(true, browser.Get());

    ShowRequest(kUrl, u"en-ru", target, Display(u"popup", 600, 400));
    ShowRequest(kUrl, u"en-ru", target, Display(u"tab", 600, 0));
    ShowRequest(kUrl, u"en-ru", target, Display(u"popup", 0, 400));

    using Bounds = std::array<std::int32_t, 4>;
    EXPECT_EQ(target.bounds, (std::vector<Bounds>{{screenWidth / 2 - 300, screenHeight / 2 - 200, 600, 400}}));
    EXPECT_EQ(script->calls, (Strings{kNavigated, kNavigated, kNavigated})) << "the target's window is already shown";
    EXPECT_EQ(script->created, 0);
}

TEST_F(ShowRequestTest, Embedded_MissingBrowserOrFailedNavigationThrows)
{
    wintest::TestTarget withoutBrowser(true, nullptr);
    EXPECT_EQ(ThrownMessage([&] { ShowRequest(kUrl, u"en-ru", withoutBrowser, Display(u"popup", 0, 0)); }),
              "Cannot get browser instance");

    script->navigateResult = E_FAIL;
    auto browser = wintest::MakeFakeBrowser(script);
    wintest::TestTarget target(true, browser.Get());
    EXPECT_EQ(ThrownMessage([&] { ShowRequest(kUrl, u"en-ru", target, Display(u"tab", 0, 0)); }), "Cannot navigate");
}

TEST_F(ShowRequestTest, InternetExplorerUnavailableShowsNothing)
{
    script->createResult = E_OUTOFMEMORY;
    WEBBrowserTarget target;
    EXPECT_NO_THROW(ShowRequest(kUrl, u"en-ru", target, Display(u"popup", 600, 400)));
    EXPECT_NO_THROW(ShowRequest(kUrl, u"en-ru", target, Display(u"tab", 0, 0)));
    EXPECT_EQ(script->created, 2);
    EXPECT_TRUE(script->calls.empty());
}

// Wine's Internet Explorer ignores window placement and the bar switches (E_NOTIMPL, and it shows
// no menu at all), so this checks what can be seen from outside: a new visible window, and the
// request at the server. The recording browser above checks the placement and the bars.
using InternetExplorerTest = wintest::ComTest;

TEST_F(InternetExplorerTest, Popup_RealInternetExplorerRequestsThePageInANewVisibleWindow)
{
    testsupport::HttpReply page;
    page.body = "<html><body>translation</body></html>";
    testsupport::LocalHttpServer server(page);
    ASSERT_TRUE(server.IsListening());
    const std::vector<HWND> before = wintest::VisibleBrowserFrames();

    WEBBrowserTarget target;
    ShowRequest(server.Url("/translate?text=popup"), u"en-ru", target, Display(u"popup", 600, 400));

    // Usually about 1.5 s; once in CI this first Internet Explorer of a fresh prefix sent nothing
    // within 20 s while every later one in the same run did.
    EXPECT_TRUE(server.WaitForGet("/translate?text=popup", std::chrono::seconds(60)));
    std::vector<HWND> opened;
    for (HWND frame : wintest::VisibleBrowserFrames()) {
        if (std::find(before.begin(), before.end(), frame) == before.end())
            opened.push_back(frame);
    }
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(wintest::CloseAndWait(opened[0]));
}
