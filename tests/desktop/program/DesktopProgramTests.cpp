// The desktop program's texts and its reading of the update check's report.
#include <gtest/gtest.h>

#include <cstring>

#include "tray/gtk/DesktopStrings.h"
#include "tray/gtk/UpdateQuestion.h"

namespace {
using tray::gtk::DesktopText;

TEST(DesktopStrings, EveryTextTheProgramShowsIsInBothLanguages)
{
    // The keys name the Windows program's resources; one renamed there would show as its key here.
    for (const char* key : {"IDD_MAINDLG.CAPTION",
                            "IDD_MAINDLG.IDOK",
                            "ID_USE_CTRL_INS_INS",
                            "ID_USE_CTRL_C_C",
                            "ID_OPEN_VOCABRA",
                            "ID_APP_ABOUT",
                            "ID_APP_EXIT",
                            "IDS_OTHER_DIRECTIONS",
                            "IDS_SERVICES",
                            "IDS_TRAY_TIP",
                            "IDS_HOT_KEYS_OFF",
                            "IDS_WAYLAND_NOTE",
                            "IDS_CLIPBOARD_SHORTCUT",
                            "IDS_CLIPBOARD_SHORTCUT_BOUND",
                            "IDS_CLIPBOARD_COMMAND",
                            "IDS_SETTING_NOT_STORED",
                            "IDS_RECENT",
                            "IDS_KEEP_HISTORY",
                            "IDS_EXPORT_HISTORY",
                            "IDS_CLEAR_HISTORY",
                            "IDS_CLEAR_HISTORY_QUESTION",
                            "IDS_EXPORT_FAILED",
                            "IDS_EXPORT_TITLE",
                            "IDD_ABOUTBOX.CAPTION",
                            "IDD_ABOUTBOX.IDOK",
                            "IDD_ABOUTBOX.STATIC1",
                            "IDD_ABOUTBOX.STATIC2",
                            "IDD_ABOUTBOX.STATIC3",
                            "IDD_ABOUTBOX.STATIC4"}) {
        const char* english = DesktopText(key, UiLanguage::English);
        const char* russian = DesktopText(key, UiLanguage::Russian);
        EXPECT_STRNE(english, key);
        EXPECT_STRNE(russian, key);
        EXPECT_GT(std::strlen(english), 0u) << key;
    }
    EXPECT_STREQ(DesktopText("ID_APP_EXIT", UiLanguage::Russian), "Выход");
    EXPECT_STREQ(DesktopText("IDD_MAINDLG.IDOK", UiLanguage::English), "Translate");
    EXPECT_EQ(std::string(DesktopText("no such key", UiLanguage::English)), "no such key");
}

TEST(DesktopStrings, PlacesFilledInTheDesktopsLanguage)
{
    const UiLanguage russian = UiLanguage::Russian;
    SetUiLanguageOverride(&russian);
    EXPECT_EQ(DesktopText("IDS_TRAY_TIP", "Английский → Русский", "Lingvo"), "Словарь: Английский → Русский (Lingvo)");
    SetUiLanguageOverride(nullptr);
}

TEST(UpdateReport, OnlyAWebLinkIsOffered)
{
    using tray::gtk::UpdateQuestion;
    EXPECT_EQ(UpdateQuestion::OfferedLink("update available: https://example.com/Vocabra.msi\n"),
              "https://example.com/Vocabra.msi");
    EXPECT_EQ(UpdateQuestion::OfferedLink("update available: http://example.com/v\r\nmore"), "http://example.com/v");
    EXPECT_EQ(UpdateQuestion::OfferedLink("up to date\n"), "");
    EXPECT_EQ(UpdateQuestion::OfferedLink("warning\nupdate available: https://example.com/v\n"), "");
    // A hostile update document must not make "Yes" run a local file or another handler.
    EXPECT_EQ(UpdateQuestion::OfferedLink("update available: file:///etc/passwd\n"), "");
    EXPECT_EQ(UpdateQuestion::OfferedLink("update available: javascript:alert(1)\n"), "");
    EXPECT_EQ(UpdateQuestion::OfferedLink("update available: \n"), "");
}
}  // namespace
