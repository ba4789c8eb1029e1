// Registry keys over the Win32 registry. The registry functions return their error instead of
// setting the thread's last error; it is stored there too, so callers see failures one way.
#include <windows.h>

#include "foundation/win32api/Handles.h"
#include "foundation/win32api/WideChar_win32.h"

namespace Win32::API {

namespace {
bool Succeeded(LSTATUS status)
{
    if (status == ERROR_SUCCESS)
        return true;
    ::SetLastError(static_cast<DWORD>(status));
    return false;
}
}  // namespace

RegistryHandle PredefinedKey(std::uint32_t id)
{
    // As <windows.h> defines HKEY_CURRENT_USER and its kin: the 32-bit value, sign-extended.
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(id)));
}

RegKey::~RegKey()
{
    RegKey::Close();
}

bool RegKey::Close()
{
    if (!IsValid())
        return false;
    const LSTATUS status = ::RegCloseKey(m_handle);
    m_handle = nullptr;
    return Succeeded(status);
}

bool RegKey::Create(RegistryHandle root,
                    const char16_t* subKey,
                    const char16_t* keyClass,
                    std::uint32_t options,
                    std::uint32_t access,
                    SecurityAttributes* security,
                    std::uint32_t* disposition)
{
    HKEY key = nullptr;
    DWORD created = 0;
    const LSTATUS status = ::RegCreateKeyExW(root, Wide(subKey), 0, const_cast<wchar_t*>(Wide(keyClass)), options,
                                             access, security, &key, &created);
    if (status != ERROR_SUCCESS) {
        Close();
        return Succeeded(status);
    }
    if (disposition)
        *disposition = created;
    Attach(key);
    return IsValid();
}

bool RegKey::QueryValue(const char16_t* name, std::uint32_t& type, std::vector<std::uint8_t>& data) const
{
    data.clear();
    if (!IsValid()) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    DWORD valueType = REG_NONE;
    DWORD size = 0;
    if (!Succeeded(::RegQueryValueExW(m_handle, Wide(name), nullptr, &valueType, nullptr, &size)))
        return false;
    std::vector<std::uint8_t> bytes(size);
    if (size != 0) {
        // A value that grew since the size query fails here (ERROR_MORE_DATA); one that shrank
        // reports its new size.
        if (!Succeeded(::RegQueryValueExW(m_handle, Wide(name), nullptr, &valueType, bytes.data(), &size)))
            return false;
        bytes.resize(size);
    }
    type = valueType;
    data.swap(bytes);
    return true;
}

bool RegKey::SetValue(const char16_t* name, std::uint32_t type, const void* data, std::uint32_t size)
{
    if (!IsValid()) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return Succeeded(::RegSetValueExW(m_handle, Wide(name), 0, type, static_cast<const BYTE*>(data), size));
}

bool RegKey::DeleteValue(const char16_t* name)
{
    if (!IsValid()) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return Succeeded(::RegDeleteValueW(m_handle, Wide(name)));
}

}  // namespace Win32::API
