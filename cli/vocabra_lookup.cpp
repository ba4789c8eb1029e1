// vocabra-lookup: the translation engine's front door on Linux. Translates the words with the
// direction through the manager and prints (or opens) the request address.
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "cli/LookupOptions.h"
#include "foundation/config/Settings.h"
#include "foundation/text/Utf.h"
#include "foundation/win32api/Handles.h"
#include "translate/manager/DictionaryManager.h"
#include "translate/manager/DirectionName.h"
#include "translate/manager/TranslateException.h"
#include "translate/target/RequestDisplayTarget.h"
#include "tray/UserSettings.h"
#include "update/UpdateCheck.h"

namespace {
enum ExitStatus { kDone = 0, kRefused = 1, kBadUsage = 2 };

void PrintLine(const std::u16string& line)
{
    std::printf("%s\n", text::Utf16ToUtf8(line).c_str());
}

std::u16string Join(const translate::DirectionList& items)
{
    std::u16string joined;
    for (const auto& item : items)
        joined += (joined.empty() ? u"" : u",") + item;
    return joined;
}

// Shows a request by printing its address, or by handing it to the desktop.
class ConsoleTarget final : public translate::target::RequestDisplayTarget {
public:
    explicit ConsoleTarget(bool open) : m_open(open) {}

    void ShowUrl(const std::u16string& url,
                 const translate::Direction&,
                 const translate::target::DisplaySettings&) override
    {
        if (!m_open) {
            PrintLine(url);
            return;
        }
        Win32::API::ProcessEx opener;
        const std::u16string commandLine = u"xdg-open \"" + url + u"\"";
        if (!opener.Create(nullptr, commandLine.c_str()))
            throw translate::TranslateException(u"Cannot navigate");
    }

private:
    bool m_open;
};

int CheckUpdate(const cli::LookupOptions& options)
{
    const std::u16string url = options.updateUrl ? *options.updateUrl : LoadResourceString(IDS_UPDATE_DOCUMENT_URL);
    if (update::CheckForUpdate(options.force, url, static_cast<std::int64_t>(std::time(nullptr))))
        PrintLine(u"up to date");
    else
        PrintLine(u"update available: " + update::GetUpdateLink());
    return kDone;
}

int Run(const cli::LookupOptions& options)
{
    if (options.version) {
        PrintLine(update::GetVersionText());
        return kDone;
    }
    if (options.checkUpdate)
        return CheckUpdate(options);

    using translate::manager::DictionaryManager;
    DictionaryManager& manager = DictionaryManager::GetInstance();
    if (options.listServices) {
        for (const auto* service : manager.GetServicesByPriority())
            PrintLine(service->m_id + u"\t" + service->m_name + u"\t" + Join(service->m_directions));
    }
    if (options.listDirections) {
        for (const auto& direction : manager.m_directions)
            PrintLine(direction + u"\t" + translate::GetDirectionName(direction));
    }
    if (options.listServices || options.listDirections)
        return kDone;

    if (options.words.empty()) {
        std::fputs("vocabra-lookup: nothing to translate\n", stderr);
        std::fputs(cli::kLookupUsage, stderr);
        return kBadUsage;
    }
    const translate::Direction direction =
        options.direction ? *options.direction : tray::GetCurrentDirection(Settings().key);
    ConsoleTarget target(options.open);
    manager.Translate(options.words, direction, target);
    return kDone;
}
}  // namespace

int main(int argc, char** argv)
{
    cli::LookupOptions options;
    std::string error;
    if (!cli::ParseLookupOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "vocabra-lookup: %s\n%s", error.c_str(), cli::kLookupUsage);
        return kBadUsage;
    }
    SetModuleDirectoryOverride(options.programDirectory);
    if (options.uiLanguage)
        SetUiLanguageOverride(&*options.uiLanguage);
    try {
        return Run(options);
    } catch (const translate::TranslateException& refusal) {
        std::fprintf(stderr, "%s\n", text::Utf16ToUtf8(refusal.GetMessage()).c_str());
        return kRefused;
    }
}
