// VocabraHelper.exe's entry point: a registration word, or the server until it is idle.
#include <windows.h>

#include <objbase.h>

#include "dialogserver/server/ClassObjects_win32.h"
#include "dialogserver/server/DialogTypeInfo_win32.h"
#include "dialogserver/server/ServerCommandLine.h"
#include "dialogserver/server/ServerLocks_win32.h"
#include "dialogserver/server/ServerRegistration_win32.h"

namespace {
using namespace dialogserver;

// Time for the other thread, and the last calls, to finish after the class objects are gone.
constexpr DWORD kFinishingPauseMs = 1000;

int RunServer()
{
    ClassObjects classes;
    const bool delayed = classes.Result() == S_OK;
    if (!delayed)
        return static_cast<int>(classes.Result());
    if (!StartServerLocks(delayed)) {
        classes.Revoke();
        return static_cast<int>(E_FAIL);
    }
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    const HRESULT revoked = classes.Revoke();
    ::Sleep(kFinishingPauseMs);
    StopServerLocks();
    return static_cast<int>(revoked);
}

int Run(const wchar_t* commandLine)
{
    const ServerCommand command =
        ParseServerCommand(commandLine ? reinterpret_cast<const char16_t*>(commandLine) : u"");
    if (command != ServerCommand::RunServer)
        return static_cast<int>(RunRegistration(command));
    return RunServer();
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int)
{
    // A single-threaded apartment: every call of a client arrives through the message loop.
    const HRESULT com = ::CoInitialize(nullptr);
    if (FAILED(com) && !(com == RPC_E_CHANGED_MODE && ::GetModuleHandleW(L"Mscoree.dll")))
        return -1;
    int result = -1;
    try {
        result = Run(commandLine);
    } catch (...) {
        result = static_cast<int>(E_FAIL);
    }
    ReleaseTypeInfo();
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return result;
}
