#pragma once
// What the fuzz targets share: how a broken property stops the run, how raw input becomes the
// program's UTF-16 strings, and a private profile so that no target reads or writes the user's
// registry store or log.

#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "foundation/text/Utf.h"

namespace fuzzsupport {

// libFuzzer reports an abort as a crash and keeps the input that caused it.
[[noreturn]] inline void Fail(const char* property, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: property violated: %s\n", file, line, property);
    std::abort();
}

#define FUZZ_CHECK(condition) ((condition) ? static_cast<void>(0) : ::fuzzsupport::Fail(#condition, __FILE__, __LINE__))

// Pairs of bytes as little-endian UTF-16 code units, so that every unit (zeros and lone
// surrogates included) can occur; an odd last byte is dropped.
inline std::u16string Units(std::string_view bytes)
{
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                              (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return units;
}

// A whole input as text: UTF-8 (so that the seed files are plain text files), or, after a first
// byte 0xFF (never part of UTF-8), raw UTF-16 units.
inline std::u16string Text16(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!bytes.empty() && static_cast<unsigned char>(bytes.front()) == 0xFF)
        return Units(bytes.substr(1));
    return text::Utf8ToUtf16(bytes);
}

// One string of a structured input, in either form as above.
inline std::u16string ConsumeText16(FuzzedDataProvider& provider, std::size_t maxBytes)
{
    const std::string bytes = provider.ConsumeRandomLengthString(maxBytes);
    return Text16(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// Points the registry store and the log folder into a new folder under $TMPDIR (tools/run-fuzzers
// sets it inside the build folder), removed when the process ends normally.
inline void UsePrivateProfile()
{
    static std::string folder;
    if (!folder.empty())
        return;
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/vocabra-fuzz.XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    folder = pattern;
    ::setenv("VOCABRA_REGISTRY", (folder + "/registry.reg").c_str(), 1);
    ::setenv("XDG_STATE_HOME", (folder + "/state").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    });
}

// The four entities the response parsers decode, written for '&', '<', '>' and '"'.
inline std::u16string EscapeEntities(std::u16string_view value)
{
    std::u16string escaped;
    for (char16_t unit : value) {
        switch (unit) {
            case u'&':
                escaped += u"&amp;";
                break;
            case u'<':
                escaped += u"&lt;";
                break;
            case u'>':
                escaped += u"&gt;";
                break;
            case u'"':
                escaped += u"&quot;";
                break;
            default:
                escaped.push_back(unit);
        }
    }
    return escaped;
}

// What an XML text survives unchanged: no controls (CR would become LF), no non-characters, no
// lone surrogates; tabs and line feeds only where asked for (attribute values make them spaces).
inline std::u16string XmlText(std::u16string_view value, bool keepTabsAndLineFeeds)
{
    std::u16string kept;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char16_t unit = value[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < value.size() && value[i + 1] >= 0xDC00 &&
            value[i + 1] <= 0xDFFF) {
            kept += value.substr(i, 2);
            ++i;
        } else if ((unit >= 0x20 || (keepTabsAndLineFeeds && (unit == u'\t' || unit == u'\n'))) && unit != 0x7F &&
                   (unit < 0xD800 || unit > 0xDFFF) && unit != 0xFFFE && unit != 0xFFFF) {
            kept.push_back(unit);
        }
    }
    return kept;
}

}  // namespace fuzzsupport
