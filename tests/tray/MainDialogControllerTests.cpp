// The main dialog's decisions, grouped by what the user does, through a view that records them.
#include <gtest/gtest.h>

#include "resources/Vocabra/resource.h"
#include "tests/tray/MainDialogFixture.h"
#include "tray/HotKeyRecognizer.h"
#include "tray/OpenInBrowser.h"
#include "tray/RecentMenu.h"

namespace {
using testsupport::MainDialogTest;
using testsupport::RecordingView;
using Service = RecordingView::Service;

constexpr std::uint32_t kDirectionCommand = tray::kDirectionCommandBase;
constexpr std::uint32_t kServiceCommand = tray::kServiceCommandBase;

TEST_F(MainDialogTest, StartShowsTheCurrentDirectionWithItsServices)
{
    Controller();
    // Every direction by its name, each with its index in the manager's list (de-ru, en-ru,
    // ru-de, ru-en); the current one (en-ru, the default) selected.
    EXPECT_EQ(m_view.DirectionNames(), (std::vector<std::u16string>{u"Английский → русский", u"Немецкий → русский",
                                                                    u"Русский → английский", u"Русский → немецкий"}));
    EXPECT_EQ(m_view.directions[0].index, 1u);
    EXPECT_EQ(m_view.directions[3].index, 2u);
    EXPECT_EQ(m_view.SelectedDirectionName(), u"Английский → русский");
    // The services of en-ru in priority order, the first selected: the one a translation uses.
    EXPECT_EQ(m_view.services, (std::vector<Service>{{0, u"A"}, {1, u"B"}}));
    EXPECT_EQ(m_view.selectedService, 0u);
    EXPECT_EQ(m_view.icon, u"A");
    EXPECT_EQ(m_view.tip, u"Словарь: Английский → русский (Alpha)");
    EXPECT_EQ(m_view.browserCheck, false);
    EXPECT_EQ(m_view.watchWanted, true);
}

TEST_F(MainDialogTest, WithoutAServiceForTheDirectionTheControlsKeepTheirContent)
{
    m_settings->key.SetString(u"dictionaryDirection", u"xx-yy");
    Controller();
    EXPECT_TRUE(m_view.directions.empty());
    EXPECT_TRUE(m_view.services.empty());
    EXPECT_EQ(m_view.tip, u"");  // the front-end's own until a service is known
    EXPECT_EQ(m_view.watchWanted, true);
}

TEST_F(MainDialogTest, WithoutAManagerTheDialogStillRuns)
{
    RecordingView view;
    tray::MainDialogController controller(
        view, *m_settings,
        []() -> translate::manager::TranslateManager& { throw translate::TranslateException(u"no services"); },
        testsupport::kTexts);
    controller.Start();
    EXPECT_TRUE(view.directions.empty());
    EXPECT_FALSE(controller.MenuState().dictionary.has_value());
    EXPECT_TRUE(controller.Services().empty());
    EXPECT_TRUE(controller.OnMenuCommand(kDirectionCommand));  // a direction command, that fails quietly
    view.word = u"cat";
    controller.OnTranslate();
    EXPECT_TRUE(view.answers.empty());
    EXPECT_EQ(view.updateOffers, 1);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(MainDialogTest, ChoosingADirectionInTheListOrTheMenuMakesItCurrentAndFavourite)
{
    Controller();
    const int fills = m_view.directionFills;

    // The list gives back the index its item was given: de-ru, which only A translates.
    Controller().OnDirectionChosen(m_view.directions[1].index);
    EXPECT_EQ(Stored(u"dictionaryDirection"), u"de-ru");
    EXPECT_EQ(Stored(u"dictionaryDefaultDirections"), u"de-ru");
    EXPECT_EQ(m_view.SelectedDirectionName(), u"Немецкий → русский");
    EXPECT_EQ(m_view.services, (std::vector<Service>{{0, u"A"}}));
    EXPECT_EQ(m_view.tip, u"Словарь: Немецкий → русский (Alpha)");
    // The same items: the list is not refilled under the user's keyboard.
    EXPECT_EQ(m_view.directionFills, fills);

    // A menu command: a favourite or an item of "Other", both by the direction's index.
    EXPECT_TRUE(Controller().OnMenuCommand(kDirectionCommand + 2));
    EXPECT_EQ(Stored(u"dictionaryDirection"), u"ru-de");
    EXPECT_EQ(m_view.services, (std::vector<Service>{{1, u"B"}}));
    EXPECT_EQ(m_view.icon, u"B");
    const tray::TrayMenuState menu = Controller().MenuState();
    ASSERT_TRUE(menu.dictionary.has_value());
    EXPECT_EQ(menu.dictionary->checkedCommand, kDirectionCommand + 2);
    EXPECT_EQ(menu.dictionary->items[0].text, u"Русский → немецкий");  // the newest favourite first

    // A command past the directions chooses nothing and says nothing.
    const int menuChanges = m_view.menuChanges;
    EXPECT_TRUE(Controller().OnMenuCommand(kDirectionCommand + 4));
    EXPECT_EQ(Stored(u"dictionaryDirection"), u"ru-de");
    EXPECT_EQ(m_view.menuChanges, menuChanges);
    EXPECT_TRUE(m_view.messages.empty());
}

TEST_F(MainDialogTest, ChoosingAServiceMovesItToTheFrontAndTheListFollows)
{
    Controller();
    // In the list: B has place 1 of the priority order.
    Controller().OnServiceChosen(1);
    EXPECT_EQ(Stored(u"dictionaryPriority"), u"B,A");
    // The places are the same, the services are not: the list shows the new order.
    EXPECT_EQ(m_view.services, (std::vector<Service>{{0, u"B"}, {1, u"A"}}));
    EXPECT_EQ(m_view.selectedService, 0u);
    EXPECT_EQ(m_view.icon, u"B");
    EXPECT_EQ(m_view.tip, u"Словарь: Английский → русский (Beta)");

    // From the menu's "Service": by place in the priority order.
    EXPECT_TRUE(Controller().OnMenuCommand(kServiceCommand + 1));
    EXPECT_EQ(Stored(u"dictionaryPriority"), u"A,B");
    EXPECT_EQ(m_view.services, (std::vector<Service>{{0, u"A"}, {1, u"B"}}));
}

TEST_F(MainDialogTest, TheBrowserChoiceIsTheCurrentServicesFromTheDialogAndTheMenu)
{
    Controller();
    Controller().OnOpenInBrowserChecked(true);
    EXPECT_TRUE(tray::OpensInBrowser(m_settings->key, u"A"));
    EXPECT_EQ(m_view.browserCheck, true);

    // The menu's item switches it; the check box follows.
    const int menuChanges = m_view.menuChanges;
    EXPECT_TRUE(Controller().OnMenuCommand(ID_OPEN_IN_BROWSER));
    EXPECT_FALSE(tray::OpensInBrowser(m_settings->key, u"A"));
    EXPECT_EQ(m_view.browserCheck, false);
    EXPECT_GT(m_view.menuChanges, menuChanges);

    // Another direction's service has its own choice.
    Controller().OnMenuCommand(kDirectionCommand + 2);  // ru-de: B
    Controller().OnOpenInBrowserChecked(true);
    EXPECT_TRUE(tray::OpensInBrowser(m_settings->key, u"B"));
    EXPECT_FALSE(tray::OpensInBrowser(m_settings->key, u"A"));
}

TEST_F(MainDialogTest, ControlsBeingFilledAreNotTheUsersChoices)
{
    // A toolkit that reports its own filling as a change of selection (GTK does).
    m_view.onFill = [this] {
        if (m_controller && !m_view.directions.empty()) {
            m_controller->OnDirectionChosen(m_view.directions.back().index);
            m_controller->OnServiceChosen(1);
            m_controller->OnOpenInBrowserChecked(true);
        }
    };
    Controller();
    Controller().OnDirectionChosen(0);  // de-ru, by the user
    EXPECT_EQ(Stored(u"dictionaryDirection"), u"de-ru");
    EXPECT_EQ(Stored(u"dictionaryPriority"), u"(absent)");
    EXPECT_FALSE(tray::OpensInBrowser(m_settings->key, u"A"));
}

TEST_F(MainDialogTest, HotKeysAreWatchedWhileEitherIsOnAndTheTipSaysWhenTheyCannotBe)
{
    Controller();
    EXPECT_TRUE(Controller().IsDoublePressOn(tray::kVirtualKeyC));
    EXPECT_TRUE(Controller().OnMenuCommand(ID_USE_CTRL_C_C));
    EXPECT_FALSE(Controller().IsDoublePressOn(tray::kVirtualKeyC));
    EXPECT_TRUE(Controller().IsDoublePressOn(tray::kVirtualKeyInsert));
    EXPECT_EQ(m_view.watchWanted, true);
    EXPECT_FALSE(Controller().MenuState().ctrlCC);
    EXPECT_TRUE(Controller().MenuState().ctrlInsIns);

    // Both off: nothing to watch.
    EXPECT_TRUE(Controller().OnMenuCommand(ID_USE_CTRL_INS_INS));
    EXPECT_EQ(m_view.watchWanted, false);
    EXPECT_FALSE(Controller().IsDoublePressOn(tray::kVirtualKeyInsert));

    // On again, on a desktop that refuses: the tip says so first, and stops saying it when the
    // user switches them off.
    m_view.canWatchHotKeys = false;
    Controller().OnMenuCommand(ID_USE_CTRL_C_C);
    EXPECT_EQ(m_view.tip, u"Горячие клавиши выключены\nСловарь: Английский → русский (Alpha)");
    Controller().OnMenuCommand(ID_USE_CTRL_C_C);
    EXPECT_EQ(m_view.tip, u"Словарь: Английский → русский (Alpha)");
    EXPECT_TRUE(m_view.messages.empty());
}

TEST_F(MainDialogTest, TheFrontEndsOwnCommandsAreLeftToIt)
{
    Controller();
    for (const std::uint32_t command :
         {std::uint32_t{ID_OPEN_VOCABRA}, std::uint32_t{ID_APP_ABOUT}, std::uint32_t{ID_APP_EXIT}, 0u,
          kServiceCommand - 1, tray::kClearHistoryCommand + 1})
        EXPECT_FALSE(Controller().OnMenuCommand(command)) << command;
    EXPECT_EQ(Stored(u"dictionaryPriority"), u"(absent)");
}

TEST_F(MainDialogTest, TranslateShowsTheTrimmedWordInAnAnswerWindowOrTheBrowser)
{
    Controller();
    m_view.word = u"  cat \t";
    Controller().OnTranslate();
    ASSERT_EQ(m_view.answers.size(), 1u);
    EXPECT_EQ(m_view.answers[0].word, u"cat");
    EXPECT_EQ(m_view.answers[0].direction, u"en-ru");
    EXPECT_EQ(m_view.answers[0].serviceId, u"A");
#ifndef _WIN32
    // The native engine hands the address to the window's target; the Windows one drives the
    // target's browser.
    ASSERT_EQ(m_view.target.requests.size(), 1u);
    EXPECT_EQ(m_view.target.requests[0].url, u"http://Alpha.test/q?l=en&d=2&w=cat");
#endif
    EXPECT_EQ(m_view.updateOffers, 1);

    // Nothing to translate: nothing happens, not even the update offer.
    m_view.word = u" \t ";
    Controller().OnTranslate();
    EXPECT_EQ(m_view.answers.size(), 1u);
    EXPECT_EQ(m_view.updateOffers, 1);

#ifndef _WIN32
    // The service's answers in the browser: no answer window. (Under Wine the browser would be a
    // real one; the Wine tests of the browser choice have a fake of their own.)
    tray::SetOpensInBrowser(m_settings->key, u"A", true);
    m_view.word = u"cat";
    Controller().OnTranslate();
    EXPECT_EQ(m_view.answers.size(), 1u);
    EXPECT_EQ(m_view.browserAnswers, 1u);
#endif
}

TEST_F(MainDialogTest, AskingAgainWhileAnAnswerIsAwaitedRunsOnceAfterIt)
{
    Controller();
    int asked = 0;
    m_view.onAnswer = [&] {
        if (++asked > 1)
            return;
        // Two more requests while the first waits: the newest word wins, once.
        m_view.word = u"dog";
        Controller().OnTranslate();
        m_view.word = u"bird";
        Controller().OnTranslate();
        EXPECT_EQ(m_view.answers.size(), 1u);
    };
    m_view.word = u"cat";
    Controller().OnTranslate();
    ASSERT_EQ(m_view.answers.size(), 2u);
    EXPECT_EQ(m_view.answers[0].word, u"cat");
    EXPECT_EQ(m_view.answers[1].word, u"bird");
    EXPECT_EQ(m_view.updateOffers, 1);
}

TEST_F(MainDialogTest, ExitWhileAnAnswerIsAwaitedStartsNothingMore)
{
    Controller();
    m_view.onAnswer = [&] {
        m_view.word = u"dog";
        Controller().OnTranslate();
        Controller().Stop();
    };
    m_view.word = u"cat";
    Controller().OnTranslate();
    EXPECT_EQ(m_view.answers.size(), 1u);
    EXPECT_EQ(m_view.updateOffers, 0);
    Controller().OnClipboardText(u"fish");
    EXPECT_EQ(m_view.answers.size(), 1u);
}

TEST_F(MainDialogTest, TheClipboardsWordIsCleanedShownAndTranslated)
{
    Controller();
    Controller().OnClipboardText(u"  big\r\n");
    EXPECT_EQ(m_view.word, u"big");
    ASSERT_EQ(m_view.answers.size(), 1u);
    EXPECT_EQ(m_view.answers[0].word, u"big");
    EXPECT_EQ(m_view.hotKeyAnswers, std::vector<bool>{false});

    // The user's choice to see the dialog on every translation.
    m_settings->key.SetDWORD(u"openMainWindowOnTranslation", 1);
    Controller().OnClipboardText(u"small");
    EXPECT_EQ(m_view.hotKeyAnswers, (std::vector<bool>{false, true}));

    // Nothing but white space: the word box keeps its word, nothing is translated.
    Controller().OnClipboardText(u" \r\n\t");
    EXPECT_EQ(m_view.word, u"small");
    EXPECT_EQ(m_view.answers.size(), 2u);
    EXPECT_EQ(m_view.hotKeyAnswers.size(), 2u);
}

}  // namespace

namespace {
// Both front-ends' direction list, in the user's language: Ё is a letter of its own between Е and
// Ж, and Ö a variant of O; code-unit order puts both after every other letter.
class DirectionListOrder : public MainDialogTest {
protected:
    std::vector<std::u16string> Listed(const std::string& names, const std::string& locale)
    {
        TranslateDirectionTable().LoadText(names);
        text::Collation collation(locale);
        EXPECT_TRUE(collation.IsLocaleAvailable()) << locale << " is missing: tools/install-deps makes it";
        RecordingView view;
        tray::MainDialogController controller(view, *m_settings, Source(), testsupport::kTexts, {},
                                              std::move(collation));
        controller.Start();
        return view.DirectionNames();
    }
};

#ifdef _WIN32
constexpr char kRussian[] = "ru-RU";
constexpr char kGerman[] = "de-DE";
#else
constexpr char kRussian[] = "ru_RU.UTF-8";
constexpr char kGerman[] = "de_DE.UTF-8";
#endif

TEST_F(DirectionListOrder, FollowsTheUsersLanguage)
{
    // de-ru, en-ru, ru-de, ru-en
    EXPECT_EQ(Listed("de-=Ёж\nen-=Дом\nru-=Жук\n-ru=а\n-en=б\n-de=в\n", kRussian),
              (std::vector<std::u16string>{u"Дом а", u"Ёж а", u"Жук б", u"Жук в"}));
    EXPECT_EQ(Listed("de-=Zulu\nen-=Österreichisch\nru-=Ossetisch\n-ru=1\n-en=2\n-de=3\n", kGerman),
              (std::vector<std::u16string>{u"Ossetisch 2", u"Ossetisch 3", u"Österreichisch 1", u"Zulu 1"}));
}
}  // namespace
