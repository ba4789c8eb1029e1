// Vocabra.exe's entry point: the start-up switches, one copy per user, COM and the common
// controls, then the main dialog and the message loop until Exit (or a later start's "/exit").
#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "foundation/config/Environment.h"
#include "foundation/threads/BackgroundTask.h"
#include "foundation/win32api/ComApartment_win32.h"
#include "foundation/win32api/Handles.h"
#include "tray/StartupRules.h"
#include "tray/win32/ExitRequest.h"
#include "tray/win32/FailureLog.h"
#include "tray/win32/MainDlg.h"
#include "tray/win32/MessageLoop.h"
#include "tray/win32/UiHandles.h"

namespace {
using tray::win32::FromWide;

// A copy of this program with an empty command line, so that it starts hidden; not waited for.
void StartFreshCopy()
{
    const std::u16string path = GetModuleFilePath();
    if (path.empty())
        return;
    Win32::API::ProcessEx copy;
    copy.Create(path.c_str());
}

std::u16string UserName()
{
    wchar_t name[128] = {};
    DWORD size = sizeof name / sizeof name[0];
    if (!::GetUserNameW(name, &size))
        return std::u16string();
    return FromWide(std::wstring(name));
}

int Run(int showCommand)
{
    tray::win32::CMessageLoop loop;
    const tray::win32::MessageLoopRegistration registration(loop);
    const auto dialog = std::make_unique<tray::win32::CMainDlg>();
    if (!dialog->Create(nullptr))
        return 0;
    ::ShowWindow(dialog->m_hWnd, showCommand);
    return loop.Run();
}

int Start(const wchar_t* commandLine)
{
    const tray::StartupSwitches switches = tray::ParseStartupSwitches(reinterpret_cast<const char16_t*>(commandLine));
    if (switches.install) {
        StartFreshCopy();
        return 0;
    }
    const std::u16string instanceEvent = tray::InstanceEventName(UserName());
    if (switches.exit) {
        // Long enough for the orderly exit, short enough for an installer waiting on us.
        constexpr DWORD kExitWaitMs = 10000;
        tray::win32::AskRunningCopyToExit(instanceEvent, kExitWaitMs);
        return 0;
    }

    // Held until the process ends: its existence is the mark of the running copy.
    Win32::API::Event runningCopy;
    bool alreadyRunning = false;
    if (runningCopy.Create(instanceEvent.c_str(), alreadyRunning) && alreadyRunning)
        return 0;

    // The process's only thread: a single-threaded apartment.
    const Win32::API::ComApartment com(COINIT_APARTMENTTHREADED);
    // ComboBoxEx32, the dictionary list, is one of the extended classes: the dialog cannot be
    // made without it.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_USEREX_CLASSES};
    ::InitCommonControlsEx(&controls);

    return Run(switches.visible ? SW_SHOWDEFAULT : SW_HIDE);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int)
{
    int result = 0;
    try {
        result = Start(commandLine);
    } catch (...) {
        tray::win32::LogCaughtException("Exception at the top of the program: ");
        result = 0;
    }
    // An update check abandoned at Exit may still be running on its thread: end the process now,
    // before the static objects it uses are destroyed under it. Everything to keep is stored.
    if (threads::BackgroundTask::AbandonedAndRunning() > 0)
        ::ExitProcess(static_cast<UINT>(result));
    return result;
}
