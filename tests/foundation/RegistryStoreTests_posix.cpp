#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "foundation/win32api/Handles.h"
#include "foundation/win32api/RegistryFile.h"
#include "tests/support/TestSupport.h"

using namespace Win32::API;
namespace fs = std::filesystem;

namespace {

const char16_t kVocabraKey[] = u"Software\\Microsoft\\Internet Explorer\\LowRegistry\\Corvane\\Vocabra";
const std::string kSection =
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\LowRegistry\\Corvane\\Vocabra]\n";
const std::string kHeader = "Windows Registry Editor Version 5.00\n\n";
constexpr int kValuesPerWriter = 1000;

// Sets (or, given null, removes) an environment variable for the lifetime of the object.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = getenv(name))
            m_old = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedVariable() { m_old ? setenv(m_name, m_old->c_str(), 1) : unsetenv(m_name); }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

class RegistryStore : public testing::Test {
protected:
    testsupport::TempFolder m_folder;
    fs::path m_file = m_folder.Path() / "config" / "registry.reg";
    ScopedVariable m_store{"VOCABRA_REGISTRY", m_file.c_str()};

    void WriteStore(const std::string& text)
    {
        fs::create_directories(m_file.parent_path());
        testsupport::WriteFileBytes(m_file, text);
    }
    std::string StoreText() const { return testsupport::ReadFileBytes(m_file); }
};

}  // namespace

VOCABRA_CHILD_ROLE(registry_writer)
{
    RegKey key;
    if (args.size() != 1 || !key.Create(CurrentUserKey(), kVocabraKey))
        return 2;
    for (std::uint32_t i = 0; i < kValuesPerWriter; ++i) {
        // Short names, like a real store's.
        const std::string name = args[0] + "-" + std::to_string(i);
        if (!key.SetDWORD(std::u16string(name.begin(), name.end()).c_str(), i))
            return 1;
    }
    return 0;
}

TEST_F(RegistryStore, WritesValuesInTheRegeditFormat)
{
    RegKey key;
    std::uint32_t disposition = 0;
    ASSERT_TRUE(key.Create(CurrentUserKey(), kVocabraKey, nullptr, kRegOptionNonVolatile, kKeyAllAccess, nullptr,
                           &disposition));
    EXPECT_EQ(disposition, kRegCreatedNewKey);
    EXPECT_EQ(StoreText(), kHeader + kSection + "\n");

    const std::uint8_t blob[] = {1, 2, 3};
    ASSERT_TRUE(key.SetString(u"dictionaryPriority", u"Multilex,Lingvo"));
    ASSERT_TRUE(key.SetDWORD(u"useCtrlCC", 0));
    ASSERT_TRUE(key.SetQWORD(u"lastCheckForUpdateTime", 100000000));
    ASSERT_TRUE(key.SetValue(u"blob", kRegBinary, blob, 2));
    ASSERT_TRUE(key.SetValue(nullptr, kRegSz, u"C:\\\"x\"", 14));
    const std::string values =
        "\"dictionaryPriority\"=\"Multilex,Lingvo\"\n"
        "\"useCtrlCC\"=dword:00000000\n"
        "\"lastCheckForUpdateTime\"=hex(b):00,e1,f5,05,00,00,00,00\n";
    EXPECT_EQ(StoreText(), kHeader + kSection + values + "\"blob\"=hex(3):01,02\n@=\"C:\\\\\\\"x\\\"\"\n\n");

    EXPECT_TRUE(key.DeleteValue(u"BLOB"));
    EXPECT_FALSE(key.DeleteValue(u"blob"));
    EXPECT_TRUE(key.DeleteValue(nullptr));
    EXPECT_EQ(StoreText(), kHeader + kSection + values + "\n");
}

TEST_F(RegistryStore, ReadsAHandWrittenFileWithoutRewritingIt)
{
    const std::string text =
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
        "[hkey_current_user\\software\\Microsoft\\Internet Explorer\\LowRegistry\\Corvane\\Vocabra]\r\n"
        "\"dictionaryPriority\"=\"Multilex,Lingvo\"\r\n"
        "\"useCtrlCC\"=dword:00000001\r\n"
        "\"lastCheckForUpdateTime\"=hex(b):00,e1,f5,05,\\\r\n  00,00,00,00\r\n";
    WriteStore(text);
    RegKey key, parent;
    std::uint32_t disposition = 0;
    ASSERT_TRUE(key.Create(CurrentUserKey(), u"SOFTWARE\\microsoft\\internet explorer\\LOWREGISTRY\\corvane\\vocabra",
                           nullptr, kRegOptionNonVolatile, kKeyRead, nullptr, &disposition));
    EXPECT_EQ(disposition, kRegOpenedExistingKey);
    ASSERT_TRUE(parent.Create(CurrentUserKey(), u"Software\\Microsoft", nullptr, 0, kKeyRead, nullptr, &disposition));
    EXPECT_EQ(disposition, kRegOpenedExistingKey);

    std::u16string priority;
    std::uint32_t hotKey = 0;
    std::uint64_t lastCheck = 0;
    EXPECT_TRUE(key.GetString(u"DictionaryPriority", priority));
    EXPECT_EQ(priority, u"Multilex,Lingvo");
    EXPECT_TRUE(key.GetDWORD(u"useCtrlCC", hotKey));
    EXPECT_EQ(hotKey, 1u);
    EXPECT_TRUE(key.GetQWORD(u"lastCheckForUpdateTime", lastCheck));
    EXPECT_EQ(lastCheck, 100000000u);
    EXPECT_EQ(StoreText(), text);
}

TEST_F(RegistryStore, TypedGettersApplyTheTypeRules)
{
    WriteStore(kHeader + kSection +
               "\"text\"=\"0\"\n\"emptySz\"=\"\"\n\"emptyDword\"=hex(4):\n\"dword\"=dword:00000007\n");
    RegKey key;
    ASSERT_TRUE(key.Create(CurrentUserKey(), kVocabraKey));
    const struct {  // NOLINT(clang-analyzer-optin.performance.Padding): cases read in this order
        const char16_t* name;
        bool isDword;
        std::uint32_t dword;
        bool isString;
        std::u16string text;
    } cases[] = {
        {u"text", false, 0, true, u"0"},    {u"emptySz", false, 0, true, u""},    {u"emptyDword", false, 0, true, u""},
        {u"missing", false, 0, false, u""}, {u"dword", true, 7, true, u"\u0007"},
    };
    for (const auto& c : cases) {
        std::uint32_t dword = 99;
        std::u16string text = u"stale";
        EXPECT_EQ(key.GetDWORD(c.name, dword), c.isDword) << c.name;
        EXPECT_EQ(dword, c.dword);
        EXPECT_EQ(key.GetString(c.name, text), c.isString) << c.name;
        EXPECT_EQ(text, c.text);
    }
}

TEST_F(RegistryStore, DamagedFileIsKeptAndNeverWritten)
{
    RegKey key;
    ASSERT_TRUE(key.Create(CurrentUserKey(), kVocabraKey));
    ASSERT_TRUE(key.SetDWORD(u"useCtrlCC", 1));
    const std::string damaged = StoreText() + "\"broken\"=dword:xyz\n";
    WriteStore(damaged);

    std::uint32_t value = 5;
    EXPECT_FALSE(key.GetDWORD(u"useCtrlCC", value));
    EXPECT_EQ(value, 0u);
    EXPECT_FALSE(key.SetDWORD(u"other", 2));
    EXPECT_FALSE(key.DeleteValue(u"useCtrlCC"));
    RegKey reopened;
    EXPECT_FALSE(reopened.Create(CurrentUserKey(), kVocabraKey));
    EXPECT_FALSE(key.Create(CurrentUserKey(), u"Software\\New"));
    EXPECT_FALSE(key.IsValid());
    EXPECT_EQ(StoreText(), damaged);
    for (const auto& entry : fs::directory_iterator(m_file.parent_path()))
        EXPECT_TRUE(entry.path() == m_file || entry.path().extension() == ".lock") << entry.path();
}

TEST_F(RegistryStore, CreateResolvesPathsAndKeepsTheFirstSpelling)
{
    RegKey parent, child, deeper;
    std::uint32_t disposition = 0;
    ASSERT_TRUE(parent.Create(CurrentUserKey(), u"Software\\Corvane"));
    ASSERT_TRUE(child.Create(parent.Get(), u"Sub", nullptr, 0, kKeyAllAccess, nullptr, &disposition));
    EXPECT_EQ(disposition, kRegCreatedNewKey);
    ASSERT_TRUE(deeper.Create(CurrentUserKey(), u"SOFTWARE\\corvane\\SUB\\Deeper", nullptr, 0, kKeyAllAccess, nullptr,
                              &disposition));
    EXPECT_EQ(disposition, kRegCreatedNewKey);
    ASSERT_TRUE(deeper.SetDWORD(u"x", 1));
    ASSERT_TRUE(parent.Create(CurrentUserKey(), u"software"));
    EXPECT_EQ(StoreText(),
              kHeader +
                  "[HKEY_CURRENT_USER\\Software\\Corvane]\n\n[HKEY_CURRENT_USER\\Software\\Corvane\\Sub]\n\n"
                  "[HKEY_CURRENT_USER\\Software\\Corvane\\Sub\\Deeper]\n\"x\"=dword:00000001\n\n");

    for (const char16_t* bad : {u"\\Lead", u"a\\\\b", u"Trail\\", u"line\nbreak"}) {
        ASSERT_TRUE(child.IsValid());
        EXPECT_FALSE(child.Create(CurrentUserKey(), bad));
        EXPECT_FALSE(child.IsValid());
        ASSERT_TRUE(child.Create(deeper.Get(), nullptr));
    }
    EXPECT_TRUE(child.Close());
    EXPECT_FALSE(child.Close());
    EXPECT_FALSE(child.SetDWORD(u"x", 1));
}

TEST_F(RegistryStore, EveryReadSeesTheLatestWrite)
{
    RegKey writer, reader;
    ASSERT_TRUE(writer.Create(CurrentUserKey(), kVocabraKey) && reader.Create(CurrentUserKey(), kVocabraKey));
    std::uint32_t value = 0;
    ASSERT_TRUE(writer.SetDWORD(u"count", 1));
    EXPECT_TRUE(reader.GetDWORD(u"count", value) && value == 1u);
    WriteStore(kHeader + kSection + "\"count\"=dword:0000002a\n");
    EXPECT_TRUE(reader.GetDWORD(u"count", value) && value == 42u);
    fs::remove(m_file);
    EXPECT_FALSE(reader.GetDWORD(u"count", value));
    ASSERT_TRUE(writer.SetDWORD(u"count", 9));
    EXPECT_TRUE(reader.GetDWORD(u"count", value) && value == 9u);
}

TEST_F(RegistryStore, StoreLocationFollowsTheEnvironment)
{
    const fs::path root = m_folder.Path();
    const std::string xdg = (root / "xdg").string(), home = (root / "home").string();
    const struct {
        const char* store;
        const char* xdg;
        fs::path expected;
    } cases[] = {
        {"", xdg.c_str(), root / "xdg/vocabra/registry.reg"},
        {nullptr, "", root / "home/.config/vocabra/registry.reg"},
        {nullptr, nullptr, root / "home/.config/vocabra/registry.reg"},
    };
    ScopedVariable homeVariable("HOME", home.c_str());
    for (const auto& c : cases) {
        ScopedVariable store("VOCABRA_REGISTRY", c.store), config("XDG_CONFIG_HOME", c.xdg);
        fs::remove(c.expected);
        RegKey key;
        EXPECT_TRUE(key.Create(CurrentUserKey(), u"Software\\Corvane") && key.SetDWORD(u"x", 1)) << c.expected;
        EXPECT_TRUE(fs::exists(c.expected)) << c.expected;
    }
}

TEST_F(RegistryStore, ConcurrentWritersLoseNothing)
{
    // Each write syncs the file to disk; on a memory file system the same locking runs faster.
    std::optional<ScopedVariable> memoryFolder;
    if (fs::is_directory("/dev/shm") && access("/dev/shm", W_OK) == 0)
        memoryFolder.emplace("TMPDIR", "/dev/shm");
    const testsupport::TempFolder folder;
    const fs::path file = folder.Path() / "registry.reg";
    ScopedVariable store("VOCABRA_REGISTRY", file.c_str());

    ProcessEx first, second;
    ASSERT_TRUE(testsupport::StartChild(first, "registry_writer", {"a"}));
    ASSERT_TRUE(testsupport::StartChild(second, "registry_writer", {"b"}));
    std::uint32_t firstCode = 99, secondCode = 99;
    ASSERT_TRUE(first.WaitForExit(60000, firstCode));
    ASSERT_TRUE(second.WaitForExit(60000, secondCode));
    EXPECT_EQ(firstCode, 0u);
    EXPECT_EQ(secondCode, 0u);

    RegistryDocument document;
    ASSERT_TRUE(ParseRegistryFile(testsupport::ReadFileBytes(file), document));
    ASSERT_EQ(document.sections.size(), 1u);
    EXPECT_EQ(document.sections[0].values.size(), 2u * kValuesPerWriter);
    for (const RegistryValue& value : document.sections[0].values) {
        const std::string name(value.name.begin(), value.name.end());
        const unsigned index = std::stoul(name.substr(name.find('-') + 1));
        EXPECT_EQ(value.data, (std::vector<std::uint8_t>{std::uint8_t(index & 0xFF), std::uint8_t(index >> 8), 0, 0}));
    }
}
