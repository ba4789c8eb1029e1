#include "tray/win32/ExitRequest.h"

#include "foundation/win32api/Handles.h"

namespace tray::win32 {
namespace {
// The running copy holds its start-up event until its process ends.
bool CopyRuns(const std::u16string& instanceEvent)
{
    Win32::API::Handle event;
    event.Attach(::OpenEventW(SYNCHRONIZE, FALSE, reinterpret_cast<const wchar_t*>(instanceEvent.c_str())));
    return event.IsValid();
}
}  // namespace

UINT ExitRequestMessage()
{
    static const UINT message = ::RegisterWindowMessageW(L"Vocabra.Exit");
    return message;
}

bool AskRunningCopyToExit(const std::u16string& instanceEvent, DWORD limitMs)
{
    if (!CopyRuns(instanceEvent))
        return true;
    ::PostMessageW(HWND_BROADCAST, ExitRequestMessage(), 0, 0);
    const ULONGLONG end = ::GetTickCount64() + limitMs;
    while (CopyRuns(instanceEvent)) {
        if (::GetTickCount64() >= end)
            return false;
        ::Sleep(100);
    }
    return true;
}

}  // namespace tray::win32
