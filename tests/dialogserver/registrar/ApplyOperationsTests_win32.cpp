// The applier on the system registry: the shipped scripts registered per user into
// HKEY_CURRENT_USER, checked with the registry API, and unregistered again; how deletions of what
// is missing and failures are reported. Every key the tests write is removed in TearDown.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialogserver/registrar/ApplyOperations_win32.h"
#include "foundation/win32api/Handles.h"
#include "foundation/win32api/WideChar_win32.h"
#include "tests/dialogserver/registrar/RegistrarTestSupport.h"

using namespace registrartest;
using dialogserver::registrar::ApplyOperations;
using Win32::API::RegKey;
using Win32::API::Wide;

namespace {

// A key below the user's classes, where per-user registration writes.
std::u16string UserClasses(const std::u16string& below)
{
    return u"Software\\Classes\\" + below;
}

// A key of the tests' own, below HKEY_CURRENT_USER\Software\VocabraRegistrarTests.
std::u16string Scratch(const std::u16string& below = {})
{
    std::u16string key = u"Software\\VocabraRegistrarTests";
    if (!below.empty())
        key += u"\\" + below;
    return key;
}

// A class of some other program, beside ours under CLSID.
constexpr char16_t kForeignClass[] = u"Software\\Classes\\CLSID\\{0D5C6A2E-3F4B-4C1D-9E8F-7A6B5C4D3E2F}";

bool OpenExisting(const std::u16string& path, RegKey& key)
{
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, Wide(path), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    key.Attach(opened);
    return true;
}

bool KeyExists(const std::u16string& path)
{
    RegKey key;
    return OpenExisting(path, key);
}

// The REG_SZ value `name` of `path` with its terminating zero, or why it is not one.
std::string CheckStringValue(const std::u16string& path, const std::u16string& name, const std::u16string& expected)
{
    RegKey key;
    if (!OpenExisting(path, key))
        return "no key";
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    if (!key.QueryValue(name.c_str(), type, data))
        return "no value";
    if (type != REG_SZ)
        return "type " + std::to_string(type);
    const std::size_t units = data.size() / 2;
    if (data.size() != (expected.size() + 1) * 2 || reinterpret_cast<const char16_t*>(data.data())[units - 1] != 0)
        return "size " + std::to_string(data.size());
    if (std::u16string(reinterpret_cast<const char16_t*>(data.data()), units - 1) != expected)
        return "other text";
    return "ok";
}

bool ValueExists(const std::u16string& path, const std::u16string& name)
{
    RegKey key;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    return OpenExisting(path, key) && key.QueryValue(name.c_str(), type, data);
}

std::vector<Operation> PlanShipped(const char* file, bool registering)
{
    std::int32_t status = -1;
    std::vector<Operation> plan = Plan(ReadShippedScript(file), registering, true, status);
    EXPECT_EQ(0, status) << file;
    EXPECT_FALSE(plan.empty()) << file;
    return plan;
}

// Registration order of the program: the AppID first, then the classes.
const char* const kRegistrationOrder[] = {"AppId.rgs", "Babylon.rgs", "Google.rgs", "Lingvo.rgs", "Multilex.rgs"};

class RegistrarOnRegistry : public testing::Test {
protected:
    void SetUp() override
    {
        m_hadClsid = KeyExists(UserClasses(u"CLSID"));
        m_hadAppId = KeyExists(UserClasses(u"AppID"));
        RemoveTestKeys();
    }

    void TearDown() override
    {
        RemoveTestKeys();
        // The shared keys go only if the tests made them, and only while empty.
        if (!m_hadClsid)
            ::RegDeleteKeyW(HKEY_CURRENT_USER, Wide(UserClasses(u"CLSID")));
        if (!m_hadAppId)
            ::RegDeleteKeyW(HKEY_CURRENT_USER, Wide(UserClasses(u"AppID")));
    }

    static void RemoveTestKeys()
    {
        std::vector<std::u16string> keys = {Scratch(), kForeignClass, UserClasses(std::u16string(u"AppID\\") + kAppId),
                                            UserClasses(u"AppID\\VocabraHelper.EXE")};
        for (const ShippedClass& shipped : ShippedClasses()) {
            keys.push_back(UserClasses(u"Vocabra.Dialog." + shipped.service));
            keys.push_back(UserClasses(u"Vocabra.Dialog." + shipped.service + u".1"));
            keys.push_back(UserClasses(u"CLSID\\" + shipped.clsid));
        }
        for (const std::u16string& key : keys)
            ::RegDeleteTreeW(HKEY_CURRENT_USER, Wide(key));
    }

private:
    bool m_hadClsid = false;
    bool m_hadAppId = false;
};

}  // namespace

TEST_F(RegistrarOnRegistry, ShippedScriptsPerUserWriteEveryValueAndLeaveOnlySharedKeysWhenRemoved)
{
    RegKey foreign;
    ASSERT_TRUE(foreign.Create(Win32::API::CurrentUserKey(), kForeignClass));
    foreign.Close();

    std::vector<Operation> written;
    for (const char* file : kRegistrationOrder) {
        const std::vector<Operation> plan = PlanShipped(file, true);
        EXPECT_EQ(0, ApplyOperations(plan)) << file;
        written.insert(written.end(), plan.begin(), plan.end());
    }
    for (const Operation& operation : written) {
        SCOPED_TRACE(testing::PrintToString(operation));
        ASSERT_EQ(Root::CurrentUser, operation.root);
        if (operation.kind == Operation::Kind::CreateKey) {
            EXPECT_TRUE(KeyExists(operation.key));
        } else if (operation.kind == Operation::Kind::SetString) {
            EXPECT_EQ("ok", CheckStringValue(operation.key, operation.name, operation.data));
        }
    }
    // What the tray program and COM rely on, read directly.
    const std::u16string babylon = UserClasses(u"CLSID\\{7618F1BC-B0FB-43EF-946B-A2ECDA6C3E6F}");
    const std::u16string google = UserClasses(u"CLSID\\{DBF3C903-615A-450B-9386-323DD977C532}");
    EXPECT_EQ("ok", CheckStringValue(babylon + u"\\LocalServer32", u"",
                                     u"\"C:\\Program Files\\Vocabra\\VocabraHelper.exe\""));
    EXPECT_EQ("ok", CheckStringValue(babylon, u"AppID", kAppId));
    EXPECT_FALSE(ValueExists(google, u"AppID"));
    EXPECT_TRUE(KeyExists(google + u"\\Programmable"));
    EXPECT_EQ("ok", CheckStringValue(UserClasses(u"Vocabra.Dialog.Google\\CurVer"), u"", u"Vocabra.Dialog.Google.1"));
    EXPECT_EQ("ok", CheckStringValue(UserClasses(u"AppID\\VocabraHelper.EXE"), u"AppID", kAppId));

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "unregistering" : "unregistering again");
        for (const char* file : {"Babylon.rgs", "Google.rgs", "Lingvo.rgs", "Multilex.rgs", "AppId.rgs"})
            EXPECT_EQ(0, ApplyOperations(PlanShipped(file, false))) << file;
    }
    for (const Operation& operation : written) {
        if (operation.kind != Operation::Kind::CreateKey)
            continue;
        const bool shared = operation.key == UserClasses(u"CLSID") || operation.key == UserClasses(u"AppID");
        EXPECT_EQ(shared, KeyExists(operation.key)) << testing::PrintToString(operation);
    }
    EXPECT_TRUE(KeyExists(kForeignClass));
}

TEST_F(RegistrarOnRegistry, ForceRemoveReplacesTheClassKeyWholeWhileOtherKeysKeepWhatTheyHeld)
{
    const std::u16string classKey = UserClasses(u"CLSID\\{7618F1BC-B0FB-43EF-946B-A2ECDA6C3E6F}");
    const std::u16string progIdKey = UserClasses(u"Vocabra.Dialog.Babylon");
    RegKey stale;
    ASSERT_TRUE(stale.Create(Win32::API::CurrentUserKey(), (classKey + u"\\InprocServer32").c_str()));
    ASSERT_TRUE(stale.Create(Win32::API::CurrentUserKey(), classKey.c_str()));
    ASSERT_TRUE(stale.SetString(u"Stale", u"old"));
    ASSERT_TRUE(stale.Create(Win32::API::CurrentUserKey(), progIdKey.c_str()));
    ASSERT_TRUE(stale.SetString(u"Kept", u"old"));
    stale.Close();

    EXPECT_EQ(0, ApplyOperations(PlanShipped("Babylon.rgs", true)));

    EXPECT_FALSE(KeyExists(classKey + u"\\InprocServer32"));
    EXPECT_FALSE(ValueExists(classKey, u"Stale"));
    EXPECT_EQ("ok", CheckStringValue(classKey, u"", u"BabylonDictionaryDialog Class"));
    EXPECT_EQ("ok", CheckStringValue(progIdKey, u"Kept", u"old"));
}

TEST_F(RegistrarOnRegistry, DeletingWhatIsNotThereSucceeds)
{
    const std::vector<Operation> operations = {
        DeleteTree(Root::CurrentUser, Scratch(u"Missing")),
        DeleteValue(Root::CurrentUser, Scratch(u"Missing"), u"value"),
        CreateKey(Root::CurrentUser, Scratch()),
        DeleteValue(Root::CurrentUser, Scratch(), u"missing value"),
        SetString(Root::CurrentUser, Scratch(), u"present", u"x"),
        DeleteValue(Root::CurrentUser, Scratch(), u"present"),
    };
    EXPECT_EQ(0, ApplyOperations(operations));
    EXPECT_TRUE(KeyExists(Scratch()));
    EXPECT_FALSE(ValueExists(Scratch(), u"present"));
}

TEST_F(RegistrarOnRegistry, StopsAtTheFirstFailureAndReturnsItsError)
{
    // The registry refuses a lasting key below a volatile one. The volatile key's parent is made
    // first: keys created on the way to a volatile key are volatile too.
    RegKey scratch;
    ASSERT_TRUE(scratch.Create(Win32::API::CurrentUserKey(), Scratch().c_str()));
    HKEY created = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, Wide(Scratch(u"Volatile")), 0, nullptr,
                                               REG_OPTION_VOLATILE, KEY_READ, nullptr, &created, nullptr));
    RegKey volatileKey;
    volatileKey.Attach(created);

    const std::vector<Operation> operations = {
        CreateKey(Root::CurrentUser, Scratch(u"Before")),
        SetString(Root::CurrentUser, Scratch(u"Volatile\\Lasting"), u"", u"x"),
        CreateKey(Root::CurrentUser, Scratch(u"After")),
    };
    EXPECT_EQ(static_cast<std::int32_t>(HRESULT_FROM_WIN32(ERROR_CHILD_MUST_BE_VOLATILE)), ApplyOperations(operations));
    EXPECT_TRUE(KeyExists(Scratch(u"Before")));
    EXPECT_FALSE(KeyExists(Scratch(u"Volatile\\Lasting")));
    EXPECT_FALSE(KeyExists(Scratch(u"After")));
}
