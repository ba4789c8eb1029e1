#include <dlfcn.h>

#include "foundation/text/Utf.h"
#include "foundation/win32api/Handles.h"

namespace Win32::API {

Library::~Library()
{
    Library::Close();
}

bool Library::Close()
{
    if (!IsValid())
        return false;
    const int result = ::dlclose(m_handle);
    m_handle = nullptr;
    return result == 0;
}

bool Library::Load(const char16_t* path)
{
    void* loaded = path ? ::dlopen(text::Utf16ToUtf8(path).c_str(), RTLD_NOW | RTLD_LOCAL) : nullptr;
    Attach(static_cast<::HINSTANCE__*>(loaded));
    return IsValid();
}

void* Library::GetSymbol(const char* name) const
{
    return IsValid() && name ? ::dlsym(m_handle, name) : nullptr;
}

}  // namespace Win32::API
