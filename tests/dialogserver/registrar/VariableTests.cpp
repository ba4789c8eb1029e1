// The script variables: %MODULE% as a quoted program path the script's quoting reads back
// exactly, %APPID%, %% and the failures of names that are unknown or never closed.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialogserver/registrar/Variables.h"
#include "tests/dialogserver/registrar/RegistrarTestSupport.h"

using namespace registrartest;
using namespace dialogserver::registrar;
using namespace std::string_literals;

namespace {

// The default value `script` writes to its one key "K", with `module` as the program path.
std::u16string WrittenText(const std::u16string& script, const std::u16string& module, std::int32_t& status)
{
    const std::vector<Operation> plan = Plan(script, true, false, status, Replacements{module, kAppId});
    return plan.size() == 2 && plan[1].kind == Operation::Kind::SetString ? plan[1].data : u"<no value>";
}

}  // namespace

TEST(ScriptVariables, ModuleIsTheQuotedPathReadBackExactly)
{
    struct ModuleCase {
        std::u16string module;
        std::u16string written;
    };
    const ModuleCase cases[] = {
        {u"C:\\VocabraHelper.exe", u"\"C:\\VocabraHelper.exe\""},
        {u"C:\\Program Files\\Vocabra\\VocabraHelper.exe", u"\"C:\\Program Files\\Vocabra\\VocabraHelper.exe\""},
        {u"C:\\Users\\O'Brien\\VocabraHelper.exe", u"\"C:\\Users\\O'Brien\\VocabraHelper.exe\""},
        {u"C:\\a''b\\'x'.exe", u"\"C:\\a''b\\'x'.exe\""},
        {u"'", u"\"'\""},
        {u"", u"\"\""},
        // The path is not read for variables again.
        {u"C:\\100%\\%APPID%\\x.exe", u"\"C:\\100%\\%APPID%\\x.exe\""},
        {u"C:\\Программы\\VocabraHelper.exe", u"\"C:\\Программы\\VocabraHelper.exe\""},
    };
    for (const ModuleCase& moduleCase : cases) {
        SCOPED_TRACE(testing::PrintToString(moduleCase.written));
        std::int32_t status = -1;
        EXPECT_EQ(moduleCase.written, WrittenText(u"HKCR { K = s '%MODULE%' }", moduleCase.module, status));
        EXPECT_EQ(0, status);
    }
}

TEST(ScriptVariables, QuotedModulePathDoublesSingleQuotesOnly)
{
    EXPECT_EQ(u"\"C:\\O''Brien\\x \"y.exe\"", QuotedModulePath(u"C:\\O'Brien\\x \"y.exe"));
}

TEST(ScriptVariables, NamesAppIdPercentAndCase)
{
    struct TextCase {
        std::u16string script;
        std::u16string written;
    };
    const TextCase cases[] = {
        {u"HKCR { K = s '%APPID%' }", kAppId},
        {u"HKCR { K = s '%appid%' }", kAppId},
        {u"HKCR { K = s '%Module%' }", u"\"C:\\x.exe\""},
        {u"HKCR { K = s '100%%' }", u"100%"},
        {u"HKCR { K = s '%%%APPID%%%' }", std::u16string(u"%") + kAppId + u"%"},
        {u"HKCR { K = s '%MODULE%;%APPID%' }", std::u16string(u"\"C:\\x.exe\";") + kAppId},
        // Replaced in bare text too, before the text is read.
        {u"HKCR { K = s %APPID% }", kAppId},
        {u"HKCR { K = s '%%APPID%%' }", u"%APPID%"},
    };
    for (const TextCase& textCase : cases) {
        SCOPED_TRACE(testing::PrintToString(textCase.script));
        std::int32_t status = -1;
        EXPECT_EQ(textCase.written, WrittenText(textCase.script, u"C:\\x.exe", status));
        EXPECT_EQ(0, status);
    }
}

TEST(ScriptVariables, UnknownOrUnclosedNamesFailTheScript)
{
    struct FailureCase {
        std::u16string script;
        std::int32_t status;
    };
    const FailureCase cases[] = {
        {u"HKCR { K = s '%MODULE_RAW%' }", kErrorUnknownVariable},
        {u"HKCR { K = s '%CLSID%' }", kErrorUnknownVariable},
        {u"HKCR { K = s '% MODULE%' }", kErrorUnknownVariable},
        {u"HKCR { K = s '50% off' }", kErrorUnterminatedVariable},
        {u"HKCR { K = s '%MODULE' }", kErrorUnterminatedVariable},
        {u"HKCR { K = s 'x' } %", kErrorUnterminatedVariable},
    };
    for (const FailureCase& failure : cases) {
        SCOPED_TRACE(testing::PrintToString(failure.script));
        std::int32_t status = 0;
        EXPECT_TRUE(Plan(failure.script, true, false, status).empty());
        EXPECT_EQ(failure.status, status);
    }
}

TEST(ScriptVariables, AZeroInAReplacementFailsTheScriptThatUsesIt)
{
    const Replacements replacements{u"C:\\x\0y.exe"s, kAppId};
    std::int32_t status = 0;
    EXPECT_TRUE(Plan(u"HKCR { K = s '%MODULE%' }", true, false, status, replacements).empty());
    EXPECT_EQ(kErrorEmbeddedNul, status);
}
