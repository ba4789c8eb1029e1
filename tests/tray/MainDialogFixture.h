#pragma once
// A main-dialog controller over a view that records what it is told, with a translation manager
// of the test's own. Services: A ("Alpha") translates de-ru, en-ru and ru-en; B ("Beta") en-ru and
// ru-de; A comes first by priority. The direction names are Russian.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/config/Settings.h"
#include "tests/translate/EngineFixture.h"
#include "tests/translate/RecordingTarget.h"
#include "translate/manager/DictionaryManager.h"
#include "translate/manager/TranslateException.h"
#include "tray/MainDialogController.h"

namespace testsupport {

class RecordingView : public tray::MainDialogView {
public:
    void FillDirections(const std::vector<tray::DirectionItem>& items) override
    {
        directions = items;
        ++directionFills;
        selectedDirection.reset();
        if (onFill)
            onFill();
    }
    void SelectDirection(std::optional<std::size_t> row) override
    {
        selectedDirection = row;
        if (onFill)
            onFill();
    }
    void FillServices(const std::vector<tray::ServiceChoice>& choices) override
    {
        services.clear();
        for (const tray::ServiceChoice& choice : choices)
            services.push_back({choice.index, choice.service->m_id});
        selectedService.reset();
    }
    void SelectFirstService() override
    {
        if (!services.empty())
            selectedService = 0;
    }
    void SetOpenInBrowserCheck(bool checked) override { browserCheck = checked; }
    void ShowServiceIcon(const std::u16string& serviceId) override { icon = serviceId; }
    void SetTip(const std::u16string& text) override { tip = text; }
    void MenuChanged() override { ++menuChanges; }
    bool WatchHotKeys(bool wanted) override
    {
        watchWanted = wanted;
        return wanted && canWatchHotKeys;
    }
    std::u16string Word() const override { return word; }
    void SetWord(const std::u16string& text) override { word = text; }
    void PrepareHotKeyAnswer(bool showDialog) override { hotKeyAnswers.push_back(showDialog); }
    void OpenAnswer(const tray::AnswerRequest& request) override
    {
        answers.push_back({request.word, request.direction, request.serviceId});
#ifndef _WIN32
        // Not under Wine: there the engine drives the target's browser, and for this target, which
        // has none, it starts an Internet Explorer of its own. That one outlives the test program
        // and keeps later Wine tests from starting theirs.
        request.show(target);
#endif
        if (onAnswer)
            onAnswer();
    }
    void UseBrowserTarget(const std::function<void(translate::target::Target&)>& use) override
    {
        const std::size_t before = browserTarget.requests.size();
        use(browserTarget);
        browserAnswers += browserTarget.requests.size() - before;
    }
    void OfferUpdate() override
    {
        ++updateOffers;
    }
    void ShowMessage(const std::u16string& text) override
    {
        messages.push_back(text);
    }
    void SetWordSuggestions(const std::vector<std::u16string>& words) override
    {
        suggestions = words;
    }
    bool Ask(const std::u16string& question) override
    {
        questions.push_back(question);
        return answerYes;
    }
    std::optional<std::string> AskExportPath() override
    {
        return exportPath;
    }

    struct Service {
        std::size_t index;
        std::u16string id;
        bool operator==(const Service& other) const { return index == other.index && id == other.id; }
    };
    struct Answer {
        std::u16string word;
        translate::Direction direction;
        std::u16string serviceId;
    };

    // The lists' items by name, in their order.
    std::vector<std::u16string> DirectionNames() const
    {
        std::vector<std::u16string> names;
        for (const tray::DirectionItem& item : directions)
            names.push_back(item.name);
        return names;
    }
    std::optional<std::u16string> SelectedDirectionName() const
    {
        if (!selectedDirection || *selectedDirection >= directions.size())
            return std::nullopt;
        return directions[*selectedDirection].name;
    }

    std::vector<tray::DirectionItem> directions;
    int directionFills = 0;
    std::optional<std::size_t> selectedDirection;
    std::vector<Service> services;
    std::optional<std::size_t> selectedService;
    std::optional<bool> browserCheck;
    std::u16string icon;
    std::u16string tip;
    int menuChanges = 0;
    bool canWatchHotKeys = true;
    std::optional<bool> watchWanted;
    std::u16string word;
    std::vector<bool> hotKeyAnswers;
    std::vector<Answer> answers;
    RecordingTarget target;         // the answer windows'
    RecordingTarget browserTarget;  // the web browser's
    std::size_t browserAnswers = 0;
    int updateOffers = 0;
    std::vector<std::u16string> messages;
    std::vector<std::u16string> suggestions;
    std::vector<std::u16string> questions;
    bool answerYes = true;
    std::optional<std::string> exportPath;  // the Save dialog's answer
    std::function<void()> onFill;           // a control that reports its own filling as a choice
    std::function<void()> onAnswer;         // the user acts while an answer is being waited for
};

inline const tray::MainDialogTexts kTexts{u"Vocabra",
                                          u"Словарь: %s (%s)",
                                          u"Горячие клавиши выключены",
                                          u"Не сохранено",
                                          {u"Другие", u"Словарь", u"В браузере"},
                                          {u"Недавние", u"Вести историю", u"Экспорт…", u"Очистить историю"},
                                          u"Очистить историю?",
                                          u"Не удалось экспортировать"};

class MainDialogTest : public EngineTest {
protected:
    MainDialogTest()
    {
        WriteService("a.properties", "Alpha", "de-ru,en-ru,ru-en", "1,2,3");
        WriteService("b.properties", "Beta", "en-ru,ru-de", "1,2");
        WriteSimpleServices({"A", "B"}, "favour.dictionary.count=3\n");
        // Made now: both read the configuration when they are constructed.
        m_settings = std::make_unique<Settings>();
        m_manager = std::make_unique<translate::manager::DictionaryManager>();
        m_manager->Initialize();
        // Stored choices of earlier tests (under Wine the registry outlives the test program)
        // would change the current direction.
        DeleteValues();
        m_savedNames = TranslateDirectionTable();
        TranslateDirectionTable().LoadText(
            "de-=Немецкий\nen-=Английский\nru-=Русский\n-ru=→ русский\n-en=→ английский\n-de=→ немецкий\n");
    }
    ~MainDialogTest() override
    {
        TranslateDirectionTable() = m_savedNames;
        DeleteValues();
    }

    void DeleteValues()
    {
        for (const char16_t* name :
             {u"dictionaryDirection", u"dictionaryPriority", u"dictionaryDefaultDirections", u"useCtrlCC",
              u"useCtrlInsIns", u"openMainWindowOnTranslation", u"A.openInBrowser", u"B.openInBrowser", u"keepHistory"})
            m_settings->key.DeleteValue(name);
    }

    tray::ManagerSource Source()
    {
        return [this]() -> translate::manager::TranslateManager& { return *m_manager; };
    }
    // The controller, started.
    tray::MainDialogController& Controller()
    {
        if (!m_controller) {
            m_controller = std::make_unique<tray::MainDialogController>(
                m_view, *m_settings, Source(), kTexts,
                tray::KeptHistory{m_startHistory, [this](const std::vector<tray::HistoryEntry>& entries) {
                                      m_savedHistories.push_back(entries);
                                  }});
            m_controller->Start();
        }
        return *m_controller;
    }
    std::u16string Stored(const char16_t* name) const
    {
        std::u16string value;
        return m_settings->key.GetString(name, value) ? value : u"(absent)";
    }

    std::unique_ptr<Settings> m_settings;
    RecordingView m_view;
    std::unique_ptr<translate::manager::DictionaryManager> m_manager;
    std::unique_ptr<tray::MainDialogController> m_controller;
    std::vector<tray::HistoryEntry> m_startHistory;                 // as the program found it
    std::vector<std::vector<tray::HistoryEntry>> m_savedHistories;  // every save, in order
    Properties m_savedNames;
};

}  // namespace testsupport
