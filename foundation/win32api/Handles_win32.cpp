// Kernel object handles: Handle, File and Event over CloseHandle, CreateFileW and CreateEventW.
#include <windows.h>

#include "foundation/win32api/Handles.h"
#include "foundation/win32api/LastError_win32.h"
#include "foundation/win32api/WideChar_win32.h"

namespace Win32::API {

Handle::~Handle()
{
    Handle::Close();
}

bool Handle::Close()
{
    if (!IsValid())
        return false;
    const bool closed = ::CloseHandle(m_handle) != FALSE;
    m_handle = nullptr;
    return closed;
}

bool File::Create(const char16_t* path,
                  std::uint32_t access,
                  std::uint32_t shareMode,
                  SecurityAttributes* security,
                  std::uint32_t disposition,
                  std::uint32_t flagsAndAttributes,
                  void* templateFile)
{
    m_path = path ? path : u"";
    HANDLE file = ::CreateFileW(Wide(path), access, shareMode, security, disposition, flagsAndAttributes, templateFile);
    {
        KeepLastError keep;
        Attach(file);
    }
    return IsValid();
}

bool File::Read(void* buffer, std::uint32_t size)
{
    DWORD count = 0;
    const BOOL done = ::ReadFile(m_handle, buffer, size, &count, nullptr);
    m_bytesTransferred = count;
    return done != FALSE;
}

bool File::Write(const void* data, std::uint32_t size)
{
    DWORD count = 0;
    const BOOL done = ::WriteFile(m_handle, data, size, &count, nullptr);
    m_bytesTransferred = count;
    return done != FALSE;
}

bool File::SeekToEnd()
{
    // With the high part supplied, INVALID_SET_FILE_POINTER is also a legitimate low part of a
    // large offset; only the error code tells the two apart.
    LONG high = 0;
    ::SetLastError(NO_ERROR);
    const DWORD low = ::SetFilePointer(m_handle, 0, &high, FILE_END);
    return !(low == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR);
}

bool File::GetSize(std::uint32_t& lowPart) const
{
    DWORD high = 0;
    ::SetLastError(NO_ERROR);
    const DWORD low = ::GetFileSize(m_handle, &high);
    if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR)
        return false;
    lowPart = low;
    return true;
}

bool Event::Create(const char16_t* name,
                   bool& alreadyExisted,
                   bool manualReset,
                   bool initialState,
                   SecurityAttributes* security)
{
    HANDLE event = ::CreateEventW(security, manualReset, initialState, Wide(name));
    alreadyExisted = ::GetLastError() == ERROR_ALREADY_EXISTS;
    {
        KeepLastError keep;
        Attach(event);
    }
    return IsValid();
}

}  // namespace Win32::API
