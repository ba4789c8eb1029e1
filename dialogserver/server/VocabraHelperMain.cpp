// VocabraHelper.exe's entry point: a registration word, or the server until it is idle.
#include <windows.h>

#include <objbase.h>

#include <chrono>

#include "dialogserver/server/ClassObjects_win32.h"
#include "dialogserver/server/DialogTypeInfo_win32.h"
#include "dialogserver/server/ServerCommandLine.h"
#include "dialogserver/server/ServerLocks_win32.h"
#include "dialogserver/server/ServerRegistration_win32.h"
#include "foundation/threads/MessagePump_win32.h"

namespace {
using namespace dialogserver;

// After the decision to end, the class objects are revoked and the server goes on serving this
// long: a client that took a class object just before may still be on its way with CreateInstance.
constexpr std::chrono::milliseconds kFinishingPause{1000};

// Serves COM's calls until the quiet spell has passed; false when the quit message came instead.
bool ServeUntilIdle()
{
    return threads::PumpUntilSignalled(ServerIdleEvent(), std::chrono::milliseconds::max(), {}) ==
           threads::PumpEnd::Signalled;
}

// The decision to end. False when an object arrived in the meantime: the server then serves on.
bool EndWhenStillIdle(ClassObjects& classes, HRESULT& revoked)
{
    if (ServerLockCount() != 0)
        return false;
    // The server's own reference goes: on Windows the class objects are suspended at once, and a
    // new request starts another server.
    ::CoReleaseServerProcess();
    revoked = classes.Revoke();
    threads::PumpUntilSignalled(nullptr, kFinishingPause, {});
    if (ServerLockCount() == 0)
        return true;
    // Asked for at the very moment of ending: this server keeps the object, and the next quiet
    // spell after its release ends it.
    classes.Register();
    ::CoResumeClassObjects();
    ::CoAddRefServerProcess();
    return false;
}

int RunServer()
{
    ClassObjects classes;
    if (classes.Result() != S_OK)
        return static_cast<int>(classes.Result());
    if (!StartServerLocks()) {
        classes.Revoke();
        return static_cast<int>(E_FAIL);
    }
    // The server's own reference on COM's count of it, released only when it decides to end.
    ::CoAddRefServerProcess();
    HRESULT revoked = S_OK;
    for (;;) {
        if (!ServeUntilIdle()) {
            revoked = classes.Revoke();
            break;
        }
        if (EndWhenStillIdle(classes, revoked))
            break;
    }
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
