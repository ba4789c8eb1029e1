// The script language on small scripts: how names, quotes, white space, roots and keywords are
// read, and what registration and unregistration make of ForceRemove, NoRemove and val.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/dialogserver/registrar/RegistrarTestSupport.h"

using namespace registrartest;

namespace {

constexpr Root HKCR = Root::ClassesRoot;

struct Mode {
    bool registering;
    bool perUser;
};
constexpr Mode kRegister{true, false};
constexpr Mode kUnregister{false, false};
constexpr Mode kRegisterPerUser{true, true};
constexpr Mode kUnregisterPerUser{false, true};

struct LanguageCase {
    const char* what;
    std::u16string script;
    Mode mode;
    std::vector<Operation> expected;
};

const std::vector<LanguageCase>& LanguageCases()
{
    static const std::vector<LanguageCase> cases = {
        {"bare and quoted names and texts",
         u"HKCR { 'A b' = s 'x y' { Sub = s Word } }",
         kRegister,
         {CreateKey(HKCR, u"A b"), SetString(HKCR, u"A b", u"", u"x y"), CreateKey(HKCR, u"A b\\Sub"),
          SetString(HKCR, u"A b\\Sub", u"", u"Word")}},
        {"a doubled quote is one quote",
         u"HKCR { 'it''s' = s 'a''b''''c' }",
         kRegister,
         {CreateKey(HKCR, u"it's"), SetString(HKCR, u"it's", u"", u"a'b''c")}},
        {"an empty quoted text is an empty value",
         u"HKCR { A = s '' }",
         kRegister,
         {CreateKey(HKCR, u"A"), SetString(HKCR, u"A", u"", u"")}},
        {"spaces, tabs, CR LF and LF separate tokens",
         u"\r\n HKCR\r\n{\tA\r\n=\ts\n'v'\n}\t\r\n",
         kRegister,
         {CreateKey(HKCR, u"A"), SetString(HKCR, u"A", u"", u"v")}},
        {"braces belong to a name unless they stand alone",
         u"HKCR { {A} = s '{B}' { }{ } }",
         kRegister,
         {CreateKey(HKCR, u"{A}"), SetString(HKCR, u"{A}", u"", u"{B}"), CreateKey(HKCR, u"{A}\\}{")}},
        {"root names short and long in any case, blocks in order",
         u"hkey_local_machine { A } HKEY_USERS { B } Hkcu { C } HKEY_CLASSES_ROOT { D } hkcr { E }",
         kRegister,
         {CreateKey(Root::LocalMachine, u"A"), CreateKey(Root::Users, u"B"), CreateKey(Root::CurrentUser, u"C"),
          CreateKey(HKCR, u"D"), CreateKey(HKCR, u"E")}},
        {"keywords and the value type in any case",
         u"HKCR { noremove A { VAL v = S 'x' } FORCEREMOVE B }",
         kRegister,
         {CreateKey(HKCR, u"A"), SetString(HKCR, u"A", u"v", u"x"), DeleteTree(HKCR, u"B"), CreateKey(HKCR, u"B")}},
        {"a quoted keyword is a name",
         u"HKCR { 'NoRemove' = s 'x' 'val' { 's' = s 's' } 'HKCU' }",
         kRegister,
         {CreateKey(HKCR, u"NoRemove"), SetString(HKCR, u"NoRemove", u"", u"x"), CreateKey(HKCR, u"val"),
          CreateKey(HKCR, u"val\\s"), SetString(HKCR, u"val\\s", u"", u"s"), CreateKey(HKCR, u"HKCU")}},
        {"text beyond the basic plane",
         u"HKCR { 'Словарь' = s '翻訳 \U0001F4D6' }",
         kRegister,
         {CreateKey(HKCR, u"Словарь"), SetString(HKCR, u"Словарь", u"", u"翻訳 \U0001F4D6")}},
        {"ForceRemove deletes the tree before writing it again",
         u"HKCR { NoRemove P { ForceRemove K = s 'd' { val n = s 'v' NoRemove L } } }",
         kRegister,
         {CreateKey(HKCR, u"P"), DeleteTree(HKCR, u"P\\K"), CreateKey(HKCR, u"P\\K"),
          SetString(HKCR, u"P\\K", u"", u"d"), SetString(HKCR, u"P\\K", u"n", u"v"), CreateKey(HKCR, u"P\\K\\L")}},
        {"an empty block is no block", u"HKCR { A { } B }", kRegister, {CreateKey(HKCR, u"A"), CreateKey(HKCR, u"B")}},
        {"unregistration deletes a removable key with its tree in one step",
         u"HKCR { ForceRemove A = s 'x' { B { val v = s 'y' } C } D }",
         kUnregister,
         {DeleteTree(HKCR, u"A"), DeleteTree(HKCR, u"D")}},
        {"unregistration deletes the named values of a kept key, but not NoRemove ones",
         u"HKCR { NoRemove A = s 'kept' { val v = s 'x' NoRemove val w = s 'y' B { val z = s '1' } } }",
         kUnregister,
         {DeleteValue(HKCR, u"A", u"v"), DeleteTree(HKCR, u"A\\B")}},
        {"a removable key holding a NoRemove key is kept; the rest it holds goes",
         u"HKCR { A { NoRemove B { C } D val v = s 'x' } E }",
         kUnregister,
         {DeleteTree(HKCR, u"A\\B\\C"), DeleteTree(HKCR, u"A\\D"), DeleteValue(HKCR, u"A", u"v"),
          DeleteTree(HKCR, u"E")}},
        {"a NoRemove key holding nothing removable plans nothing", u"HKCR { NoRemove CLSID }", kUnregister, {}},
        {"per user, only HKEY_CLASSES_ROOT moves to the user's classes",
         u"HKCR { A { val v = s 'x' } } HKLM { B } HKEY_CLASSES_ROOT { C } HKCU { D }",
         kRegisterPerUser,
         {CreateKey(Root::CurrentUser, u"Software\\Classes\\A"),
          SetString(Root::CurrentUser, u"Software\\Classes\\A", u"v", u"x"), CreateKey(Root::LocalMachine, u"B"),
          CreateKey(Root::CurrentUser, u"Software\\Classes\\C"), CreateKey(Root::CurrentUser, u"D")}},
        {"per user unregistration",
         u"HKCR { NoRemove A { B val v = s 'x' } } HKLM { C }",
         kUnregisterPerUser,
         {DeleteTree(Root::CurrentUser, u"Software\\Classes\\A\\B"),
          DeleteValue(Root::CurrentUser, u"Software\\Classes\\A", u"v"), DeleteTree(Root::LocalMachine, u"C")}},
    };
    return cases;
}

}  // namespace

TEST(ScriptLanguage, PlansWhatEachConstructMeans)
{
    for (const LanguageCase& languageCase : LanguageCases()) {
        SCOPED_TRACE(languageCase.what);
        std::int32_t status = -1;
        const std::vector<Operation> plan =
            Plan(languageCase.script, languageCase.mode.registering, languageCase.mode.perUser, status);
        EXPECT_EQ(0, status);
        EXPECT_EQ(languageCase.expected, plan);
    }
}

TEST(ScriptLanguage, PlanReplacesWhatTheCallerPassedIn)
{
    std::vector<Operation> operations = {CreateKey(HKCR, u"left over")};
    ASSERT_EQ(0, dialogserver::registrar::PlanScript(u"HKCR { A }", TestReplacements(), true, false, operations));
    EXPECT_EQ(std::vector<Operation>{CreateKey(HKCR, u"A")}, operations);

    operations = {CreateKey(HKCR, u"left over")};
    EXPECT_NE(0, dialogserver::registrar::PlanScript(u"HKCR { A", TestReplacements(), true, false, operations));
    EXPECT_TRUE(operations.empty());
}
