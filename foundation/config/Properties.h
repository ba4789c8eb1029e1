#pragma once
// The .properties reader: "key = value" lines, "#" comments, nothing else. Keys match exactly.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

class Properties {
public:
    Properties() = default;
    // Equivalent to default construction followed by Load(path); the result is discarded.
    explicit Properties(const std::u16string& path);

    // Empties the table, then reads the file. False (table empty) when it cannot be opened or read.
    bool Load(const std::u16string& path);
    // Empties the table, then parses UTF-8 text as Load does with a file's bytes.
    void LoadText(std::string_view utf8);

    // The value, or "" for a missing key. Leaves the table unchanged.
    std::u16string GetString(const std::u16string& key) const;
    // The value read as a base-10 integer (clamped to 32 bits); 0 for a missing key or no digits.
    std::int32_t GetInt(const std::u16string& key) const;
    // The value; a missing key is first inserted with an empty value.
    std::u16string& At(const std::u16string& key);

    std::size_t Size() const { return m_table.size(); }

private:
    void ParseLine(std::u16string_view line);

    std::unordered_map<std::u16string, std::u16string> m_table;
};

// The integer reading of GetInt, on its own: white space, sign, digits; clamped to 32 bits.
std::int32_t ParseInt32(std::u16string_view text);
