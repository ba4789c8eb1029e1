#include "tray/MainDialogController.h"

#include <algorithm>
#include <ctime>
#include <unordered_set>
#include <utility>

#include "foundation/text/WhiteSpace.h"
#include "resources/Vocabra/resource.h"
#include "translate/manager/DirectionName.h"
#include "translate/manager/TranslateException.h"
#include "tray/ClipboardWord.h"
#include "tray/HistoryFile.h"
#include "tray/HotKeyRecognizer.h"
#include "tray/OpenInBrowser.h"
#include "tray/TrayTip.h"
#include "tray/UserSettings.h"

namespace tray {
namespace {
using translate::manager::TranslateManager;

// Sets a flag for the life of a scope, whatever leaves it.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~FlagScope() { m_flag = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& m_flag;
};

bool InRange(std::uint32_t command, std::uint32_t base, std::uint32_t count)
{
    return command >= base && command < base + count;
}

// The service an earlier lookup used, while it still serves the direction; else the one a new
// lookup would use. Throws TranslateException when none serves it.
translate::service::TranslateService& ServiceFor(TranslateManager& manager,
                                                 const translate::Direction& direction,
                                                 const std::u16string& serviceId)
{
    const auto found = manager.m_servicesById.find(serviceId);
    if (found != manager.m_servicesById.end() && found->second->FindDirection(direction) != -1)
        return *found->second;
    return *manager.GetServiceFor(direction);
}

// Each word once, newest first: what the word box offers.
std::vector<std::u16string> DistinctWords(const std::vector<HistoryEntry>& entries)
{
    std::vector<std::u16string> words;
    std::unordered_set<std::u16string> seen;
    for (const HistoryEntry& entry : entries) {
        if (seen.insert(entry.word).second)
            words.push_back(entry.word);
    }
    return words;
}
}  // namespace

MainDialogTexts LoadMainDialogTexts(const ResourceText& text)
{
#define VOCABRA_TEXT(id) text(#id, id)
    return {VOCABRA_TEXT(IDR_MAINFRAME),
            VOCABRA_TEXT(IDS_TRAY_TIP),
            VOCABRA_TEXT(IDS_HOT_KEYS_OFF),
            VOCABRA_TEXT(IDS_SETTING_NOT_STORED),
            {VOCABRA_TEXT(IDS_OTHER_DIRECTIONS), VOCABRA_TEXT(IDS_SERVICES), VOCABRA_TEXT(IDS_OPEN_IN_BROWSER)},
            {VOCABRA_TEXT(IDS_RECENT), VOCABRA_TEXT(IDS_KEEP_HISTORY), VOCABRA_TEXT(IDS_EXPORT_HISTORY),
             VOCABRA_TEXT(IDS_CLEAR_HISTORY)},
            VOCABRA_TEXT(IDS_CLEAR_HISTORY_QUESTION),
            VOCABRA_TEXT(IDS_EXPORT_FAILED)};
#undef VOCABRA_TEXT
}

MainDialogController::MainDialogController(MainDialogView& view,
                                           Settings& settings,
                                           ManagerSource manager,
                                           MainDialogTexts texts,
                                           KeptHistory history,
                                           text::Collation collation)
    : m_view(view),
      m_settings(settings),
      m_manager(std::move(manager)),
      m_texts(std::move(texts)),
      m_collation(std::move(collation)),
      m_serviceTip(m_texts.programName),
      m_history(std::move(history.entries)),
      m_saveHistory(std::move(history.save))
{
}

void MainDialogController::Start()
{
    UpdateControls();
    UpdateHotKeys();
    m_view.SetWordSuggestions(DistinctWords(m_history.Entries()));
}

void MainDialogController::Stop()
{
    m_stopped = true;
}

void MainDialogController::UpdateControls()
{
    const translate::Direction direction = GetCurrentDirection(m_settings.key);
    TranslateManager* manager = nullptr;
    const translate::service::TranslateService* current = nullptr;
    try {
        manager = &m_manager();
        current = manager->GetServiceFor(direction);
    } catch (const translate::TranslateException&) {
        return;  // nothing supports the direction: everything keeps its previous content
    }

    m_serviceTip = FillPlaces(m_texts.trayTip, translate::GetDirectionName(direction), current->m_name);
    m_view.ShowServiceIcon(current->m_id);
    ShowTip();
    {
        const FlagScope updating(m_updating);
        FillDirectionList(*manager, direction);
        FillServiceList(*manager, direction);
        m_view.SetOpenInBrowserCheck(OpensInBrowser(m_settings.key, current->m_id));
    }
    m_view.MenuChanged();
}

void MainDialogController::FillDirectionList(TranslateManager& manager, const translate::Direction& current)
{
    std::vector<DirectionItem> items;
    items.reserve(manager.m_directions.size());
    for (std::size_t i = 0; i < manager.m_directions.size(); ++i)
        items.push_back({translate::GetDirectionName(manager.m_directions[i]), i});
    // By the text shown, as the user's language orders it.
    std::stable_sort(items.begin(), items.end(), [this](const DirectionItem& left, const DirectionItem& right) {
        return m_collation.Less(left.name, right.name);
    });
    // Refilled only when the items change: a list refilled under the keyboard loses its place.
    if (items != m_listedDirections) {
        m_view.FillDirections(items);
        m_listedDirections = items;
    }
    std::optional<std::size_t> selected;
    for (std::size_t row = 0; row < items.size() && !selected; ++row) {
        if (manager.m_directions[items[row].index] == current)
            selected = row;
    }
    m_view.SelectDirection(selected);
}

void MainDialogController::FillServiceList(TranslateManager& manager, const translate::Direction& current)
{
    const std::vector<ServiceChoice> choices = ServicesFor(manager, current);
    // By service and place: a new priority gives the same places to other services.
    std::vector<std::pair<std::size_t, std::u16string>> listed;
    listed.reserve(choices.size());
    for (const ServiceChoice& choice : choices)
        listed.emplace_back(choice.index, choice.service->m_id);
    if (listed != m_listedServices) {
        m_view.FillServices(choices);
        m_listedServices = std::move(listed);
    }
    // The first service is the one a translation uses.
    m_view.SelectFirstService();
}

void MainDialogController::UpdateHotKeys()
{
    const bool wanted = !AreBothHotKeysOff(m_settings.key);
    const bool watching = m_view.WatchHotKeys(wanted);
    const bool off = wanted && !watching;
    if (off != m_hotKeysOff) {
        m_hotKeysOff = off;
        ShowTip();
    }
}

void MainDialogController::ShowTip()
{
    m_view.SetTip(TrayTipText(m_serviceTip, m_hotKeysOff, m_texts.hotKeysOff));
}

void MainDialogController::AfterChoice(ChoiceResult result)
{
    if (result == ChoiceResult::Refused)
        return;
    // After a failed write too: the controls then go back to what is stored.
    UpdateControls();
    if (result == ChoiceResult::NotStored)
        m_view.ShowMessage(m_texts.settingNotStored);
}

void MainDialogController::OnDirectionChosen(std::size_t index)
{
    if (m_updating)
        return;
    try {
        AfterChoice(ChooseDirection(m_settings, m_manager(), index));
    } catch (const translate::TranslateException&) {
    }
}

void MainDialogController::OnServiceChosen(std::size_t index)
{
    if (m_updating)
        return;
    try {
        AfterChoice(ChooseService(m_settings.key, m_manager(), index));
    } catch (const translate::TranslateException&) {
    }
}

void MainDialogController::OnOpenInBrowserChecked(bool inBrowser)
{
    if (m_updating)
        return;
    try {
        AfterChoice(SetCurrentServiceOpensInBrowser(m_settings.key, m_manager(), GetCurrentDirection(m_settings.key),
                                                    inBrowser));
    } catch (const translate::TranslateException&) {
    }
}

bool MainDialogController::OnMenuCommand(std::uint32_t command)
{
    if (command == ID_USE_CTRL_INS_INS || command == ID_USE_CTRL_C_C) {
        const ChoiceResult result =
            ToggleHotKey(m_settings.key, command == ID_USE_CTRL_INS_INS ? u"useCtrlInsIns" : u"useCtrlCC");
        UpdateHotKeys();
        m_view.MenuChanged();
        if (result == ChoiceResult::NotStored)
            m_view.ShowMessage(m_texts.settingNotStored);
        return true;
    }
    if (InRange(command, kRecentCommandBase, kClearHistoryCommand + 1 - kRecentCommandBase)) {
        OnHistoryCommand(command);
        return true;
    }
    // Favourites and the items of "Other" are all direction commands.
    const bool direction = InRange(command, kDirectionCommandBase, kMaxDirectionCommands);
    const bool service = InRange(command, kServiceCommandBase, kMaxServiceCommands);
    if (!direction && !service && command != ID_OPEN_IN_BROWSER)
        return false;
    try {
        TranslateManager& manager = m_manager();
        if (direction)
            AfterChoice(ChooseDirection(m_settings, manager, command - kDirectionCommandBase));
        else if (service)
            AfterChoice(ChooseService(m_settings.key, manager, command - kServiceCommandBase));
        else
            AfterChoice(ToggleOpenInBrowser(m_settings.key, manager, GetCurrentDirection(m_settings.key)));
    } catch (const translate::TranslateException&) {
    }
    return true;
}

TrayMenuState MainDialogController::MenuState()
{
    TrayMenuState state;
    state.ctrlInsIns = IsHotKeyOn(m_settings.key, u"useCtrlInsIns");
    state.ctrlCC = IsHotKeyOn(m_settings.key, u"useCtrlCC");
    try {
        state.dictionary =
            MakeDictionaryMenu(m_manager(), m_settings.key, GetCurrentDirection(m_settings.key), m_texts.menu);
        const std::vector<HistoryEntry>& entries = m_history.Entries();
        m_recentShown.assign(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(
                                                                    entries.size(), kMaxRecentCommands)));
        // Before "Service", the last of the dictionary items.
        std::vector<MenuItem>& items = state.dictionary->items;
        items.insert(items.end() - 1, BuildRecentPopup(entries, IsHistoryKept(m_settings.key), m_texts.recent));
    } catch (const translate::TranslateException&) {
        // No manager: the menu keeps the program's own items.
    }
    return state;
}

std::vector<const translate::service::TranslateService*> MainDialogController::Services()
{
    try {
        const auto services = m_manager().GetServicesByPriority();
        return {services.begin(), services.end()};
    } catch (const translate::TranslateException&) {
        return {};
    }
}

void MainDialogController::OnTranslate()
{
    Run(Lookup{});
}

void MainDialogController::Run(Lookup lookup)
{
    if (m_stopped)
        return;
    if (m_translating) {
        // A double press or a click while an answer is being waited for: it runs once the
        // current translation is over; from the word box, with the word it holds then.
        m_queued = std::move(lookup);
        return;
    }
    std::optional<Lookup> next = std::move(lookup);
    bool translated = false;
    while (next) {
        Lookup current = std::move(*next);
        if (current.word.empty())
            current.word = text::Trim(m_view.Word());
        if (!current.word.empty()) {
            Translate(current);
            translated = true;
        }
        if (m_stopped)
            return;  // Exit came while the translation waited
        next = std::exchange(m_queued, std::nullopt);
    }
    if (translated)
        m_view.OfferUpdate();
}

void MainDialogController::Translate(const Lookup& lookup)
{
    const FlagScope translating(m_translating);
    try {
        TranslateManager& manager = m_manager();
        const std::u16string& word = lookup.word;
        const translate::Direction direction =
            lookup.direction ? *lookup.direction : GetCurrentDirection(m_settings.key);
        translate::service::TranslateService& service = ServiceFor(manager, direction, lookup.serviceId);
        m_view.UseBrowserTarget([&](translate::target::Target& browser) {
            TranslateWord(m_settings.key, service, word, direction, browser, [&] {
                m_view.OpenAnswer({word, direction, service.m_id, [&](translate::target::Target& target) {
                                       service.Translate(word, direction, target);
                                   }});
            });
        });
        Remember(word, direction, service.m_id);
    } catch (const translate::TranslateException&) {
        // The request failed; the user sees nothing, as with every engine failure.
    }
}

void MainDialogController::OnHistoryCommand(std::uint32_t command)
{
    if (command == kKeepHistoryCommand) {
        const bool keep = !IsHistoryKept(m_settings.key);
        if (!SetHistoryKept(m_settings.key, keep)) {
            m_view.ShowMessage(m_texts.settingNotStored);
            return;
        }
        m_view.MenuChanged();
        if (!keep && !m_history.Entries().empty() && m_view.Ask(m_texts.clearHistoryQuestion))
            ClearHistory();
    } else if (command == kExportHistoryCommand) {
        ExportHistoryFile();
    } else if (command == kClearHistoryCommand) {
        if (!m_history.Entries().empty() && m_view.Ask(m_texts.clearHistoryQuestion))
            ClearHistory();
    } else if (const std::size_t index = command - kRecentCommandBase; index < m_recentShown.size()) {
        const HistoryEntry entry = m_recentShown[index];
        m_view.SetWord(entry.word);
        Run(Lookup{entry.word, entry.direction, entry.serviceId});
    }
}

void MainDialogController::Remember(const std::u16string& word,
                                    const translate::Direction& direction,
                                    const std::u16string& serviceId)
{
    if (!IsHistoryKept(m_settings.key))
        return;
    m_history.Add({word, direction, serviceId, static_cast<std::int64_t>(std::time(nullptr))});
    HistoryChanged();
}

void MainDialogController::ClearHistory()
{
    m_history.Clear();
    HistoryChanged();
}

void MainDialogController::HistoryChanged()
{
    if (m_saveHistory)
        m_saveHistory(m_history.Entries());
    m_view.SetWordSuggestions(DistinctWords(m_history.Entries()));
    m_view.MenuChanged();
}

void MainDialogController::ExportHistoryFile()
{
    const std::optional<std::string> path = m_view.AskExportPath();
    if (!path)
        return;
    TranslateManager* manager = nullptr;
    try {
        manager = &m_manager();
    } catch (const translate::TranslateException&) {
        // Without the services their ids stand for their names.
    }
    const auto name = [manager](const std::u16string& serviceId) {
        if (manager) {
            const auto found = manager->m_servicesById.find(serviceId);
            if (found != manager->m_servicesById.end())
                return found->second->m_name;
        }
        return serviceId;
    };
    if (!ReplaceHistoryFile(*path, ExportHistory(m_history.Entries(), name)))
        m_view.ShowMessage(m_texts.exportFailed);
}

bool MainDialogController::IsDoublePressOn(std::uint32_t virtualKey) const
{
    if (virtualKey == kVirtualKeyInsert)
        return IsHotKeyOn(m_settings.key, u"useCtrlInsIns");
    if (virtualKey == kVirtualKeyC)
        return IsHotKeyOn(m_settings.key, u"useCtrlCC");
    return true;
}

void MainDialogController::OnClipboardText(std::u16string_view text)
{
    if (m_stopped)
        return;
    const std::u16string word = CleanClipboardWord(text);
    if (word.empty())
        return;
    m_view.SetWord(word);
    m_view.PrepareHotKeyAnswer(IsOpenMainWindowOnTranslation(m_settings.key));
    OnTranslate();
}

}  // namespace tray
