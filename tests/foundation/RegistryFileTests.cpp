#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/win32api/RegistryFile.h"

using namespace Win32::API;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Utf16Le(std::u16string_view text, bool terminated = true)
{
    Bytes bytes;
    for (char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    if (terminated)
        bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

const std::u16string kKey = u"HKEY_CURRENT_USER\\Software\\Corvane\\Vocabra";
const std::string kHeader = "Windows Registry Editor Version 5.00\n\n";
const std::string kExample = kHeader +
                             "[HKEY_CURRENT_USER\\Software\\Corvane\\Vocabra]\n"
                             "\"dictionaryPriority\"=\"Multilex,Lingvo\"\n"
                             "\"useCtrlCC\"=dword:00000000\n"
                             "\"lastCheckForUpdateTime\"=hex(b):00,e1,f5,05,00,00,00,00\n"
                             "\"blob\"=hex(3):01,02\n\n";

RegistryDocument ExampleDocument()
{
    return {{{kKey,
              {{u"dictionaryPriority", kRegSz, Utf16Le(u"Multilex,Lingvo")},
               {u"useCtrlCC", kRegDword, {0, 0, 0, 0}},
               {u"lastCheckForUpdateTime", kRegQword, {0x00, 0xe1, 0xf5, 0x05, 0, 0, 0, 0}},
               {u"blob", kRegBinary, {1, 2}}}}}};
}

std::string Serialize(const RegistryDocument& document)
{
    std::string text;
    EXPECT_TRUE(SerializeRegistryFile(document, text));
    return text;
}

}  // namespace

TEST(RegistryFile, WritesTheRegeditLayout)
{
    EXPECT_EQ(Serialize(ExampleDocument()), kExample);
}

// Each value is written in the form its type and bytes allow, and reads back unchanged.
TEST(RegistryFile, EveryValueRoundTripsInItsForm)
{
    const std::u16string loneSurrogate(1, char16_t(0xD800));
    const struct {
        RegistryValue value;
        std::string line;
    } cases[] = {
        {{u"plain", kRegSz, Utf16Le(u"Multilex,Lingvo")}, "\"plain\"=\"Multilex,Lingvo\""},
        {{u"a\\b\"c", kRegSz, Utf16Le(u"C:\\dir\\\"x\"")}, "\"a\\\\b\\\"c\"=\"C:\\\\dir\\\\\\\"x\\\"\""},
        {{u"wide", kRegSz, Utf16Le(u"Словарь \U0001F600")}, "\"wide\"=\"Словарь \xF0\x9F\x98\x80\""},
        {{u"empty", kRegSz, Utf16Le(u"")}, "\"empty\"=\"\""},
        {{u"", kRegSz, Utf16Le(u"default")}, "@=\"default\""},
        {{u"cr", kRegSz, Utf16Le(u"a\r")}, "\"cr\"=hex(1):61,00,0d,00,00,00"},
        {{u"lf", kRegSz, Utf16Le(u"\n")}, "\"lf\"=hex(1):0a,00,00,00"},
        {{u"inner zero", kRegSz, Utf16Le(std::u16string(u"a\0b", 3))}, "=hex(1):61,00,00,00,62,00,00,00"},
        {{u"two zeros", kRegSz, Utf16Le(std::u16string(u"a\0", 2))}, "=hex(1):61,00,00,00,00,00"},
        {{u"unterminated", kRegSz, Utf16Le(u"ab", false)}, "=hex(1):61,00,62,00"},
        {{u"odd", kRegSz, {0x61, 0, 0, 0, 0}}, "\"odd\"=hex(1):61,00,00,00,00"},
        {{u"no bytes", kRegSz, {}}, "\"no bytes\"=hex(1):\n"},
        {{u"surrogate", kRegSz, Utf16Le(loneSurrogate)}, "=hex(1):00,d8,00,00"},
        {{u"dword", kRegDword, {0xcd, 0xab, 0, 0}}, "\"dword\"=dword:0000abcd"},
        {{u"short", kRegDword, {1, 2, 3}}, "\"short\"=hex(4):01,02,03"},
        {{u"nothing", kRegDword, {}}, "\"nothing\"=hex(4):\n"},
        {{u"qword", kRegQword, {0x00, 0xe1, 0xf5, 0x05, 0, 0, 0, 0}}, "=hex(b):00,e1,f5,05,00,00,00,00"},
        {{u"binary", kRegBinary, {0xAB}}, "\"binary\"=hex(3):ab"},
        {{u"multi", kRegMultiSz, Utf16Le(std::u16string(u"a\0", 2))}, "\"multi\"=hex(7):61,00,00,00,00,00"},
        {{u"odd type", 0x12345678u, {7}}, "\"odd type\"=hex(12345678):07"},
    };
    RegistryDocument all{{{kKey, {}}, {u"HKEY_USERS\\Second", {{u"x", kRegDword, {1, 0, 0, 0}}}}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const RegistryDocument single{{{kKey, {c.value}}}};
        const std::string text = Serialize(single);
        EXPECT_NE(text.find(c.line), std::string::npos) << text;
        RegistryDocument parsed;
        ASSERT_TRUE(ParseRegistryFile(text, parsed)) << text;
        EXPECT_EQ(parsed, single);
        all.sections[0].values.push_back(c.value);
    }
    // Many values and sections at once keep their order.
    RegistryDocument parsed;
    ASSERT_TRUE(ParseRegistryFile(Serialize(all), parsed));
    EXPECT_EQ(parsed, all);
}

TEST(RegistryFile, LongHexListsContinueOnShortLines)
{
    Bytes data;
    for (int i = 0; i < 300; ++i)
        data.push_back(static_cast<std::uint8_t>(i * 7));
    const RegistryDocument document{{{kKey, {{u"blob", kRegBinary, data}}}}};
    const std::string text = Serialize(document);
    std::istringstream lines(text);
    int continued = 0;
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 80u) << line;
        continued += !line.empty() && line.back() == '\\';
    }
    EXPECT_GE(continued, 300 * 3 / 80);
    RegistryDocument parsed;
    ASSERT_TRUE(ParseRegistryFile(text, parsed));
    EXPECT_EQ(parsed, document);
}

// Spellings regedit or a person may use for the same content.
TEST(RegistryFile, ReadsEquivalentSpellings)
{
    std::string crlf;
    for (char c : kExample)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const std::string section = "[HKEY_CURRENT_USER\\Software\\Corvane\\Vocabra]\n";
    const std::string rest = "\"useCtrlCC\"=dword:0\n\"lastCheckForUpdateTime\"=hex(B):00,E1,F5,05,00,00,00,00\n";
    const std::string cases[] = {
        kExample,
        crlf,
        "\xEF\xBB\xBF" + kExample,
        "; exported\n\n  Windows Registry Editor Version 5.00  \n; note\n" + section +
            "\t\"dictionaryPriority\"=\"Multilex,Lingvo\"\t\n" + rest + "\"blob\"=hex:01,02\n",
        kHeader + section +
            "\"dictionaryPriority\"=\"Multilex,Lingvo\"\n\"useCtrlCC\"=dword:00000000\n"
            "\"lastCheckForUpdateTime\"=hex(b):00,e1,\\\r\n  f5,05,00,\\\n  00,00,00\n"
            "\"blob\"=hex(3):01,\\\n02\n",
        // Repeats merge: the later data wins, the first spelling and place stay.
        kHeader + section +
            "\"dictionaryPriority\"=\"old\"\n\"useCtrlCC\"=dword:1\n[hkey_current_user\\software\\CORVANE\\vocabra]\n"
            "\"DICTIONARYPRIORITY\"=\"Multilex,Lingvo\"\n" +
            rest + "\"blob\"=hex(3):01,02\n",
    };
    for (const std::string& text : cases) {
        RegistryDocument parsed;
        EXPECT_TRUE(ParseRegistryFile(text, parsed)) << text;
        EXPECT_EQ(parsed, ExampleDocument()) << text;
    }
}

TEST(RegistryFile, RejectsWhatItDoesNotUnderstand)
{
    const std::string start = kHeader + "[HKEY_CURRENT_USER\\A]\n";
    const std::string cases[] = {
        "[HKEY_CURRENT_USER\\A]\n\"a\"=\"b\"\n",  // no header
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n",
        kHeader + "\"a\"=\"b\"\n",  // value outside a section
        kHeader + "[-HKEY_CURRENT_USER\\A]\n",
        kHeader + "[HKEY_CURRENT_USER\\\\A]\n",
        kHeader + "[HKEY_CURRENT_USER\\A\n",
        kHeader + "[HKEY_CURRENT_USER\\A] x\n",
        start + "garbage\n",
        start + "\"a\" = \"b\"\n",
        start + "\"a\"=\"b\n",
        start + "\"a\"=\"b\\n\"\n",
        start + "\"a\"=\"b\" x\n",
        start + "\"a\"=-\n",
        start + "\"a\"=str(2):\"b\"\n",
        start + "\"a\"=dword:000000001\n",
        start + "\"a\"=dword:0000000g\n",
        start + "\"a\"=hex:1,02\n",
        start + "\"a\"=hex:01,\n",
        start + "\"a\"=hex:01, 02\n",
        start + "\"a\"=hex:01,\\\n",
        start + "\"a\"=hex(123456789):01\n",
        start + "\"a\"=\"\xC3(\"\n",
        start + "\"a\"=\"\xED\xA0\x80\"\n",  // an encoded surrogate
        std::string("\xFF\xFEW\0i\0n\0", 8),
    };
    for (const std::string& text : cases) {
        RegistryDocument parsed;
        EXPECT_FALSE(ParseRegistryFile(text, parsed)) << text;
    }
}

TEST(RegistryFile, RefusesToWriteWhatCannotBeReadBack)
{
    const struct {
        std::u16string path;
        std::u16string name;
    } cases[] = {
        {kKey, u"line\nbreak"},    {kKey, std::u16string(u"zero\0", 5)}, {kKey, std::u16string(1, char16_t(0xDC00))},
        {u"-HKEY_USERS\\A", u"a"}, {u"HKEY_USERS\\\\A", u"a"},
    };
    for (const auto& c : cases) {
        std::string text = "unchanged";
        EXPECT_FALSE(SerializeRegistryFile({{{c.path, {{c.name, kRegDword, {}}}}}}, text));
    }
}

TEST(RegistryFile, LooksUpNamesIgnoringAsciiCaseOnly)
{
    RegistryDocument document = ExampleDocument();
    RegistrySection* section = document.FindSection(u"hkey_current_user\\SOFTWARE\\corvane\\VOCABRA");
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(section->FindValue(u"USECTRLcc"), &section->values[1]);
    EXPECT_EQ(section->FindValue(u"useCtrl"), nullptr);
    EXPECT_FALSE(SameRegistryName(u"Ä", u"ä"));

    section->SetValue(u"BLOB", kRegDword, {9, 0, 0, 0});
    EXPECT_EQ(section->values.size(), 4u);
    EXPECT_EQ(section->values[3], (RegistryValue{u"blob", kRegDword, {9, 0, 0, 0}}));
    EXPECT_TRUE(section->EraseValue(u"UseCtrlCC"));
    EXPECT_FALSE(section->EraseValue(u"UseCtrlCC"));
    EXPECT_EQ(section->values.size(), 3u);
}

// A store of a few megabytes reads in linear time: each section is found by its path, not by a
// walk over those before it (tens of seconds at this size). Repeats in another spelling still
// continue the first section.
TEST(RegistryFile, ManySectionsReadInLinearTime)
{
    constexpr int kSections = 40000;
    std::string text = kHeader;
    for (int i = 0; i < kSections; ++i)
        text += "[HKEY_CURRENT_USER\\Software\\Store\\Key" + std::to_string(i) + "]\n\"v\"=dword:00000001\n";
    text += "[hkey_current_user\\software\\store\\KEY7]\n\"v\"=dword:00000002\n\"w\"=\"x\"\n";
    ASSERT_GT(text.size(), 2000000u);

    const auto started = std::chrono::steady_clock::now();
    RegistryDocument parsed;
    ASSERT_TRUE(ParseRegistryFile(text, parsed));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));

    ASSERT_EQ(parsed.sections.size(), static_cast<std::size_t>(kSections));
    const RegistrySection* seventh = parsed.FindSection(u"HKEY_CURRENT_USER\\Software\\Store\\Key7");
    ASSERT_NE(seventh, nullptr);
    EXPECT_EQ(seventh->path, u"HKEY_CURRENT_USER\\Software\\Store\\Key7");
    ASSERT_EQ(seventh->values.size(), 2u);
    EXPECT_EQ(seventh->values[0].data, (Bytes{2, 0, 0, 0}));
    EXPECT_EQ(parsed.sections.back().path, u"HKEY_CURRENT_USER\\Software\\Store\\Key39999");
}
