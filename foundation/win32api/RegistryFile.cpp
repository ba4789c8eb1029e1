// The registry document: look-ups by Windows' name rules, and what the text form can carry.
// Reading and writing the text are in RegistryFileReader.cpp and RegistryFileWriter.cpp.
#include "foundation/win32api/RegistryFile.h"

#include <algorithm>

#include "foundation/text/AsciiCase.h"

namespace Win32::API {
namespace {

bool IsHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Shared by the const and non-const look-ups.
template <class Section>
auto FindValueIn(Section& section, std::u16string_view name) -> decltype(section.values.data())
{
    for (auto& value : section.values)
        if (SameRegistryName(value.name, name))
            return &value;
    return nullptr;
}

template <class Document>
auto FindSectionIn(Document& document, std::u16string_view path) -> decltype(document.sections.data())
{
    for (auto& section : document.sections)
        if (SameRegistryName(section.path, path))
            return &section;
    return nullptr;
}

}  // namespace

RegistryValue* RegistrySection::FindValue(std::u16string_view name)
{
    return FindValueIn(*this, name);
}

const RegistryValue* RegistrySection::FindValue(std::u16string_view name) const
{
    return FindValueIn(*this, name);
}

void RegistrySection::SetValue(std::u16string_view name, std::uint32_t type, std::vector<std::uint8_t> data)
{
    if (RegistryValue* existing = FindValue(name)) {
        existing->type = type;
        existing->data = std::move(data);
    } else {
        values.push_back(RegistryValue{std::u16string(name), type, std::move(data)});
    }
}

bool RegistrySection::EraseValue(std::u16string_view name)
{
    const auto found = std::find_if(values.begin(), values.end(),
                                    [name](const RegistryValue& value) { return SameRegistryName(value.name, name); });
    if (found == values.end())
        return false;
    values.erase(found);
    return true;
}

RegistrySection* RegistryDocument::FindSection(std::u16string_view path)
{
    return FindSectionIn(*this, path);
}

const RegistrySection* RegistryDocument::FindSection(std::u16string_view path) const
{
    return FindSectionIn(*this, path);
}

bool operator==(const RegistryValue& a, const RegistryValue& b)
{
    return a.name == b.name && a.type == b.type && a.data == b.data;
}

bool operator==(const RegistrySection& a, const RegistrySection& b)
{
    return a.path == b.path && a.values == b.values;
}

bool operator==(const RegistryDocument& a, const RegistryDocument& b)
{
    return a.sections == b.sections;
}

bool SameRegistryName(std::u16string_view a, std::u16string_view b)
{
    return text::EqualsIgnoringAsciiCase(a, b);
}

bool IsWritableRegistryText(std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == 0 || c == u'\r' || c == u'\n' || IsLowSurrogate(c))
            return false;
        if (IsHighSurrogate(c)) {
            if (i + 1 >= text.size() || !IsLowSurrogate(text[i + 1]))
                return false;
            ++i;
        }
    }
    return true;
}

bool IsWritableKeyPath(std::u16string_view path)
{
    // A leading '-' would read as regedit's "delete this key".
    if (path.empty() || path.front() == u'-' || !IsWritableRegistryText(path))
        return false;
    return path.front() != u'\\' && path.back() != u'\\' && path.find(u"\\\\") == std::u16string_view::npos;
}

}  // namespace Win32::API
