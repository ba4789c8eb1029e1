// A Toolhelp snapshot of the running processes.
#include <windows.h>

#include <tlhelp32.h>

#include "foundation/process/ProcessSnapshot.h"
#include "foundation/win32api/WideChar_win32.h"

namespace {
PROCESSENTRY32W EmptyEntry()
{
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    return entry;
}
}  // namespace

ProcessSnapshot::ProcessSnapshot()
{
    Attach(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!IsValid())
        return;
    PROCESSENTRY32W entry = EmptyEntry();
    m_valid = ::Process32FirstW(m_handle, &entry) != FALSE;
    if (m_valid) {
        m_exeFile = Win32::API::FromWide(entry.szExeFile);
        m_processId = entry.th32ProcessID;
    }
}

bool ProcessSnapshot::Next()
{
    m_valid = false;
    if (!IsValid())
        return false;
    PROCESSENTRY32W entry = EmptyEntry();
    m_valid = ::Process32NextW(m_handle, &entry) != FALSE;
    if (m_valid) {
        m_exeFile = Win32::API::FromWide(entry.szExeFile);
        m_processId = entry.th32ProcessID;
    }
    return m_valid;
}
