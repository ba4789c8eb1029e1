#pragma once
// Keeps the thread's last-error code across clean-up calls, so that after a failed system call
// the caller still sees that call's error, not the outcome of releasing an old handle.

#include <windows.h>

namespace Win32::API {

class KeepLastError {
public:
    KeepLastError() : m_error(::GetLastError()) {}
    ~KeepLastError() { ::SetLastError(m_error); }
    KeepLastError(const KeepLastError&) = delete;
    KeepLastError& operator=(const KeepLastError&) = delete;

private:
    DWORD m_error;
};

}  // namespace Win32::API
