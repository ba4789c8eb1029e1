// Loaded dynamic libraries: LoadLibraryW, FreeLibrary, GetProcAddress.
#include <windows.h>

#include "foundation/win32api/Handles.h"
#include "foundation/win32api/LastError_win32.h"
#include "foundation/win32api/WideChar_win32.h"

namespace Win32::API {

Library::~Library()
{
    Close();
}

bool Library::Close()
{
    if (!IsValid())
        return false;
    const bool freed = ::FreeLibrary(m_handle) != FALSE;
    m_handle = nullptr;
    return freed;
}

bool Library::Load(const char16_t* path)
{
    HMODULE module = ::LoadLibraryW(Wide(path));
    {
        KeepLastError keep;
        Attach(module);
    }
    return IsValid();
}

void* Library::GetSymbol(const char* name) const
{
    if (!IsValid())
        return nullptr;
    return reinterpret_cast<void*>(::GetProcAddress(m_handle, name));
}

}  // namespace Win32::API
