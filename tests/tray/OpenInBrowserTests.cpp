// The per-service choice to open answers in the web browser: how it is stored, and what the main
// dialog's check box and the tray menu's check item show and change (the menu's item itself is
// checked with the other dictionary items, beside the one translation manager of the program).
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "tests/translate/EngineFixture.h"
#include "translate/manager/DictionaryManager.h"
#include "tray/OpenInBrowser.h"

namespace {
class OpenInBrowserTest : public testsupport::EngineTest {
protected:
    ~OpenInBrowserTest() override
    {
        for (const char16_t* id : {u"A", u"B", u"Other"})
            m_settings.key.DeleteValue(tray::OpenInBrowserValueName(id).c_str());
    }

    Settings m_settings;
};

TEST_F(OpenInBrowserTest, OnlyAStoredDwordOfOneOpensTheBrowser)
{
    struct Case {
        const char* what;
        std::function<void(Win32::API::RegKey&)> store;
        bool inBrowser;
    };
    const char16_t* const name = u"A.openInBrowser";
    const Case cases[] = {
        {"nothing stored: the service's own display", [](Win32::API::RegKey&) {}, false},
        {"1", [name](Win32::API::RegKey& key) { key.SetDWORD(name, 1); }, true},
        {"0", [name](Win32::API::RegKey& key) { key.SetDWORD(name, 0); }, false},
        {"2", [name](Win32::API::RegKey& key) { key.SetDWORD(name, 2); }, false},
        {"the text 1", [name](Win32::API::RegKey& key) { key.SetString(name, u"1"); }, false},
    };
    for (const Case& c : cases) {
        m_settings.key.DeleteValue(name);
        c.store(m_settings.key);
        EXPECT_EQ(tray::OpensInBrowser(m_settings.key, u"A"), c.inBrowser) << c.what;
    }
}

TEST_F(OpenInBrowserTest, EachServiceKeepsItsOwnChoice)
{
    tray::SetOpensInBrowser(m_settings.key, u"A", true);
    EXPECT_TRUE(tray::OpensInBrowser(m_settings.key, u"A"));
    EXPECT_FALSE(tray::OpensInBrowser(m_settings.key, u"Other"));
    std::uint32_t stored = 7;
    ASSERT_TRUE(m_settings.key.GetDWORD(u"A.openInBrowser", stored));
    EXPECT_EQ(stored, 1u);

    tray::SetOpensInBrowser(m_settings.key, u"A", false);
    EXPECT_FALSE(tray::OpensInBrowser(m_settings.key, u"A"));
    ASSERT_TRUE(m_settings.key.GetDWORD(u"A.openInBrowser", stored));
    EXPECT_EQ(stored, 0u);
}

// Two services of en-ru, A first by priority; only B has de-ru.
class CurrentServiceChoice : public OpenInBrowserTest {
protected:
    CurrentServiceChoice()
    {
        WriteService("a.properties", "Alpha", "en-ru", "1");
        WriteService("b.properties", "Beta", "en-ru,de-ru", "1,2");
        WriteLocaleFile("Configuration.properties",
                        "dictionaries=A,B\n"
                        "dictionary.A.type=simple\ndictionary.A.config=a.properties\n"
                        "dictionary.B.type=simple\ndictionary.B.config=b.properties\n");
        // Made now: it reads the configuration when it is constructed.
        m_manager = std::make_unique<translate::manager::DictionaryManager>();
        m_manager->Initialize();
    }

    std::unique_ptr<translate::manager::DictionaryManager> m_manager;
    translate::manager::DictionaryManager& Manager() { return *m_manager; }
};

TEST_F(CurrentServiceChoice, FollowsTheServiceATranslationUses)
{
    ASSERT_EQ(Manager().m_services.size(), 2u);
    EXPECT_EQ(tray::CurrentServiceOpensInBrowser(m_settings.key, Manager(), u"en-ru"), false);

    // The menu's switch changes the service of the direction, and only that one.
    EXPECT_TRUE(tray::ToggleOpenInBrowser(m_settings.key, Manager(), u"en-ru"));
    EXPECT_TRUE(tray::OpensInBrowser(m_settings.key, u"A"));
    EXPECT_FALSE(tray::OpensInBrowser(m_settings.key, u"B"));
    EXPECT_EQ(tray::CurrentServiceOpensInBrowser(m_settings.key, Manager(), u"en-ru"), true);
    EXPECT_EQ(tray::CurrentServiceOpensInBrowser(m_settings.key, Manager(), u"de-ru"), false);

    // The check box stores what it shows, whatever was stored before.
    EXPECT_TRUE(tray::SetCurrentServiceOpensInBrowser(m_settings.key, Manager(), u"de-ru", true));
    EXPECT_TRUE(tray::SetCurrentServiceOpensInBrowser(m_settings.key, Manager(), u"de-ru", true));
    EXPECT_TRUE(tray::OpensInBrowser(m_settings.key, u"B"));
    EXPECT_TRUE(tray::ToggleOpenInBrowser(m_settings.key, Manager(), u"en-ru"));
    EXPECT_FALSE(tray::OpensInBrowser(m_settings.key, u"A"));

    // A direction that no service supports has no service to choose for.
    EXPECT_EQ(tray::CurrentServiceOpensInBrowser(m_settings.key, Manager(), u"xx-yy"), std::nullopt);
    EXPECT_FALSE(tray::ToggleOpenInBrowser(m_settings.key, Manager(), u"xx-yy"));
    EXPECT_FALSE(tray::SetCurrentServiceOpensInBrowser(m_settings.key, Manager(), u"xx-yy", true));
    EXPECT_FALSE(tray::OpensInBrowser(m_settings.key, u"A"));
    EXPECT_TRUE(tray::OpensInBrowser(m_settings.key, u"B"));
}

}  // namespace
