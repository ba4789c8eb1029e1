// The engine's lists and direction tables: the comma-separated list format, the ordinal sort, the
// merged direction table of the manager, its priority order and its choice of service, and the
// direction names. Services come from a made-up configuration: listed ids, some unusable, each
// with its own directions.

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "foundation/text/WhiteSpace.h"
#include "fuzz/FuzzSupport.h"
#include "translate/manager/DirectionName.h"
#include "translate/manager/TranslateException.h"
#include "translate/manager/TranslateManager.h"

namespace {
using translate::Direction;
using translate::DirectionList;
using translate::TranslateException;
using translate::manager::TranslateManager;
using translate::service::TranslateService;

// Items are trimmed, non-empty, free of commas, in the order of the text, and the list written
// again with plain commas reads back the same.
std::vector<std::u16string> CheckedSplit(std::u16string_view text)
{
    const std::vector<std::u16string> items = translate::SplitList(text);
    std::u16string joined;
    std::size_t at = 0;
    for (const std::u16string& item : items) {
        FUZZ_CHECK(!item.empty() && text::Trim(item).size() == item.size());
        FUZZ_CHECK(item.find(u',') == std::u16string::npos);
        at = text.find(item, at);
        FUZZ_CHECK(at != std::u16string_view::npos);
        at += item.size();
        joined += (joined.empty() ? u"" : u",") + item;
    }
    FUZZ_CHECK(translate::SplitList(joined) == items);
    return items;
}

class FakeService : public TranslateService {
public:
    explicit FakeService(DirectionList directions) : TranslateService(u"fuzz-absent.properties", u"dictionary.")
    {
        m_directions = std::move(directions);
        translate::SortDirections(m_directions);
    }
    void Translate(std::u16string, const Direction&, translate::target::Target&) override {}
    void TranslateInBrowser(std::u16string, const Direction&, translate::target::Target&) override {}
};

// Services made from a table of ids; an id without an entry cannot be made.
class FakeManager : public TranslateManager {
public:
    void Initialize() override {}
    DirectionList GetDefaultDirections() override { return {}; }
    std::unique_ptr<TranslateService> CreateService(const std::u16string& serviceId) override
    {
        const auto found = m_definitions.find(serviceId);
        if (found == m_definitions.end())
            throw TranslateException(u"Not implemented type: " + serviceId);
        return std::make_unique<FakeService>(found->second);
    }
    std::u16string GetPriorityList() override { return m_priority; }

    void Reset()
    {
        m_services.clear();
        m_servicesById.clear();
        m_directions.clear();
        m_definitions.clear();
        m_priority.clear();
    }

    std::map<std::u16string, DirectionList> m_definitions;
    std::u16string m_priority;
};

void CheckSort(DirectionList directions)
{
    DirectionList sorted = directions;
    translate::SortDirections(sorted);
    FUZZ_CHECK(std::is_sorted(sorted.begin(), sorted.end()));
    std::multiset<Direction> before(directions.begin(), directions.end());
    FUZZ_CHECK(before == std::multiset<Direction>(sorted.begin(), sorted.end()));
}

void CheckManager(FakeManager& manager, const std::vector<std::u16string>& listed, const std::u16string& serviceIds)
{
    manager.LoadServices(serviceIds);

    // One service per usable listed id, in the list's order.
    std::set<Direction> supported;
    std::size_t usable = 0;
    for (const std::u16string& id : listed) {
        const auto definition = manager.m_definitions.find(id);
        if (definition == manager.m_definitions.end())
            continue;
        FUZZ_CHECK(usable < manager.m_services.size() && manager.m_services[usable]->m_id == id);
        ++usable;
        supported.insert(definition->second.begin(), definition->second.end());
    }
    FUZZ_CHECK(manager.m_services.size() == usable);

    // The manager's table: every supported direction once, in code unit order.
    FUZZ_CHECK(manager.m_directions == DirectionList(supported.begin(), supported.end()));
    for (std::size_t i = 0; i < manager.m_directions.size(); ++i)
        FUZZ_CHECK(manager.FindDirection(manager.m_directions[i]) == static_cast<int>(i));

    // Every service once: those the priority list names first, in its order, then the rest.
    const std::vector<TranslateService*> ordered = manager.GetServicesByPriority();
    std::vector<TranslateService*> expected;
    for (const std::u16string& id : CheckedSplit(manager.m_priority)) {
        const auto found = manager.m_servicesById.find(id);
        if (found != manager.m_servicesById.end() &&
            std::find(expected.begin(), expected.end(), found->second) == expected.end())
            expected.push_back(found->second);
    }
    for (const auto& service : manager.m_services)
        if (std::find(expected.begin(), expected.end(), service.get()) == expected.end())
            expected.push_back(service.get());
    FUZZ_CHECK(ordered == expected);

    // A request goes to the first service by priority that supports its direction.
    for (const Direction& direction : manager.m_directions) {
        TranslateService* chosen = manager.GetServiceFor(direction);
        const auto first = std::find_if(ordered.begin(), ordered.end(),
                                        [&](TranslateService* s) { return s->FindDirection(direction) != -1; });
        FUZZ_CHECK(first != ordered.end() && *first == chosen);
    }
}

void CheckUnsupported(FakeManager& manager, const Direction& direction)
{
    if (manager.FindDirection(direction) != -1)
        return;
    bool refused = false;
    try {
        manager.GetServiceFor(direction);
    } catch (const TranslateException&) {
        refused = true;
    }
    FUZZ_CHECK(refused);
}

void CheckDirectionName(std::string_view namesText, const Direction& direction)
{
    Properties names;
    names.LoadText(namesText);
    const std::u16string name = translate::GetDirectionName(names, direction);
    const std::size_t dash = direction.find(u'-');
    if (dash == Direction::npos) {
        FUZZ_CHECK(name.empty());
    } else if (dash == 0 || dash + 1 == direction.size()) {
        FUZZ_CHECK(name == names.GetString(direction));
    } else {
        FUZZ_CHECK(name ==
                   names.GetString(direction.substr(0, dash + 1)) + u" " + names.GetString(direction.substr(dash)));
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::UsePrivateProfile();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static FakeManager manager;
    manager.Reset();
    FuzzedDataProvider provider(data, size);

    const std::u16string serviceIds = fuzzsupport::ConsumeText16(provider, 64);
    const std::vector<std::u16string> listed = CheckedSplit(serviceIds);
    if (listed.size() > 16)
        return 0;
    for (const std::u16string& id : listed) {
        if (provider.ConsumeBool())
            continue;  // unusable: the manager leaves it out
        DirectionList directions = CheckedSplit(fuzzsupport::ConsumeText16(provider, 48));
        CheckSort(directions);
        manager.m_definitions[id] = std::move(directions);
    }
    if (provider.ConsumeBool()) {
        manager.m_priority = fuzzsupport::ConsumeText16(provider, 64);
    } else if (!listed.empty()) {
        // A priority list made of the listed ids, as the main dialog writes it.
        for (int i = provider.ConsumeIntegralInRange(0, 6); i > 0; --i)
            manager.m_priority += listed[provider.ConsumeIntegralInRange<std::size_t>(0, listed.size() - 1)] + u",";
    }
    CheckManager(manager, listed, serviceIds);

    const Direction other = fuzzsupport::ConsumeText16(provider, 16);
    CheckUnsupported(manager, other);
    CheckDirectionName(provider.ConsumeRemainingBytesAsString(), other);
    return 0;
}
