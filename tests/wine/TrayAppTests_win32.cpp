// The tray program's pieces under Wine: an icon that the shell refused at start comes back with
// the shell's task bar; a keyboard hook the system refuses, and exceptions caught at a window
// procedure, leave a line in the log.
#include <windows.h>

#include <shellapi.h>

#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/config/Settings.h"
#include "resources/Vocabra/resource.h"
#include "tests/support/IsolatedProfile.h"
#include "tests/support/TestSupport.h"
#include "tray/win32/DialogImpl.h"
#include "tray/win32/KeyboardHook.h"
#include "tray/win32/TrayIcon.h"

namespace {
using tray::win32::CTrayIcon;

// What the stand-in shell was asked: the message and the record as it was passed.
struct ShellCall {
    DWORD message;
    NOTIFYICONDATAW data;
};
std::vector<ShellCall> g_shellCalls;
int g_addsToRefuse = 0;

BOOL WINAPI StandInShell(DWORD message, PNOTIFYICONDATAW data)
{
    g_shellCalls.push_back({message, *data});
    if (message == NIM_ADD && g_addsToRefuse > 0) {
        --g_addsToRefuse;
        return FALSE;
    }
    return TRUE;
}

class TrayIconTest : public ::testing::Test {
protected:
    TrayIconTest()
    {
        g_shellCalls.clear();
        g_addsToRefuse = 0;
    }
};

// A logon start before Explorer's task bar exists: the add fails, the program goes on changing
// its icon and tip, and the task bar's announcement adds the icon as it is by then.
TEST_F(TrayIconTest, AnIconTheShellRefusedAtStartIsAddedWhenTheTaskBarComes)
{
    const HICON first = ::LoadIconW(nullptr, IDI_APPLICATION);
    const HICON later = ::LoadIconW(nullptr, IDI_INFORMATION);
    const HWND owner = ::GetDesktopWindow();
    g_addsToRefuse = 1;
    {
        CTrayIcon icon(&StandInShell);
        EXPECT_FALSE(icon.AddIcon(owner, IDR_MAINFRAME, 1559, first, L"Vocabra"));
        icon.ChangeIcon(later);
        icon.ChangeTip(L"Dictionary: English \u2192 Russian (Fake)");
        ASSERT_TRUE(icon.RestoreIcon());

        const NOTIFYICONDATAW& added = g_shellCalls.back().data;
        EXPECT_EQ(g_shellCalls.back().message, static_cast<DWORD>(NIM_ADD));
        EXPECT_EQ(added.hWnd, owner);
        EXPECT_EQ(added.uID, static_cast<UINT>(IDR_MAINFRAME));
        EXPECT_EQ(added.uCallbackMessage, 1559u);
        EXPECT_EQ(added.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
        EXPECT_EQ(added.hIcon, later);
        EXPECT_STREQ(added.szTip, L"Dictionary: English \u2192 Russian (Fake)");
        EXPECT_EQ(added.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V3_SIZE));
        g_shellCalls.clear();
    }
    // The icon that came is the one that goes with the object.
    ASSERT_EQ(g_shellCalls.size(), 1u);
    EXPECT_EQ(g_shellCalls[0].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(g_shellCalls[0].data.uID, static_cast<UINT>(IDR_MAINFRAME));
}

TEST_F(TrayIconTest, NothingIsAddedBeforeTheProgramAsked)
{
    CTrayIcon icon(&StandInShell);
    EXPECT_FALSE(icon.RestoreIcon());
    EXPECT_FALSE(icon.RemoveIcon());
    EXPECT_TRUE(g_shellCalls.empty());
}

HHOOK WINAPI RefusingInstaller(int, HOOKPROC, HINSTANCE, DWORD)
{
    ::SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}

TEST(KeyboardHook, InstalledOnceRemovedOnce)
{
    ASSERT_FALSE(tray::win32::IsKeyboardHookInstalled());
    const HWND window = ::GetDesktopWindow();
    ASSERT_TRUE(tray::win32::InstallKeyboardHook(window, WM_APP));
    EXPECT_TRUE(tray::win32::IsKeyboardHookInstalled());
    EXPECT_FALSE(tray::win32::InstallKeyboardHook(window, WM_APP));
    EXPECT_TRUE(tray::win32::RemoveKeyboardHook());
    EXPECT_FALSE(tray::win32::IsKeyboardHookInstalled());
    EXPECT_FALSE(tray::win32::RemoveKeyboardHook());

    EXPECT_FALSE(tray::win32::InstallKeyboardHook(window, WM_APP, &RefusingInstaller));
    EXPECT_FALSE(tray::win32::IsKeyboardHookInstalled());
}

// A dialog whose handler throws on WM_APP, as a fault in a real handler would.
class ThrowingDialog : public tray::win32::CDialogImpl<ThrowingDialog> {
public:
    static constexpr unsigned IDD = IDD_ABOUTBOX;

    bool ProcessWindowMessage(UINT message, WPARAM, LPARAM, LRESULT& result)
    {
        result = 0;
        if (message == WM_APP)
            throw std::runtime_error("handler failed");
        return message == WM_INITDIALOG;
    }
};

// The failures, each in a child process whose log is on from its start.
VOCABRA_CHILD_ROLE(refused_hook)
{
    return tray::win32::InstallKeyboardHook(::GetDesktopWindow(), WM_APP, &RefusingInstaller) ? 1 : 0;
}

VOCABRA_CHILD_ROLE(throwing_dialog)
{
    ThrowingDialog dialog;
    const HWND window = dialog.Create(nullptr);
    if (!window)
        return 1;
    ::SendMessageW(window, WM_APP, 0, 0);
    const bool survived = ::IsWindow(window) != FALSE;
    ::DestroyWindow(window);
    return survived ? 0 : 2;
}

using FailureLogTest = testsupport::LoggingTest;

TEST_F(FailureLogTest, FailuresThatWouldVanishAreLogged)
{
    Settings().key.SetDWORD(u"log", 1);
    ASSERT_EQ(testsupport::RunChild("refused_hook", {}), 0);
    ASSERT_EQ(testsupport::RunChild("throwing_dialog", {}), 0);
    EXPECT_EQ(testsupport::ReadFileBytes(LogFile()),
              "MAIN\t- Cannot install the keyboard hook; the hot keys are off. Error 5\r\n"
              "MAIN\t- Exception in a window procedure: handler failed\r\n");
}

}  // namespace
