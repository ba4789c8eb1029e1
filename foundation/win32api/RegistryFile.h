#pragma once
// The registry's text form: regedit's "Windows Registry Editor Version 5.00" files, kept as UTF-8
// so that people and tests can read and edit them. Pure text in, text out; no file access.
//
// Key paths and value names compare case-insensitively in ASCII letters, as Windows compares
// them; the document keeps the spelling it was given.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/win32api/SystemConstants.h"

namespace Win32::API {

struct RegistryValue {
    std::u16string name;  // empty for the key's default value ("@")
    std::uint32_t type = kRegNone;
    std::vector<std::uint8_t> data;
};

struct RegistrySection {
    std::u16string path;  // full key path, e.g. HKEY_CURRENT_USER\Software\Corvane
    std::vector<RegistryValue> values;

    RegistryValue* FindValue(std::u16string_view name);
    const RegistryValue* FindValue(std::u16string_view name) const;
    // Replaces the data of an existing value (keeping its place and spelling) or appends one.
    void SetValue(std::u16string_view name, std::uint32_t type, std::vector<std::uint8_t> data);
    // False when there was no such value.
    bool EraseValue(std::u16string_view name);
};

struct RegistryDocument {
    std::vector<RegistrySection> sections;

    RegistrySection* FindSection(std::u16string_view path);
    const RegistrySection* FindSection(std::u16string_view path) const;
};

// Exact comparisons, spelling included.
bool operator==(const RegistryValue& a, const RegistryValue& b);
bool operator==(const RegistrySection& a, const RegistrySection& b);
bool operator==(const RegistryDocument& a, const RegistryDocument& b);

// Equal up to the case of ASCII letters.
bool SameRegistryName(std::u16string_view a, std::u16string_view b);

// Whether the file can carry `text` as a value name or key-path component: no zero unit, no line
// break, no unpaired surrogate.
bool IsWritableRegistryText(std::u16string_view text);
// A writable, non-empty key path without empty components, that a section header can carry.
bool IsWritableKeyPath(std::u16string_view path);

// Reads a whole file. False when any part of it is not understood; `document` is then unspecified.
// Repeated sections and values merge as regedit merges them: the later data wins, the first
// spelling and place stay.
bool ParseRegistryFile(std::string_view text, RegistryDocument& document);

// Writes the document in the order of its sections and values; reading the text back gives the
// same document (when no name repeats). False when a key path or a value name cannot be written
// (see IsWritableKeyPath, IsWritableRegistryText).
bool SerializeRegistryFile(const RegistryDocument& document, std::string& text);

}  // namespace Win32::API
