// Comparisons that ignore letter case as the file system does, one UTF-16 unit at a time; and
// those that ignore it in A-Z only.
#include <gtest/gtest.h>

#include "foundation/text/AsciiCase.h"
#include "foundation/text/OrdinalCase.h"
#include "foundation/text/Utf.h"

namespace {

// Two texts, and whether a comparison that ignores case takes them for the same.
struct Pair {
    const char16_t* a;
    const char16_t* b;
    bool equal;
};

template <std::size_t N>
void ExpectEqualities(const Pair (&pairs)[N], bool (*equals)(std::u16string_view, std::u16string_view))
{
    for (const Pair& pair : pairs) {
        SCOPED_TRACE(text::Utf16ToUtf8(pair.a) + " / " + text::Utf16ToUtf8(pair.b));
        EXPECT_EQ(equals(pair.a, pair.b), pair.equal);
    }
}

TEST(OrdinalCase, LettersOfEachCoveredScriptMatchTheirOtherCase)
{
    const Pair cases[] = {
        {u"Vocabra Test", u"vOCABRA tEST", true},
        {u"\u00e0\u00fe\u00ff", u"\u00c0\u00de\u0178", true},              // Latin-1, ÿ and Ÿ
        {u"\u0101\u013a\u017e\u0133", u"\u0100\u0139\u017d\u0132", true},  // Latin Extended-A, both pairings
        {u"\u03b1\u03c2\u03c3\u03ac\u03ce", u"\u0391\u03a3\u03a3\u0386\u038f", true},  // Greek, final sigma
        {u"\u043f\u043e\u043b\u044c\u0437\u043e\u0432\u0430\u0442\u0435\u043b\u044c",
         u"\u041f\u041e\u041b\u042c\u0417\u041e\u0412\u0410\u0422\u0415\u041b\u042c", true},  // Пользователь
        {u"\u0451\u045f\u0491\u04c2\u04d9", u"\u0401\u040f\u0490\u04c1\u04d8", true},         // ё џ ґ ӂ ә
        {u"\u0561\uff41", u"\u0531\uff21", true},                                             // Armenian, full-width
        // Not the same letter: neighbours in the blocks, letters of other scripts that look alike.
        {u"\u0430", u"\u0431", false},
        {u"\u0101", u"\u0102", false},
        {u"\u0430", u"a", false},
        {u"\u00f7", u"\u00d7", false},  // ÷ and × are no letters
        {u"ss", u"\u00df", false},      // one unit for one unit only
        {u"ab", u"abc", false},
    };
    ExpectEqualities(cases, text::EqualsIgnoringCase);
}

TEST(OrdinalCase, UpperCaseOfUnitsOutsideTheLettersIsTheUnitItself)
{
    for (const char16_t unit : {u'0', u'/', u'\\', u'%', u'\u00d7', u'\u0138', u'\u0149', u'\u2116', u'\uffff'})
        EXPECT_EQ(text::OrdinalUpper(unit), unit) << static_cast<int>(unit);
}

// The words that ignore case only in A-Z (switches, schemes, registry names) must not take a
// letter of another script, or a neighbour of A-Z, for one of theirs.
TEST(AsciiCase, OnlyTheLettersAToZMatchTheirOtherCase)
{
    const Pair cases[] = {
        {u"RegServer AZaz", u"rEGsERVER azAZ", true},
        {u"", u"", true},
        {u"@", u"`", false},  // the units beside A-Z and a-z are no letters
        {u"[", u"{", false},
        {u"àаａ", u"ÀАＡ", false},  // à а ａ: letters, but not ASCII ones
        {u"ab", u"abc", false},
    };
    ExpectEqualities(cases, text::EqualsIgnoringAsciiCase);
}

TEST(AsciiCase, PrefixesMatchWhateverTheirCaseInBothWidths)
{
    EXPECT_TRUE(text::StartsWithIgnoringAsciiCase(u"HTTPS://example", u"https://"));
    EXPECT_TRUE(text::StartsWithIgnoringAsciiCase(u"http://", u"HTTP://"));
    EXPECT_FALSE(text::StartsWithIgnoringAsciiCase(u"http:/", u"http://"));
    EXPECT_FALSE(text::StartsWithIgnoringAsciiCase(u"хttp://", u"http://"));
    EXPECT_TRUE(text::StartsWithIgnoringAsciiCase(std::string_view("Location: /next"), "location:"));
    EXPECT_TRUE(text::StartsWithIgnoringAsciiCase(std::string_view("DWORD:00000001"), "dword:"));
    EXPECT_FALSE(text::StartsWithIgnoringAsciiCase(std::string_view("hex"), "hex:"));
}

}  // namespace
