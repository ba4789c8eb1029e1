#include "update/PumpingWait_win32.h"

#include <windows.h>

#include <objbase.h>

#include "foundation/win32api/Handles.h"

namespace update {
namespace {
DWORD WINAPI RunWork(void* parameter)
{
    const auto& work = *static_cast<const std::function<void()>*>(parameter);
    // The update check reads its document with MSXML, a COM object.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    try {
        work();
    } catch (...) {
    }
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return 0;
}

// Dispatches what is waiting; false once the quit message has come (it is not dispatched).
bool DispatchWaiting(int& quitCode)
{
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitCode = static_cast<int>(message.wParam);
            return false;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return true;
}
}  // namespace

bool RunWhilePumping(const std::function<void()>& work, bool& quit)
{
    quit = false;
    Win32::API::Thread worker;
    worker.Attach(::CreateThread(nullptr, 0, &RunWork, const_cast<std::function<void()>*>(&work), 0, nullptr));
    if (!worker.IsValid())
        return false;

    HANDLE handle = worker.Get();
    int quitCode = 0;
    for (;;) {
        // After a quit only messages sent by other threads are answered; the posted ones wait
        // for the caller's own loop.
        const DWORD wake = quit ? QS_SENDMESSAGE : QS_ALLINPUT;
        const DWORD woke = ::MsgWaitForMultipleObjectsEx(1, &handle, INFINITE, wake, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0)
            break;
        if (woke == WAIT_FAILED) {
            ::WaitForSingleObject(handle, INFINITE);
            break;
        }
        if (quit) {
            MSG message{};
            ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        } else if (!DispatchWaiting(quitCode)) {
            quit = true;
        }
    }
    if (quit)
        ::PostQuitMessage(quitCode);
    return true;
}

}  // namespace update
