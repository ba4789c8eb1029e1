#include <filesystem>

#include <gtest/gtest.h>

#include "foundation/config/Environment.h"
#include "foundation/config/Settings.h"
#include "tests/support/IsolatedProfile.h"

namespace {

std::u16string Sep()
{
    return std::u16string(1, kPathSeparator);
}

TEST(Environment, RegistryRootDependsOnTheSystemGenerationOnly)
{
    EXPECT_EQ(RegistryRootPath(false), u"Software\\Corvane\\Vocabra");
    EXPECT_EQ(RegistryRootPath(true), u"Software\\Microsoft\\Internet Explorer\\LowRegistry\\Corvane\\Vocabra");
}

TEST(Environment, LocaleStringsInBothLanguages)
{
    for (const auto& [language, code] : {std::pair{UiLanguage::English, std::u16string(u"en")},
                                         std::pair{UiLanguage::Russian, std::u16string(u"ru")}}) {
        const std::u16string folder = u"locale" + Sep() + code + Sep();
        EXPECT_EQ(LoadResourceString(IDS_LOCALE_FOLDER, language), folder);
        EXPECT_EQ(LoadResourceString(IDS_CONFIGURATION_PATH, language), folder + u"Configuration.properties");
        EXPECT_EQ(LoadResourceString(IDS_TRANSLATE_DIRECTION_PATH, language),
                  folder + u"translate_direction.properties");
        EXPECT_EQ(LoadResourceString(IDS_LANGUAGE_CODE, language), code);
        EXPECT_EQ(LoadResourceString(999, language), u"");
    }
}

TEST(Environment, ModuleDirectoryEndsInASeparator)
{
    const std::u16string module = GetModuleFilePath();
    const std::u16string directory = GetModuleDirectory();
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(directory.back(), kPathSeparator);
    EXPECT_EQ(module.compare(0, directory.size(), directory), 0);
    EXPECT_EQ(module.find(kPathSeparator, directory.size()), std::u16string::npos);
    EXPECT_EQ(DirectoryOf(u"no-separator"), u"");
    EXPECT_EQ(ConfigFilePath(IDS_CONFIGURATION_PATH), directory + LoadResourceString(IDS_CONFIGURATION_PATH));
    EXPECT_TRUE(IsVistaOrLater());  // Wine reports Windows 7; POSIX counts as the newer generation
}

// Creates the locale folder's files beside the test program for the life of the object.
class ShippedFiles {
public:
    ShippedFiles()
    {
        std::filesystem::path root = std::filesystem::path(GetModuleDirectory()) / "locale";
        m_created = !std::filesystem::exists(root);
        m_root = root;
    }
    ~ShippedFiles()
    {
        if (m_created)
            std::filesystem::remove_all(m_root);
    }
    void Write(unsigned stringId, const std::string& content) const
    {
        const std::filesystem::path path(ConfigFilePath(stringId));
        std::filesystem::create_directories(path.parent_path());
        testsupport::WriteFileBytes(path, content);
    }
    bool Usable() const { return m_created; }

private:
    std::filesystem::path m_root;
    bool m_created = false;
};

class SettingsTest : public testsupport::IsolatedProfileTest {};

TEST_F(SettingsTest, RegistryValuesAndShippedDefaultsMeet)
{
    ShippedFiles files;
    ASSERT_TRUE(files.Usable()) << "a locale folder already stands beside the test program";
    files.Write(IDS_CONFIGURATION_PATH, "dictionaries=Multilex,Lingvo\nfavour.dictionary.count=6\n");
    files.Write(IDS_TRANSLATE_DIRECTION_PATH, "default.directions=en-ru,ru-en\nen-=English\n");

    Settings writer;
    ASSERT_TRUE(writer.key.IsValid());
    EXPECT_EQ(writer.config.GetString(u"dictionaries"), u"Multilex,Lingvo");
    EXPECT_EQ(writer.config.GetInt(u"favour.dictionary.count"), 6);
    EXPECT_EQ(TranslateDirectionTable().At(u"default.directions"), u"en-ru,ru-en");
    EXPECT_EQ(&TranslateDirectionTable(), &TranslateDirectionTable());

    // A second object on the same key sees what the first one wrote, and the other way round.
    Settings reader;
    ASSERT_TRUE(writer.key.SetString(u"dictionaryPriority", u"Lingvo,Multilex"));
    std::u16string priority;
    EXPECT_TRUE(reader.key.GetString(u"dictionaryPriority", priority));
    EXPECT_EQ(priority, u"Lingvo,Multilex");
    ASSERT_TRUE(reader.key.SetDWORD(u"favourDictionaryCount", 3));
    std::uint32_t count = 0;
    EXPECT_TRUE(writer.key.GetDWORD(u"favourDictionaryCount", count));
    EXPECT_EQ(count, 3u);

    writer.key.DeleteValue(u"dictionaryPriority");
    writer.key.DeleteValue(u"favourDictionaryCount");
    EXPECT_FALSE(reader.key.GetString(u"dictionaryPriority", priority));
}

}  // namespace
