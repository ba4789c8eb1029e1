// The five scripts of VocabraHelper.exe, planned as shipped: the keys and values they register and
// remove, machine-wide and per user, in the order they are written.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/dialogserver/registrar/RegistrarTestSupport.h"

using namespace registrartest;

namespace {

// Where the scripts' HKEY_CLASSES_ROOT lands.
struct Destination {
    const char* what;
    bool perUser;
    Root root;
    const char16_t* base;
};

const Destination kDestinations[] = {
    {"machine-wide", false, Root::ClassesRoot, u""},
    {"per user", true, Root::CurrentUser, u"Software\\Classes\\"},
};

constexpr char16_t kQuotedProgramPath[] = u"\"C:\\Program Files\\Vocabra\\VocabraHelper.exe\"";

// Writes down an expected plan below one destination.
class ExpectedPlan {
public:
    explicit ExpectedPlan(const Destination& destination) : m_destination(destination) {}

    ExpectedPlan& Key(const std::u16string& path) { return Add(CreateKey(m_destination.root, Full(path))); }
    ExpectedPlan& Key(const std::u16string& path, const std::u16string& defaultValue)
    {
        Key(path);
        return Add(SetString(m_destination.root, Full(path), u"", defaultValue));
    }
    ExpectedPlan& Value(const std::u16string& path, const std::u16string& name, const std::u16string& data)
    {
        return Add(SetString(m_destination.root, Full(path), name, data));
    }
    ExpectedPlan& RemoveTree(const std::u16string& path) { return Add(DeleteTree(m_destination.root, Full(path))); }

    const std::vector<Operation>& Operations() const { return m_operations; }

private:
    std::u16string Full(const std::u16string& path) const { return m_destination.base + path; }
    ExpectedPlan& Add(Operation operation)
    {
        m_operations.push_back(std::move(operation));
        return *this;
    }

    const Destination& m_destination;
    std::vector<Operation> m_operations;
};

std::u16string ProgId(const ShippedClass& shipped)
{
    return u"Vocabra.Dialog." + shipped.service;
}

std::u16string VersionedProgId(const ShippedClass& shipped)
{
    return ProgId(shipped) + u".1";
}

std::u16string ClassKey(const ShippedClass& shipped)
{
    return u"CLSID\\" + shipped.clsid;
}

std::vector<Operation> ExpectedClassRegistration(const ShippedClass& shipped, const Destination& destination)
{
    const std::u16string description = shipped.service + u"DictionaryDialog Class";
    const std::u16string classKey = ClassKey(shipped);
    ExpectedPlan plan(destination);
    plan.Key(VersionedProgId(shipped), description)
        .Key(VersionedProgId(shipped) + u"\\CLSID", shipped.clsid)
        .Key(ProgId(shipped), description)
        .Key(ProgId(shipped) + u"\\CLSID", shipped.clsid)
        .Key(ProgId(shipped) + u"\\CurVer", VersionedProgId(shipped))
        .Key(u"CLSID")
        .RemoveTree(classKey)
        .Key(classKey, description)
        .Key(classKey + u"\\ProgID", VersionedProgId(shipped))
        .Key(classKey + u"\\VersionIndependentProgID", ProgId(shipped))
        .RemoveTree(classKey + u"\\Programmable")
        .Key(classKey + u"\\Programmable")
        .Key(classKey + u"\\LocalServer32", kQuotedProgramPath);
    if (shipped.writesAppId)
        plan.Value(classKey, u"AppID", kAppId);
    plan.Key(classKey + u"\\TypeLib", kTypeLibId);
    return plan.Operations();
}

std::vector<Operation> ExpectedClassUnregistration(const ShippedClass& shipped, const Destination& destination)
{
    ExpectedPlan plan(destination);
    plan.RemoveTree(VersionedProgId(shipped)).RemoveTree(ProgId(shipped)).RemoveTree(ClassKey(shipped));
    return plan.Operations();
}

}  // namespace

namespace {
// Every class script planned one way, for both destinations, against what `expected` lists.
void ExpectClassPlans(bool registering, std::vector<Operation> (*expected)(const ShippedClass&, const Destination&))
{
    for (const ShippedClass& shipped : ShippedClasses()) {
        const std::u16string script = ReadShippedScript(shipped.scriptFile);
        ASSERT_FALSE(script.empty()) << shipped.scriptFile;
        for (const Destination& destination : kDestinations) {
            SCOPED_TRACE(std::string(shipped.scriptFile) + ", " + destination.what);
            std::int32_t status = -1;
            const std::vector<Operation> plan = Plan(script, registering, destination.perUser, status);
            EXPECT_EQ(0, status);
            EXPECT_EQ(expected(shipped, destination), plan);
        }
    }
}
}  // namespace

TEST(ShippedScripts, ClassScriptsRegisterProgIdsAndClassKeyInScriptOrder)
{
    ExpectClassPlans(true, &ExpectedClassRegistration);
}

TEST(ShippedScripts, ClassScriptsUnregisterProgIdsAndClassKeyButNeverClsid)
{
    ExpectClassPlans(false, &ExpectedClassUnregistration);
}

TEST(ShippedScripts, AppIdScriptWritesTheAppIdKeysAndKeepsAppIdOnUnregistration)
{
    const std::u16string script = ReadShippedScript("AppId.rgs");
    ASSERT_FALSE(script.empty());
    for (const Destination& destination : kDestinations) {
        SCOPED_TRACE(destination.what);
        ExpectedPlan registration(destination);
        registration.Key(u"AppID")
            .Key(std::u16string(u"AppID\\") + kAppId, u"VocabraHelper")
            .Key(u"AppID\\VocabraHelper.EXE")
            .Value(u"AppID\\VocabraHelper.EXE", u"AppID", kAppId);
        ExpectedPlan unregistration(destination);
        unregistration.RemoveTree(std::u16string(u"AppID\\") + kAppId).RemoveTree(u"AppID\\VocabraHelper.EXE");

        std::int32_t status = -1;
        EXPECT_EQ(registration.Operations(), Plan(script, true, destination.perUser, status));
        EXPECT_EQ(0, status);
        EXPECT_EQ(unregistration.Operations(), Plan(script, false, destination.perUser, status));
        EXPECT_EQ(0, status);
    }
}

TEST(ShippedScripts, ProgramPathWithAQuoteReachesLocalServer32Intact)
{
    const Replacements replacements{u"C:\\Users\\O'Brien\\My Tools\\VocabraHelper.exe", kAppId};
    for (const ShippedClass& shipped : ShippedClasses()) {
        SCOPED_TRACE(shipped.scriptFile);
        std::int32_t status = -1;
        const std::vector<Operation> plan =
            Plan(ReadShippedScript(shipped.scriptFile), true, false, status, replacements);
        ASSERT_EQ(0, status);
        const Operation expected = SetString(Root::ClassesRoot, ClassKey(shipped) + u"\\LocalServer32", u"",
                                             u"\"C:\\Users\\O'Brien\\My Tools\\VocabraHelper.exe\"");
        EXPECT_EQ(1, std::count(plan.begin(), plan.end(), expected));
    }
}
