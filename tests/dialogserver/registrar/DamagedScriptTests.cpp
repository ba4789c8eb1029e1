// Damaged scripts: each kind of damage fails with its own status and plans nothing; the limits
// hold exactly at their bounds; truncated and mutated copies of the shipped scripts never plan a
// part of themselves (the sanitized native build watches for memory faults on the way).
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialogserver/registrar/Limits.h"
#include "foundation/text/Utf.h"
#include "tests/dialogserver/registrar/RegistrarTestSupport.h"

using namespace registrartest;
using namespace dialogserver::registrar;
using namespace std::string_literals;

namespace {

const char* const kAllScripts[] = {"AppId.rgs", "Babylon.rgs", "Multilex.rgs", "Lingvo.rgs", "Google.rgs"};

// Plans `script` both ways: a failure must be the same both ways and plan nothing.
std::int32_t PlanBothWays(std::u16string_view script, bool& plannedNothingOnFailure)
{
    std::int32_t registering = 0;
    std::int32_t unregistering = 0;
    const std::vector<Operation> registration = Plan(script, true, false, registering);
    const std::vector<Operation> unregistration = Plan(script, false, true, unregistering);
    plannedNothingOnFailure =
        registering == unregistering && (registering == 0 || (registration.empty() && unregistration.empty()));
    return registering;
}

std::u16string Repeat(std::u16string_view text, std::size_t count)
{
    std::u16string result;
    for (std::size_t i = 0; i < count; ++i)
        result += text;
    return result;
}

// A chain of `depth` nested keys named `name`.
std::u16string NestedKeys(std::size_t depth, std::u16string_view name = u"K")
{
    return u"HKCR { " + Repeat(std::u16string(name) + u" { ", depth) + Repeat(u"} ", depth) + u"}";
}

bool IsAllScriptSpace(std::u16string_view text)
{
    return text.find_first_not_of(u" \t\r\n") == std::u16string_view::npos;
}

}  // namespace

TEST(DamagedScripts, EachKindOfDamageHasItsStatusAndPlansNothing)
{
    struct DamageCase {
        const char* what;
        std::u16string script;
        std::int32_t status;
    };
    const DamageCase cases[] = {
        {"empty", u"", kErrorUnexpectedEnd},
        {"white space only", u" \r\n\t ", kErrorUnexpectedEnd},
        {"root alone", u"HKCR", kErrorUnexpectedEnd},
        {"root block never closed", u"HKCR {", kErrorUnexpectedEnd},
        {"key block never closed", u"HKCR { A { B }", kErrorUnexpectedEnd},
        {"one brace too many", u"HKCR { A } }", kErrorUnexpectedToken},
        {"block without a root", u"{ A }", kErrorUnexpectedToken},
        {"root without its brace", u"HKCR A { }", kErrorMissingOpenBrace},
        {"root followed by a closing brace", u"HKCR } ", kErrorMissingOpenBrace},
        {"unknown root", u"HKXX { A }", kErrorBadRootKey},
        {"root not supported", u"HKCC { A }", kErrorBadRootKey},
        {"quoted root", u"'HKCR' { A }", kErrorBadRootKey},
        {"trailing garbage", u"HKCR { A } garbage", kErrorBadRootKey},
        {"unterminated quote", u"HKCR { A = s 'x }", kErrorUnterminatedQuote},
        {"unterminated quote at the end", u"HKCR { A } '", kErrorUnterminatedQuote},
        {"quote inside a word", u"HKCR { it's }", kErrorStrayQuote},
        {"quote closing a word", u"HKCR { A = s x' }", kErrorStrayQuote},
        {"quoted text run into a word", u"HKCR { 'A'B }", kErrorStrayQuote},
        {"quoted text run into a brace", u"HKCR { A = s 'x'}", kErrorStrayQuote},
        {"DWORD value", u"HKCR { A = d '1' }", kErrorUnsupportedValueType},
        {"binary value", u"HKCR { A = b '00' }", kErrorUnsupportedValueType},
        {"unknown value type", u"HKCR { A = x 'y' }", kErrorUnsupportedValueType},
        {"quoted value type", u"HKCR { A = 's' 'y' }", kErrorUnsupportedValueType},
        {"value type missing", u"HKCR { A = 'y' }", kErrorUnsupportedValueType},
        {"text missing before a brace", u"HKCR { A = s }", kErrorUnexpectedToken},
        {"text missing at the end", u"HKCR { A = s", kErrorUnexpectedEnd},
        {"Delete keyword", u"HKCR { Delete A }", kErrorUnsupportedKeyword},
        {"two removal keywords", u"HKCR { ForceRemove NoRemove A }", kErrorUnexpectedToken},
        {"ForceRemove on a value", u"HKCR { A { ForceRemove val v = s 'x' } }", kErrorUnexpectedToken},
        {"removal keyword at the end", u"HKCR { NoRemove", kErrorUnexpectedEnd},
        {"named value without equals", u"HKCR { A { val v 'x' } }", kErrorExpectingEquals},
        {"named value without a name", u"HKCR { A { val } }", kErrorUnexpectedToken},
        {"named value in a root block", u"HKCR { val v = s 'x' }", kErrorValueOutsideKey},
        {"default value in a root block", u"HKCR { = s 'x' }", kErrorValueOutsideKey},
        {"default value with no key in a block", u"HKCR { A { = s 'x' } }", kErrorValueOutsideKey},
        {"two default values", u"HKCR { A = s 'x' = s 'y' }", kErrorValueOutsideKey},
        {"empty key name", u"HKCR { '' }", kErrorBadName},
        {"empty value name", u"HKCR { A { val '' = s 'x' } }", kErrorBadName},
        {"compound key name", u"HKCR { 'A\\B' }", kErrorBadName},
        {"block without a key", u"HKCR { A { { } } }", kErrorUnexpectedToken},
        {"zero unit", u"HKCR { A\0 }"s, kErrorEmbeddedNul},
        {"zero unit in a quoted text", u"HKCR { A = s 'x\0y' }"s, kErrorEmbeddedNul},
        {"unknown variable", u"HKCR { A = s '%NOPE%' }", kErrorUnknownVariable},
        {"unclosed variable", u"HKCR { A = s '%MODULE' }", kErrorUnterminatedVariable},
    };
    for (const DamageCase& damage : cases) {
        SCOPED_TRACE(damage.what);
        bool plannedNothing = false;
        EXPECT_EQ(damage.status, PlanBothWays(damage.script, plannedNothing));
        EXPECT_TRUE(plannedNothing);
    }
}

TEST(DamagedScripts, LimitsHoldExactlyAtTheirBounds)
{
    struct LimitCase {
        const char* what;
        std::u16string withinBound;
        std::u16string pastBound;
        std::int32_t status;
    };
    const std::u16string smallest = u"HKCR { K }";
    const std::u16string keyName(kMaxKeyNameLength, u'k');
    const std::u16string valueName(kMaxValueNameLength, u'v');
    // Paths of exactly kMaxKeyPathLength (512) units and one more.
    const std::u16string longPath = u"HKCR { " + keyName + u" { " + std::u16string(254, u'm') + u" { C } } }";
    const std::u16string tooLongPath = u"HKCR { " + keyName + u" { " + keyName + u" { C } } }";
    const LimitCase cases[] = {
        {"script length", smallest + std::u16string(kMaxScriptLength - smallest.size(), u' '),
         smallest + std::u16string(kMaxScriptLength - smallest.size() + 1, u' '), kErrorScriptTooLarge},
        {"nesting", NestedKeys(kMaxNesting), NestedKeys(kMaxNesting + 1), kErrorNestingTooDeep},
        {"nesting far past the bound", NestedKeys(kMaxNesting), NestedKeys(10000), kErrorNestingTooDeep},
        {"key name", u"HKCR { " + keyName + u" }", u"HKCR { " + keyName + u"k }", kErrorBadName},
        {"value name", u"HKCR { K { val " + valueName + u" = s 'x' } }",
         u"HKCR { K { val " + valueName + u"v = s 'x' } }", kErrorBadName},
        {"key path", longPath, tooLongPath, kErrorKeyPathTooLong},
    };
    for (const LimitCase& limit : cases) {
        SCOPED_TRACE(limit.what);
        bool plannedNothing = false;
        EXPECT_EQ(0, PlanBothWays(limit.withinBound, plannedNothing));
        EXPECT_EQ(limit.status, PlanBothWays(limit.pastBound, plannedNothing));
        EXPECT_TRUE(plannedNothing);
    }
}

TEST(DamagedScripts, ReplacedTextMayNotGrowPastItsBound)
{
    const std::u16string script = u"HKCR { K = s '%MODULE%' }";
    // The script's own text, "%MODULE%" replaced by nothing but its two double quotes.
    const std::size_t around = script.size() - 8 + 2;
    std::int32_t status = -1;
    const std::u16string fits(kMaxExpandedLength - around, u'p');
    EXPECT_EQ(2u, Plan(script, true, false, status, Replacements{fits, kAppId}).size());
    EXPECT_EQ(0, status);
    EXPECT_TRUE(Plan(script, true, false, status, Replacements{fits + u"p", kAppId}).empty());
    EXPECT_EQ(kErrorScriptTooLarge, status);

    // Many uses of a long path stop as soon as the text is too long.
    const std::u16string manyUses = u"HKCR { K = s '" + Repeat(u"%MODULE%", 5000) + u"' }";
    EXPECT_TRUE(Plan(manyUses, true, false, status, Replacements{std::u16string(10000, u'p'), kAppId}).empty());
    EXPECT_EQ(kErrorScriptTooLarge, status);
}

TEST(DamagedScripts, EveryTruncationOfAShippedScriptFails)
{
    for (const char* file : kAllScripts) {
        SCOPED_TRACE(file);
        const std::u16string script = ReadShippedScript(file);
        ASSERT_FALSE(script.empty());
        std::int32_t status = -1;
        const std::vector<Operation> whole = Plan(script, true, false, status);
        ASSERT_EQ(0, status);
        for (std::size_t length = 0; length < script.size(); ++length) {
            const std::u16string_view truncated = std::u16string_view(script).substr(0, length);
            bool plannedNothing = false;
            const std::int32_t truncatedStatus = PlanBothWays(truncated, plannedNothing);
            if (IsAllScriptSpace(std::u16string_view(script).substr(length))) {
                // Only white space is missing: the same script.
                EXPECT_EQ(whole, Plan(truncated, true, false, status)) << "length " << length;
            } else {
                EXPECT_TRUE(IsScriptError(truncatedStatus)) << "length " << length;
                EXPECT_TRUE(plannedNothing) << "length " << length;
            }
        }
    }
}

TEST(DamagedScripts, RandomByteMutationsOfShippedScriptsFailWholeOrPlanWhole)
{
    std::mt19937 random(20240917);
    for (const char* file : kAllScripts) {
        SCOPED_TRACE(file);
        const std::string bytes = ReadShippedScriptBytes(file);
        ASSERT_FALSE(bytes.empty());
        std::uniform_int_distribution<std::size_t> position(0, bytes.size() - 1);
        std::uniform_int_distribution<int> byte(0, 255);
        int failures = 0;
        for (int round = 0; round < 1000; ++round) {
            std::string mutated = bytes;
            const int changes = 1 + round % 4;
            for (int change = 0; change < changes; ++change)
                mutated[position(random)] = static_cast<char>(byte(random));
            bool plannedNothing = false;
            const std::int32_t status = PlanBothWays(text::Utf8ToUtf16(mutated), plannedNothing);
            EXPECT_TRUE(status == 0 || IsScriptError(status)) << "round " << round << ": " << status;
            EXPECT_TRUE(plannedNothing) << "round " << round;
            failures += status != 0;
        }
        // Changes inside names and texts are harmless; a good share hits the structure.
        EXPECT_GT(failures, 200);
    }
}

TEST(DamagedScripts, AnInsertedQuoteOrZeroAnywhereFailsAShippedScript)
{
    std::mt19937 random(7);
    for (const char* file : kAllScripts) {
        SCOPED_TRACE(file);
        const std::u16string script = ReadShippedScript(file);
        ASSERT_FALSE(script.empty());
        std::uniform_int_distribution<std::size_t> position(0, script.size());
        for (int round = 0; round < 300; ++round) {
            const std::size_t at = position(random);
            bool plannedNothing = false;
            // An odd number of quotes can never be read as quoted texts.
            std::u16string withQuote = script;
            withQuote.insert(at, 1, u'\'');
            EXPECT_TRUE(IsScriptError(PlanBothWays(withQuote, plannedNothing))) << "quote at " << at;
            EXPECT_TRUE(plannedNothing);

            std::u16string withZero = script;
            withZero.insert(at, 1, u'\0');
            EXPECT_EQ(kErrorEmbeddedNul, PlanBothWays(withZero, plannedNothing)) << "zero at " << at;
            EXPECT_TRUE(plannedNothing);
        }
    }
}
