// The typed registry reads and writes, over each platform's QueryValue and SetValue.
#include <cstring>

#include "foundation/win32api/Handles.h"

namespace Win32::API {

namespace {
// A value of `type` read into an integer: at most its size in bytes, and at least one.
template <class Integer>
bool ReadInteger(const RegKey& key, const char16_t* name, std::uint32_t type, Integer& value)
{
    value = 0;
    std::uint32_t storedType = kRegNone;
    std::vector<std::uint8_t> data;
    // A larger value would not fit the caller's buffer.
    if (!key.QueryValue(name, storedType, data) || storedType != type || data.empty() || data.size() > sizeof value)
        return false;
    std::memcpy(&value, data.data(), data.size());
    return true;
}
}  // namespace

bool RegKey::GetDWORD(const char16_t* name, std::uint32_t& value) const
{
    return ReadInteger(*this, name, kRegDword, value);
}

bool RegKey::GetQWORD(const char16_t* name, std::uint64_t& value) const
{
    return ReadInteger(*this, name, kRegQword, value);
}

bool RegKey::GetString(const char16_t* name, std::u16string& text) const
{
    text.clear();
    std::uint32_t type = kRegNone;
    std::vector<std::uint8_t> data;
    if (!QueryValue(name, type, data))
        return false;
    // The stored bytes need not end in a zero (nor be of even length): read up to the first
    // zero unit within them, never past them.
    const std::size_t units = data.size() / 2;
    text.reserve(units);
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t unit = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
        if (unit == 0)
            break;
        text.push_back(unit);
    }
    return true;
}

bool RegKey::SetDWORD(const char16_t* name, std::uint32_t value)
{
    return SetValue(name, kRegDword, &value, sizeof value);
}

bool RegKey::SetQWORD(const char16_t* name, std::uint64_t value)
{
    return SetValue(name, kRegQword, &value, sizeof value);
}

bool RegKey::SetString(const char16_t* name, const std::u16string& text)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve((text.size() + 1) * 2);
    for (char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return SetValue(name, kRegSz, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

}  // namespace Win32::API
