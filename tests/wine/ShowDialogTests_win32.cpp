// The "dialog" display: the dialog class is reached through IDictionaryDialog when it has it and
// by name otherwise, with url, direction and browser in that order; in this process and in the
// test dialog server, which COM starts from its class registration.

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "foundation/config/Environment.h"
#include "foundation/process/ProcessSnapshot.h"
#include "foundation/win32api/Handles.h"
#include "tests/wine/ComTestSupport_win32.h"
#include "tests/wine/FakeBrowser_win32.h"
#include "tests/wine/TestDialogClasses_win32.h"
#include "tests/wine/TestTarget_win32.h"
#include "tests/wine/ThrownMessage_win32.h"
#include "translate/target/BrowserAutomation_win32.h"
#include "translate/target/ClassId_win32.h"
#include "translate/target/DialogServerCall_win32.h"
#include "translate/target/ShowRequest.h"
#include "translate/target/WEBBrowserTarget_win32.h"

using Microsoft::WRL::ComPtr;
using namespace translate::target;
using Strings = std::vector<std::string>;
using wintest::ThrownMessage;

namespace {
// The Cyrillic word checks that the address travels as UTF-16 and whole.
const std::u16string kUrl = u"http://dictionary.test/translate?text=\u043a\u043e\u0442";
const std::string kUrlUtf8 = "http://dictionary.test/translate?text=\xd0\xba\xd0\xbe\xd1\x82";

using wintest::DialogDisplay;

std::string WindowText(HWND window)
{
    char text[32];
    std::snprintf(text, sizeof text, "window:%llx",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

class ShowDialogTest : public wintest::ComTest {
protected:
    void SetUp() override
    {
        ComTest::SetUp();
        testdialogs::ClearCalls();
    }
};

// The classes of the test dialog server, registered by the server itself.
class DialogServerTest : public ShowDialogTest {
protected:
    static void SetUpTestSuite() { s_registered = wintest::RegisterTestDialogServer(); }
    void SetUp() override
    {
        ShowDialogTest::SetUp();
        ASSERT_TRUE(s_registered) << "the test dialog server could not register its classes";
    }

    static inline bool s_registered = false;
};

struct ClassCase {
    const char* name;
    CLSID clsid;
    const char* binding;  // how the call arrives when the class is in this process
};

void PrintTo(const ClassCase& value, std::ostream* out)
{
    *out << value.name;
}

class InProcessDialogTest : public ShowDialogTest, public testing::WithParamInterface<ClassCase> {};
}  // namespace

TEST_P(InProcessDialogTest, WithoutEmbeddedTargetGetsEmptyBrowser)
{
    wintest::RegisteredClass dialogClass(GetParam().clsid, testdialogs::MakeClassObject(GetParam().clsid).Get());
    WEBBrowserTarget target;

    ShowRequest(kUrl, u"en-ru", target, DialogDisplay(GetParam().clsid));

    EXPECT_EQ(testdialogs::ReadCalls(), (Strings{std::string(GetParam().binding) + " " + kUrlUtf8 + " en-ru empty"}));
}

TEST_P(InProcessDialogTest, EmbeddedTargetLendsItsBrowserAndKeepsTheDialog)
{
    wintest::RegisteredClass dialogClass(GetParam().clsid, testdialogs::MakeClassObject(GetParam().clsid).Get());
    wintest::HiddenWindow window;
    auto script = std::make_shared<wintest::BrowserScript>();
    script->window = window.Get();
    auto browser = wintest::MakeFakeBrowser(script);
    wintest::TestTarget target(true, browser.Get());

    ShowRequest(kUrl, u"de-ru", target, DialogDisplay(GetParam().clsid));

    EXPECT_EQ(testdialogs::ReadCalls(),
              (Strings{std::string(GetParam().binding) + " " + kUrlUtf8 + " de-ru " + WindowText(window.Get())}));
    EXPECT_NE(target.dialogHandler.Get(), nullptr);
    EXPECT_TRUE(script->calls.empty()) << "the dialog, not the procedure, drives the browser";
    EXPECT_EQ(target.bounds.size(), 1u);
}

TEST_P(InProcessDialogTest, RefusalThrows)
{
    wintest::RegisteredClass dialogClass(GetParam().clsid, testdialogs::MakeClassObject(GetParam().clsid).Get());
    WEBBrowserTarget target;
    EXPECT_EQ(ThrownMessage([&] {
                  ShowRequest(u"http://dictionary.test/refuse", u"en-ru", target, DialogDisplay(GetParam().clsid));
              }),
              "Cannot show dialog");
}

INSTANTIATE_TEST_SUITE_P(Binding,
                         InProcessDialogTest,
                         testing::Values(ClassCase{"VtableInterface", testdialogs::kVtableDialogClsid, "vtable"},
                                         ClassCase{"DispatchOnly", testdialogs::kDispatchDialogClsid, "dispatch"}),
                         [](const testing::TestParamInfo<ClassCase>& info) { return std::string(info.param.name); });

TEST_F(ShowDialogTest, UnregisteredClassCannotBeCreated)
{
    const CLSID unknown = {0x5EC1A6E0, 0x2F4B, 0x4D1C, {0x9A, 0x11, 0x3B, 0x7E, 0x60, 0x0D, 0x42, 0x99}};
    WEBBrowserTarget target;
    EXPECT_EQ(ThrownMessage([&] { ShowRequest(kUrl, u"en-ru", target, DialogDisplay(unknown)); }),
              "Cannot create dialog handler");
    EXPECT_TRUE(testdialogs::ReadCalls().empty());
}

// IDictionaryDialog has no proxy, so across processes both classes answer by name.
TEST_F(DialogServerTest, OtherProcessIsReachedByName)
{
    WEBBrowserTarget target;
    ShowRequest(kUrl, u"en-ru", target, DialogDisplay(testdialogs::kVtableDialogClsid));
    ShowRequest(kUrl, u"ru-en", target, DialogDisplay(testdialogs::kDispatchDialogClsid));
    EXPECT_EQ(testdialogs::ReadCalls(),
              (Strings{"dispatch " + kUrlUtf8 + " en-ru empty", "dispatch " + kUrlUtf8 + " ru-en empty"}));

    EXPECT_EQ(ThrownMessage([&] {
                  ShowRequest(u"http://dictionary.test/refuse", u"en-ru", target,
                              DialogDisplay(testdialogs::kDispatchDialogClsid));
              }),
              "Cannot show dialog");
}

TEST_F(DialogServerTest, OtherProcessReceivesTheEmbeddedInternetExplorer)
{
    ComPtr<IWebBrowser2> browser;
    ASSERT_HRESULT_SUCCEEDED(wintest::CreateRealInternetExplorer(browser));
    SHANDLE_PTR window = 0;
    ASSERT_HRESULT_SUCCEEDED(browser->get_HWND(&window));
    {
        wintest::TestTarget target(true, browser.Get());
        ShowRequest(kUrl, u"en-ru", target, DialogDisplay(testdialogs::kVtableDialogClsid));
        EXPECT_NE(target.dialogHandler.Get(), nullptr);
    }
    EXPECT_EQ(testdialogs::ReadCalls(),
              (Strings{"dispatch " + kUrlUtf8 + " en-ru " + WindowText(reinterpret_cast<HWND>(window))}));
    ReleaseBrowser(browser);
}

// A server that does not answer: the tray program gets the engine's error within the call limit,
// keeps answering its own messages meanwhile, and a later request reaches a new server.
TEST_F(DialogServerTest, AServerThatHangsIsGivenUpAfterTheCallLimit)
{
    WEBBrowserTarget target;
    // A message sent to this thread's window while it waits for the server is answered, as the
    // keyboard hook's calls must be.
    wintest::MessageDuringWait message;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ThrownMessage([&] {
                  ShowRequest(u"http://dictionary.test/hang", u"en-ru", target,
                              DialogDisplay(testdialogs::kDispatchDialogClsid));
              }),
              "Cannot show dialog");
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(message.Answered());
    EXPECT_GE(waited, kDialogCallLimit - std::chrono::milliseconds(500));
    EXPECT_LT(waited, kDialogCallLimit + std::chrono::seconds(3));

    // The server answers in the end and, left without objects, ends by itself.
    EXPECT_TRUE(wintest::PumpUntil([] { return !wintest::TestDialogServerRunning(); }, std::chrono::seconds(40)));
    testdialogs::ClearCalls();
    ShowRequest(kUrl, u"en-ru", target, DialogDisplay(testdialogs::kDispatchDialogClsid));
    EXPECT_EQ(testdialogs::ReadCalls(), (Strings{"dispatch " + kUrlUtf8 + " en-ru empty"}));
}

// A server that dies in the middle of the call: the tray program gets the engine's error at once,
// and the next request starts a new server, which answers.
TEST_F(DialogServerTest, AServerThatCrashesEndsInTheEnginesError)
{
    WEBBrowserTarget target;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ThrownMessage([&] {
                  ShowRequest(u"http://dictionary.test/crash", u"en-ru", target,
                              DialogDisplay(testdialogs::kDispatchDialogClsid));
              }),
              "Cannot show dialog");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    testdialogs::ClearCalls();
    ShowRequest(kUrl, u"en-ru", target, DialogDisplay(testdialogs::kDispatchDialogClsid));
    EXPECT_EQ(testdialogs::ReadCalls(), (Strings{"dispatch " + kUrlUtf8 + " en-ru empty"}));
}
