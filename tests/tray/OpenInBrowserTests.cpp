// The per-service choice to open answers in the web browser: how it is stored, and what the main
// dialog's check box and the tray menu's check item show and change.
#include <gtest/gtest.h>

#include <memory>

#include <functional>

#include "resources/Vocabra/resource.h"
#include "tests/translate/EngineFixture.h"
#include "tray/DictionaryChoices.h"
#include "tray/OpenInBrowser.h"

namespace {
using tray::MenuItem;

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
        WriteService("a.properties", "Alpha", "en-ru", "1", "dialog", "dictionary.dialog=Lingvo\n");
        WriteService("b.properties", "Beta", "en-ru,de-ru", "1,2");
        WriteLocaleFile("Configuration.properties",
                        "dictionaries=A,B\n"
                        "dictionary.A.type=simple\ndictionary.A.config=a.properties\n"
                        "dictionary.B.type=simple\ndictionary.B.config=b.properties\n");
        WriteLocaleFile("translate_direction.properties", "default.directions=en-ru\n");
        // Made now: it reads the configuration when it is constructed.
        m_manager = std::make_unique<translate::manager::DictionaryManager>();
        m_manager->Initialize();
    }

    // The "Service" popup of the tray menu for the direction.
    MenuItem ServicePopup(const translate::Direction& direction)
    {
        const auto menu = tray::MakeDictionaryMenu(Manager(), m_settings.key, direction,
                                                   {u"Other", u"Service", u"Open in my browser"});
        return menu.items.back();
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

TEST_F(CurrentServiceChoice, TheServiceMenuEndsWithTheCurrentServicesCheckItem)
{
    tray::SetOpensInBrowser(m_settings.key, u"B", true);
    struct Case {
        const char16_t* direction;
        bool checked;  // the choice of its first service: A for en-ru, B for de-ru
    };
    for (const Case& c : {Case{u"en-ru", false}, Case{u"de-ru", true}}) {
        const MenuItem services = ServicePopup(c.direction);
        ASSERT_EQ(services.items.size(), 4u);  // Alpha, Beta, a separator and the check item
        EXPECT_EQ(services.items[2].kind, MenuItem::Kind::Separator);
        const MenuItem& check = services.items[3];
        EXPECT_EQ(check.kind, MenuItem::Kind::Check);
        EXPECT_EQ(check.text, u"Open in my browser");
        EXPECT_EQ(check.checked, c.checked) << (c.checked ? "de-ru" : "en-ru");
        // Outside the ranges of the services' and directions' commands.
        EXPECT_TRUE(check.command < tray::kServiceCommandBase ||
                    check.command >= tray::kDirectionCommandBase + tray::kMaxDirectionCommands);
        EXPECT_EQ(check.command, static_cast<std::uint32_t>(ID_OPEN_IN_BROWSER));
    }
    EXPECT_EQ(ServicePopup(u"xx-yy").items.size(), 2u);  // no service of its own: no item
}

}  // namespace
