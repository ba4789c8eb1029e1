// The per-service choice to open answers in the web browser: how it is stored, and what the main
// dialog's check box and the tray menu's check item show and change (the menu's item itself is
// checked with the other dictionary items, beside the one translation manager of the program).
#include <gtest/gtest.h>

#include <functional>

#include "tests/tray/BrowserChoiceFixture.h"

namespace {

using OpenInBrowserTest = testsupport::BrowserChoiceTest;

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
    EXPECT_FALSE(tray::OpensInBrowser(m_settings.key, u"B"));
    std::uint32_t stored = 7;
    ASSERT_TRUE(m_settings.key.GetDWORD(u"A.openInBrowser", stored));
    EXPECT_EQ(stored, 1u);

    tray::SetOpensInBrowser(m_settings.key, u"A", false);
    EXPECT_FALSE(tray::OpensInBrowser(m_settings.key, u"A"));
    ASSERT_TRUE(m_settings.key.GetDWORD(u"A.openInBrowser", stored));
    EXPECT_EQ(stored, 0u);
}

using CurrentServiceChoice = testsupport::BrowserChoiceTest;

TEST_F(CurrentServiceChoice, FollowsTheServiceATranslationUses)
{
    ASSERT_EQ(Manager().m_services.size(), 2u);
    EXPECT_EQ(tray::CurrentServiceOpensInBrowser(m_settings.key, Manager(), u"en-ru"), false);

    // The menu's switch changes the service of the direction, and only that one.
    EXPECT_EQ(tray::ToggleOpenInBrowser(m_settings.key, Manager(), u"en-ru"), tray::ChoiceResult::Stored);
    EXPECT_TRUE(tray::OpensInBrowser(m_settings.key, u"A"));
    EXPECT_FALSE(tray::OpensInBrowser(m_settings.key, u"B"));
    EXPECT_EQ(tray::CurrentServiceOpensInBrowser(m_settings.key, Manager(), u"en-ru"), true);
    EXPECT_EQ(tray::CurrentServiceOpensInBrowser(m_settings.key, Manager(), u"de-ru"), false);

    // The check box stores what it shows, whatever was stored before.
    EXPECT_EQ(tray::SetCurrentServiceOpensInBrowser(m_settings.key, Manager(), u"de-ru", true),
              tray::ChoiceResult::Stored);
    EXPECT_EQ(tray::SetCurrentServiceOpensInBrowser(m_settings.key, Manager(), u"de-ru", true),
              tray::ChoiceResult::Stored);
    EXPECT_TRUE(tray::OpensInBrowser(m_settings.key, u"B"));
    EXPECT_EQ(tray::ToggleOpenInBrowser(m_settings.key, Manager(), u"en-ru"), tray::ChoiceResult::Stored);
    EXPECT_FALSE(tray::OpensInBrowser(m_settings.key, u"A"));

    // A direction that no service supports has no service to choose for.
    EXPECT_EQ(tray::CurrentServiceOpensInBrowser(m_settings.key, Manager(), u"xx-yy"), std::nullopt);
    EXPECT_EQ(tray::ToggleOpenInBrowser(m_settings.key, Manager(), u"xx-yy"), tray::ChoiceResult::Refused);
    EXPECT_EQ(tray::SetCurrentServiceOpensInBrowser(m_settings.key, Manager(), u"xx-yy", true),
              tray::ChoiceResult::Refused);
    EXPECT_FALSE(tray::OpensInBrowser(m_settings.key, u"A"));
    EXPECT_TRUE(tray::OpensInBrowser(m_settings.key, u"B"));
}

}  // namespace
