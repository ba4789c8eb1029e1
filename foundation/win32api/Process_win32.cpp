// Started processes: waiting for their end, and starting them with CreateProcessW.
#include <windows.h>

#include "foundation/win32api/Handles.h"
#include "foundation/win32api/WideChar_win32.h"

namespace Win32::API {

bool Process::WaitForExit(std::uint32_t milliseconds, std::uint32_t& exitCode) const
{
    const DWORD waited = ::WaitForSingleObject(m_handle, milliseconds);
    if (waited == WAIT_TIMEOUT)
        ::SetLastError(WAIT_TIMEOUT);
    if (waited != WAIT_OBJECT_0)
        return false;
    DWORD code = 0;
    if (!::GetExitCodeProcess(m_handle, &code))
        return false;
    exitCode = code;
    return true;
}

ProcessEx::~ProcessEx()
{
    Close();
}

bool ProcessEx::Close()
{
    m_thread.Close();
    m_threadId = 0;
    return Handle::Close();
}

bool ProcessEx::Create(const char16_t* applicationName,
                       const char16_t* commandLine,
                       const char16_t* currentDirectory,
                       std::uint32_t creationFlags,
                       SecurityAttributes* processSecurity,
                       SecurityAttributes* threadSecurity,
                       bool inheritHandles,
                       void* environment)
{
    Close();

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};

    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::u16string commandCopy = commandLine ? commandLine : u"";
    wchar_t* command = commandLine ? Wide(commandCopy.data()) : nullptr;

    if (!::CreateProcessW(Wide(applicationName), command, processSecurity, threadSecurity, inheritHandles,
                          creationFlags, environment, Wide(currentDirectory), &startup, &started))
        return false;

    Attach(started.hProcess);
    m_thread.Attach(started.hThread);
    m_threadId = started.dwThreadId;
    return true;
}

}  // namespace Win32::API
