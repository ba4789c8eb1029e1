#include "foundation/config/Properties.h"

#include <limits>
#include <string>

#include "foundation/text/Utf.h"
#include "foundation/text/WhiteSpace.h"
#include "foundation/win32api/Handles.h"

namespace {
constexpr char16_t kByteOrderMark = 0xFEFF;
}

Properties::Properties(const std::u16string& path)
{
    Load(path);
}

bool Properties::Load(const std::u16string& path)
{
    using namespace Win32::API;
    m_table.clear();
    File file;
    if (!file.Create(path.c_str(), kGenericRead, kFileShareRead, nullptr, kOpenExisting, 0, nullptr))
        return false;
    std::uint32_t size = 0;
    if (!file.GetSize(size))
        return false;
    if (size == 0)
        return true;
    std::string bytes(size, '\0');
    if (!file.Read(bytes.data(), size))
        return false;
    bytes.resize(file.BytesTransferred());
    LoadText(bytes);
    return true;
}

void Properties::LoadText(std::string_view utf8)
{
    m_table.clear();
    const std::u16string text = text::Utf8ToUtf16(utf8);
    std::u16string_view rest = text;
    // Editors on Windows often save UTF-8 with a byte-order mark; it is not part of the first key.
    if (!rest.empty() && rest.front() == kByteOrderMark)
        rest.remove_prefix(1);
    for (std::size_t feed = rest.find(u'\n'); feed != std::u16string_view::npos; feed = rest.find(u'\n')) {
        if (feed > 0)
            ParseLine(rest.substr(0, feed));
        rest.remove_prefix(feed + 1);
    }
    ParseLine(rest);
}

void Properties::ParseLine(std::u16string_view line)
{
    line = text::Trim(line);
    if (line.empty() || line.front() == u'#')
        return;
    const std::size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos)
        return;
    const std::u16string_view key = text::Trim(line.substr(0, equals));
    if (key.empty())
        return;
    m_table[std::u16string(key)] = std::u16string(text::Trim(line.substr(equals + 1)));
}

std::u16string Properties::GetString(const std::u16string& key) const
{
    const auto found = m_table.find(key);
    return found == m_table.end() ? std::u16string() : found->second;
}

std::int32_t Properties::GetInt(const std::u16string& key) const
{
    const auto found = m_table.find(key);
    return found == m_table.end() ? 0 : ParseInt32(found->second);
}

std::u16string& Properties::At(const std::u16string& key)
{
    return m_table[key];
}

std::int32_t ParseInt32(std::u16string_view text)
{
    text = text::TrimLeft(text);
    bool negative = false;
    if (!text.empty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        text.remove_prefix(1);
    }
    // Accumulate the magnitude with room for one past the limit, then clamp.
    constexpr std::int64_t kLimit = static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
    std::int64_t magnitude = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9')
            break;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > kLimit)
            magnitude = kLimit;
    }
    if (negative)
        return static_cast<std::int32_t>(-magnitude);
    return magnitude >= kLimit ? std::numeric_limits<std::int32_t>::max() : static_cast<std::int32_t>(magnitude);
}
