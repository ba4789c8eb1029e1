// The settings store's .reg text. Any text that parses is a document the writer can carry (the
// reader refuses every key path and value name the writer would refuse), and writing it and
// reading it back gives the same document and the same text again. A document made up from
// parts is written exactly when all its paths and names are writable, and reads back as itself
// with repeated sections and values merged as regedit merges them.

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/win32api/RegistryFile.h"
#include "fuzz/FuzzSupport.h"

namespace {
using namespace Win32::API;

void CheckText(std::string_view text)
{
    RegistryDocument document;
    if (!ParseRegistryFile(text, document))
        return;
    std::string written;
    FUZZ_CHECK(SerializeRegistryFile(document, written));
    RegistryDocument again;
    FUZZ_CHECK(ParseRegistryFile(written, again));
    FUZZ_CHECK(again == document);
    std::string rewritten;
    FUZZ_CHECK(SerializeRegistryFile(again, rewritten));
    FUZZ_CHECK(rewritten == written);
}

std::vector<std::uint8_t> Utf16Le(std::u16string_view text)
{
    std::vector<std::uint8_t> bytes;
    for (char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

RegistryValue ConsumeValue(FuzzedDataProvider& provider)
{
    RegistryValue value;
    value.name = fuzzsupport::ConsumeText16(provider, 24);
    constexpr std::uint32_t kTypes[] = {kRegSz, kRegDword, kRegBinary, kRegQword, kRegExpandSz, kRegNone};
    switch (provider.ConsumeIntegralInRange(0, 3)) {
        case 0:
            // A string as SetString stores it: the readable form when the text allows it.
            value.type = kRegSz;
            value.data = Utf16Le(fuzzsupport::ConsumeText16(provider, 40));
            value.data.insert(value.data.end(), {0, 0});
            break;
        case 1:
            value.type = kRegDword;
            value.data = provider.ConsumeBytes<std::uint8_t>(4);
            break;
        case 2:
            value.type = kTypes[provider.ConsumeIntegralInRange<std::size_t>(0, std::size(kTypes) - 1)];
            value.data = provider.ConsumeBytes<std::uint8_t>(provider.ConsumeIntegralInRange(0, 64));
            break;
        default:
            value.type = provider.ConsumeIntegral<std::uint32_t>();
            value.data = provider.ConsumeBytes<std::uint8_t>(provider.ConsumeIntegralInRange(0, 200));
            break;
    }
    return value;
}

// The document as the reader leaves it: each section and value at its first place and spelling,
// with the data of its last occurrence.
RegistryDocument Merged(const RegistryDocument& document)
{
    RegistryDocument merged;
    for (const RegistrySection& section : document.sections) {
        RegistrySection* target = merged.FindSection(section.path);
        if (!target) {
            merged.sections.push_back(RegistrySection{section.path, {}});
            target = &merged.sections.back();
        }
        for (const RegistryValue& value : section.values)
            target->SetValue(value.name, value.type, value.data);
    }
    return merged;
}

void CheckDocument(FuzzedDataProvider& provider)
{
    RegistryDocument document;
    bool writable = true;
    const std::size_t sections = provider.ConsumeIntegralInRange(0, 6);
    for (std::size_t i = 0; i < sections && provider.remaining_bytes() > 0; ++i) {
        RegistrySection section;
        section.path = fuzzsupport::ConsumeText16(provider, 40);
        writable = writable && IsWritableKeyPath(section.path);
        const std::size_t values = provider.ConsumeIntegralInRange(0, 6);
        for (std::size_t j = 0; j < values && provider.remaining_bytes() > 0; ++j) {
            section.values.push_back(ConsumeValue(provider));
            writable = writable && IsWritableRegistryText(section.values.back().name);
        }
        document.sections.push_back(std::move(section));
    }
    std::string text;
    const bool written = SerializeRegistryFile(document, text);
    FUZZ_CHECK(written == writable);
    if (!written)
        return;
    RegistryDocument read;
    FUZZ_CHECK(ParseRegistryFile(text, read));
    FUZZ_CHECK(read == Merged(document));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CheckText(std::string_view(reinterpret_cast<const char*>(data), size));
    FuzzedDataProvider provider(data, size);
    CheckDocument(provider);
    return 0;
}
