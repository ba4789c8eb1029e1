// The tray program's rules that need no window: the cleaning of clipboard text, the start-up
// switches and placement, the favourites and priority lists, and the settings read from a
// registry store of any content.

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "foundation/config/Environment.h"
#include "foundation/config/Settings.h"
#include "foundation/text/WhiteSpace.h"
#include "foundation/win32api/RegistryFile.h"
#include "foundation/win32api/RegistryStore_posix.h"
#include "fuzz/FuzzSupport.h"
#include "tray/ClipboardWord.h"
#include "tray/FavouriteLists.h"
#include "tray/StartupRules.h"
#include "tray/UserSettings.h"

namespace {
using namespace Win32::API;

void CheckClipboardWord(const std::u16string& text)
{
    const std::u16string word = tray::CleanClipboardWord(text);
    const std::u16string_view beforeZero = std::u16string_view(text).substr(0, text.find(u'\0'));
    FUZZ_CHECK(word.find(u'\0') == std::u16string::npos);
    FUZZ_CHECK(word == text::Trim(beforeZero));
    FUZZ_CHECK(tray::CleanClipboardWord(word) == word);
}

void CheckStartup(FuzzedDataProvider& provider, const std::u16string& line)
{
    const tray::StartupSwitches switches = tray::ParseStartupSwitches(line.c_str());
    const std::u16string_view untilZero = line.c_str();
    FUZZ_CHECK(switches.install == (untilZero.find(u"/install") != std::u16string_view::npos));
    FUZZ_CHECK(switches.visible == (untilZero.find(u"/visible") != std::u16string_view::npos));
    FUZZ_CHECK(switches.exit == (untilZero.find(u"/exit") != std::u16string_view::npos));
    const tray::StartupSwitches none = tray::ParseStartupSwitches(nullptr);
    FUZZ_CHECK(!none.install && !none.visible && !none.exit);

    const std::u16string name = tray::InstanceEventName(line);
    FUZZ_CHECK(name.size() <= 254 && (u"Vocabra:" + line).compare(0, name.size(), name) == 0);
    FUZZ_CHECK(name.size() == std::min<std::size_t>(254, 8 + line.size()));

    // A stored corner within the screen is kept exactly; anything else centres the dialog.
    const std::optional<std::uint32_t> x =
        provider.ConsumeBool() ? std::optional<std::uint32_t>(provider.ConsumeIntegral<std::uint32_t>()) : std::nullopt;
    const std::optional<std::uint32_t> y =
        provider.ConsumeBool() ? std::optional<std::uint32_t>(provider.ConsumeIntegral<std::uint32_t>()) : std::nullopt;
    // Screen metrics are positive ints.
    const auto width = provider.ConsumeIntegralInRange<std::uint32_t>(0, INT32_MAX);
    const auto height = provider.ConsumeIntegralInRange<std::uint32_t>(0, INT32_MAX);
    const tray::DialogPlacement placement = tray::PlaceDialog(x, y, width, height);
    const bool inside = x && y && *x <= width && *y <= height;
    FUZZ_CHECK(placement.centre == !inside);
    if (inside)
        FUZZ_CHECK(placement.x == static_cast<std::int32_t>(*x) && placement.y == static_cast<std::int32_t>(*y));
}

std::vector<std::u16string> SplitAtCommas(std::u16string_view text)
{
    std::vector<std::u16string> items;
    for (;;) {
        const std::size_t comma = text.find(u',');
        items.emplace_back(text.substr(0, comma));
        if (comma == std::u16string_view::npos)
            return items;
        text.remove_prefix(comma + 1);
    }
}

// The item first, then the rest without its whole-item repeats, as a comma-separated text.
std::u16string PutFirst(const std::u16string& item, std::u16string_view rest)
{
    std::u16string text = item;
    for (const std::u16string& other : SplitAtCommas(rest))
        if (other != item)
            text += u"," + other;
    return text;
}

void CheckFavourites(FuzzedDataProvider& provider, std::int32_t count)
{
    // Directions and ids never hold a comma: the lists are split at commas.
    const auto consumeItem = [&provider] {
        std::u16string item = fuzzsupport::ConsumeText16(provider, 12);
        item.erase(std::remove(item.begin(), item.end(), u','), item.end());
        return item;
    };
    const std::u16string direction = consumeItem();
    translate::DirectionList favourites;
    for (int i = provider.ConsumeIntegralInRange(0, 8); i > 0; --i)
        favourites.push_back(provider.ConsumeBool() ? direction : consumeItem());

    const std::u16string pushed = tray::PushFavouriteDirection(direction, favourites, count);
    std::u16string joined;
    for (const auto& favourite : favourites)
        if (!favourite.empty())
            joined += (joined.empty() ? u"" : u",") + favourite;
    if (joined.empty()) {
        FUZZ_CHECK(pushed == direction);
    } else {
        const std::u16string full = PutFirst(direction, joined);
        const std::int64_t limit = std::max<std::int64_t>(0, std::int64_t{count} * 6);
        FUZZ_CHECK(pushed == full.substr(0, static_cast<std::size_t>(std::min<std::int64_t>(limit, full.size()))));
    }

    const std::u16string id = consumeItem();
    const std::u16string priority = fuzzsupport::ConsumeText16(provider, 48);
    const std::u16string reordered = tray::PushServicePriority(id, priority);
    FUZZ_CHECK(reordered == (priority.empty() ? id : PutFirst(id, priority)));
    // Pushing the same id again changes nothing.
    FUZZ_CHECK(tray::PushServicePriority(id, reordered) == reordered);
}

std::optional<RegistryValue> ConsumeStoredValue(FuzzedDataProvider& provider, const char16_t* name)
{
    if (provider.ConsumeBool())
        return std::nullopt;
    RegistryValue value{name, kRegDword, {}};
    constexpr std::uint32_t kTypes[] = {kRegDword, kRegSz, kRegBinary, kRegQword, kRegNone};
    value.type = kTypes[provider.ConsumeIntegralInRange<std::size_t>(0, std::size(kTypes) - 1)];
    value.data = provider.ConsumeBytes<std::uint8_t>(provider.ConsumeIntegralInRange(0, 12));
    return value;
}

// A DWORD as the settings read one: of its type, one to four bytes.
std::optional<std::uint32_t> DwordOf(const std::optional<RegistryValue>& value)
{
    if (!value || value->type != kRegDword || value->data.empty() || value->data.size() > 4)
        return std::nullopt;
    std::uint32_t number = 0;
    for (std::size_t i = 0; i < value->data.size(); ++i)
        number |= std::uint32_t{value->data[i]} << (8 * i);
    return number;
}

// The settings read from a store holding any values under the program's key; returns the
// favourite count they give.
std::int32_t CheckSettings(FuzzedDataProvider& provider)
{
    const auto direction = ConsumeStoredValue(provider, u"dictionaryDirection");
    const auto ctrlCC = ConsumeStoredValue(provider, u"useCtrlCC");
    const auto ctrlInsIns = ConsumeStoredValue(provider, u"useCtrlInsIns");
    const auto openMain = ConsumeStoredValue(provider, u"openMainWindowOnTranslation");
    const auto count = ConsumeStoredValue(provider, u"favourDictionaryCount");
    RegistryDocument document;
    document.sections.push_back(RegistrySection{u"HKEY_CURRENT_USER\\" + RegistryRootPath(IsVistaOrLater()), {}});
    for (const auto* value : {&direction, &ctrlCC, &ctrlInsIns, &openMain, &count})
        if (*value)
            document.sections.back().values.push_back(**value);
    std::string text;
    std::string file;
    FUZZ_CHECK(SerializeRegistryFile(document, text) && StoreFilePath(file));
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;

    Settings settings;
    settings.config.LoadText("favour.dictionary.count = " + provider.ConsumeRandomLengthString(16));

    std::u16string expectedDirection = u"en-ru";
    if (direction) {
        expectedDirection.clear();
        for (std::size_t i = 0; i + 1 < direction->data.size(); i += 2) {
            const auto unit = static_cast<char16_t>(direction->data[i] | (direction->data[i + 1] << 8));
            if (unit == 0)
                break;
            expectedDirection.push_back(unit);
        }
    }
    FUZZ_CHECK(tray::GetCurrentDirection(settings.key) == expectedDirection);
    const auto on = [](const std::optional<RegistryValue>& value) { return !DwordOf(value) || *DwordOf(value) == 1; };
    FUZZ_CHECK(tray::IsHotKeyOn(settings.key, u"useCtrlCC") == on(ctrlCC));
    FUZZ_CHECK(tray::IsHotKeyOn(settings.key, u"useCtrlInsIns") == on(ctrlInsIns));
    FUZZ_CHECK(tray::AreBothHotKeysOff(settings.key) == (!on(ctrlCC) && !on(ctrlInsIns)));
    FUZZ_CHECK(tray::IsOpenMainWindowOnTranslation(settings.key) == (DwordOf(openMain) == 1u));
    const std::int32_t favouriteCount = tray::GetFavouriteCount(settings);
    if (DwordOf(count))
        FUZZ_CHECK(favouriteCount == static_cast<std::int32_t>(*DwordOf(count)));
    else
        FUZZ_CHECK(favouriteCount == settings.config.GetInt(u"favour.dictionary.count"));
    return favouriteCount;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::UsePrivateProfile();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    const std::u16string text = fuzzsupport::ConsumeText16(provider, 64);
    CheckClipboardWord(text);
    CheckStartup(provider, text);
    CheckFavourites(provider, CheckSettings(provider));
    return 0;
}
