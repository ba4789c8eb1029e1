// The lookup history in the main dialog and the tray menu: what is remembered, the "Recent" items,
// the off switch, clearing and the export.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "resources/Vocabra/resource.h"
#include "tests/support/TestSupport.h"
#include "tests/tray/MainDialogFixture.h"
#include "tray/RecentMenu.h"
#include "tray/UserSettings.h"

namespace {
using testsupport::MainDialogTest;
using tray::HistoryEntry;
using tray::MenuItem;

std::vector<std::u16string> Words(const std::vector<HistoryEntry>& entries)
{
    std::vector<std::u16string> words;
    words.reserve(entries.size());
    for (const HistoryEntry& entry : entries)
        words.push_back(entry.word);
    return words;
}

class HistoryTest : public MainDialogTest {
protected:
    void Translate(const std::u16string& word)
    {
        m_view.word = word;
        Controller().OnTranslate();
    }
    // What the controller has kept, as its last save says.
    std::vector<HistoryEntry> Kept() const
    {
        return m_savedHistories.empty() ? m_startHistory : m_savedHistories.back();
    }
    // The "Recent" popup of the tray menu, and where it stands among the dictionary items.
    std::pair<MenuItem, std::size_t> RecentPopup()
    {
        const tray::TrayMenuState state = Controller().MenuState();
        EXPECT_TRUE(state.dictionary.has_value());
        const std::vector<MenuItem>& items = state.dictionary->items;
        const auto found = std::find_if(items.begin(), items.end(), [](const MenuItem& item) {
            return item.text == testsupport::kTexts.recent.recent;
        });
        EXPECT_NE(found, items.end());
        if (found == items.end())
            return {MenuItem{}, 0};
        const bool beforeService =
            std::next(found) != items.end() && std::next(found)->text == testsupport::kTexts.menu.service;
        EXPECT_TRUE(beforeService) << "Recent comes right before Service";
        return {*found, static_cast<std::size_t>(found - items.begin())};
    }
};

TEST_F(HistoryTest, EveryTranslationIsRememberedAndARepeatMovesToTheTop)
{
    const auto before = static_cast<std::int64_t>(std::time(nullptr));
    Translate(u"cat");
    Translate(u" dog ");
    Controller().OnClipboardText(u"fish");  // a hot key's word
    Translate(u"cat");
    const auto after = static_cast<std::int64_t>(std::time(nullptr));

    ASSERT_EQ(m_savedHistories.size(), 4u) << "each translation is saved";
    const std::vector<HistoryEntry> kept = Kept();
    EXPECT_EQ(Words(kept), (std::vector<std::u16string>{u"cat", u"fish", u"dog"}));
    for (const HistoryEntry& entry : kept) {
        EXPECT_EQ(entry.direction, u"en-ru");
        EXPECT_EQ(entry.serviceId, u"A");
        EXPECT_GE(entry.time, before);
        EXPECT_LE(entry.time, after);
    }
    EXPECT_EQ(m_view.suggestions, (std::vector<std::u16string>{u"cat", u"fish", u"dog"}));

    // A translation that no service can make leaves no trace.
    m_settings->key.SetString(u"dictionaryDirection", u"xx-yy");
    Translate(u"bird");
    EXPECT_EQ(m_savedHistories.size(), 4u);
}

TEST_F(HistoryTest, TheWordBoxOffersEachEarlierWordOnceNewestFirst)
{
    m_startHistory = {{u"cat", u"en-ru", u"A", 3}, {u"dog", u"en-ru", u"B", 2}, {u"cat", u"ru-en", u"A", 1}};
    Controller();
    EXPECT_EQ(m_view.suggestions, (std::vector<std::u16string>{u"cat", u"dog"}));
}

TEST_F(HistoryTest, RecentShowsTheLastTenWordsBeforeServiceWithCommandsOfItsOwn)
{
    for (int i = 0; i < 12; ++i)
        m_startHistory.push_back({u"w" + std::u16string(1, static_cast<char16_t>(u'a' + i)), u"en-ru", u"A", 100 - i});
    const auto [recent, place] = RecentPopup();
    ASSERT_EQ(recent.kind, MenuItem::Kind::Popup);
    ASSERT_EQ(recent.items.size(), 14u);  // ten words, a separator, the switch, export, clear
    for (std::uint32_t i = 0; i < 10; ++i) {
        EXPECT_EQ(recent.items[i].command, tray::kRecentCommandBase + i);
        EXPECT_EQ(recent.items[i].text, m_startHistory[i].word + u" (en → ru)");
    }
    EXPECT_EQ(recent.items[10].kind, MenuItem::Kind::Separator);
    EXPECT_EQ(recent.items[11].kind, MenuItem::Kind::Check);
    EXPECT_TRUE(recent.items[11].checked) << "on by default";
    EXPECT_EQ(recent.items[12].text, testsupport::kTexts.recent.exportHistory);
    EXPECT_EQ(recent.items[13].text, testsupport::kTexts.recent.clearHistory);
    EXPECT_TRUE(recent.items[12].enabled && recent.items[13].enabled);

    // The history's commands reach neither the dictionary items' ranges nor the program's own.
    for (const MenuItem& item : recent.items) {
        if (item.kind == MenuItem::Kind::Separator)
            continue;
        EXPECT_GE(item.command, tray::kDirectionCommandBase + tray::kMaxDirectionCommands);
        EXPECT_LT(item.command, static_cast<std::uint32_t>(ID_USE_CTRL_INS_INS));
    }
    // Commands past the ten shown do nothing.
    EXPECT_TRUE(Controller().OnMenuCommand(tray::kRecentCommandBase + 10));
    EXPECT_TRUE(m_view.answers.empty());
}

TEST_F(HistoryTest, AnEmptyHistoryHasNothingToExportOrClear)
{
    const auto [recent, place] = RecentPopup();
    ASSERT_EQ(recent.items.size(), 3u);
    EXPECT_FALSE(recent.items[1].enabled);
    EXPECT_FALSE(recent.items[2].enabled);
    Controller().OnMenuCommand(tray::kClearHistoryCommand);
    EXPECT_TRUE(m_view.questions.empty());
}

TEST_F(HistoryTest, ARecentItemTranslatesAgainWithItsOwnDirectionAndService)
{
    m_startHistory = {{u"Hund", u"de-ru", u"A", 3}, {u"cat", u"en-ru", u"B", 2}, {u"horse", u"en-ru", u"Gone", 1}};
    RecentPopup();
    // A new lookup while the menu is open does not change what its items stand for.
    Translate(u"new");
    ASSERT_TRUE(Controller().OnMenuCommand(tray::kRecentCommandBase + 1));
    ASSERT_EQ(m_view.answers.size(), 2u);
    EXPECT_EQ(m_view.answers[1].word, u"cat");
    EXPECT_EQ(m_view.answers[1].direction, u"en-ru");
    EXPECT_EQ(m_view.answers[1].serviceId, u"B") << "not the direction's first service, A";
    EXPECT_EQ(m_view.word, u"cat");
    EXPECT_EQ(Stored(u"dictionaryPriority"), u"(absent)") << "the choices stay as they were";

    ASSERT_TRUE(Controller().OnMenuCommand(tray::kRecentCommandBase));
    EXPECT_EQ(m_view.answers.back().direction, u"de-ru");
    EXPECT_EQ(Stored(u"dictionaryDirection"), u"(absent)");

    // A service that is gone: the direction's first one answers.
    ASSERT_TRUE(Controller().OnMenuCommand(tray::kRecentCommandBase + 2));
    EXPECT_EQ(m_view.answers.back().serviceId, u"A");

    EXPECT_EQ(Words(Kept()), (std::vector<std::u16string>{u"horse", u"Hund", u"cat", u"new", u"horse"}));
    EXPECT_EQ(Kept()[0].serviceId, u"A");
    EXPECT_EQ(Kept()[4].serviceId, u"Gone") << "another service's lookup of the word is another entry";
}

TEST_F(HistoryTest, ARecentItemChosenDuringAWaitRunsAfterIt)
{
    m_startHistory = {{u"Hund", u"de-ru", u"A", 3}};
    RecentPopup();
    m_view.onAnswer = [&] {
        m_view.onAnswer = nullptr;
        Controller().OnMenuCommand(tray::kRecentCommandBase);
        EXPECT_EQ(m_view.answers.size(), 1u);
    };
    Translate(u"cat");
    ASSERT_EQ(m_view.answers.size(), 2u);
    EXPECT_EQ(m_view.answers[1].word, u"Hund");
    EXPECT_EQ(m_view.answers[1].direction, u"de-ru");
    EXPECT_EQ(m_view.updateOffers, 1);
}

TEST_F(HistoryTest, TheOffSwitchStopsNewEntriesAndOffersToClearTheOld)
{
    m_startHistory = {{u"cat", u"en-ru", u"A", 1}};
    Controller();
    m_view.answerYes = false;
    ASSERT_TRUE(Controller().OnMenuCommand(tray::kKeepHistoryCommand));
    EXPECT_FALSE(tray::IsHistoryKept(m_settings->key));
    EXPECT_EQ(m_view.questions, std::vector<std::u16string>{testsupport::kTexts.clearHistoryQuestion});
    EXPECT_FALSE(RecentPopup().first.items[2].checked);
    Translate(u"dog");
    EXPECT_EQ(Words(Kept()), std::vector<std::u16string>{u"cat"}) << "kept, nothing added";

    Controller().OnMenuCommand(tray::kKeepHistoryCommand);
    EXPECT_TRUE(tray::IsHistoryKept(m_settings->key));
    EXPECT_EQ(m_view.questions.size(), 1u) << "switching on asks nothing";
    Translate(u"dog");
    EXPECT_EQ(Words(Kept()), (std::vector<std::u16string>{u"dog", u"cat"}));

    m_view.answerYes = true;
    Controller().OnMenuCommand(tray::kKeepHistoryCommand);
    EXPECT_TRUE(Kept().empty());
    EXPECT_TRUE(m_view.suggestions.empty());
}

TEST_F(HistoryTest, ClearAsksFirst)
{
    m_startHistory = {{u"cat", u"en-ru", u"A", 1}};
    Controller();
    m_view.answerYes = false;
    Controller().OnMenuCommand(tray::kClearHistoryCommand);
    EXPECT_TRUE(m_savedHistories.empty());
    m_view.answerYes = true;
    const int menuChanges = m_view.menuChanges;
    Controller().OnMenuCommand(tray::kClearHistoryCommand);
    ASSERT_EQ(m_savedHistories.size(), 1u);
    EXPECT_TRUE(Kept().empty());
    EXPECT_GT(m_view.menuChanges, menuChanges) << "a menu on screen shows it";
    EXPECT_TRUE(tray::IsHistoryKept(m_settings->key));
}

TEST_F(HistoryTest, ExportWritesAFileAFlashCardProgramImports)
{
    m_startHistory = {{u"кот", u"ru-en", u"A", 1796744683}, {u"a\tb", u"en-ru", u"B", 0}, {u"x", u"en-ru", u"Gone", 0}};
    const testsupport::TempFolder folder;
    const std::filesystem::path file = folder.Path() / "words.txt";
    Controller();

    Controller().OnMenuCommand(tray::kExportHistoryCommand);  // the dialog cancelled
    EXPECT_FALSE(std::filesystem::exists(file));

    m_view.exportPath = file.string();
    Controller().OnMenuCommand(tray::kExportHistoryCommand);
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(),
              "#separator:tab\n#html:false\n#columns:Word\tDirection\tService\tTime\n"
              "\xD0\xBA\xD0\xBE\xD1\x82\tru-en\tAlpha\t2026-12-08T15:44:43Z\n"
              "a b\ten-ru\tBeta\t1970-01-01T00:00:00Z\n"
              "x\ten-ru\tGone\t1970-01-01T00:00:00Z\n");
    EXPECT_TRUE(m_view.messages.empty());

    // A place that cannot be written: the user is told.
    m_view.exportPath = (file / "inside-a-file.txt").string();
    Controller().OnMenuCommand(tray::kExportHistoryCommand);
    EXPECT_EQ(m_view.messages, std::vector<std::u16string>{testsupport::kTexts.exportFailed});
}

}  // namespace
