#include "cli/LookupOptions.h"

#include <utility>

#include "foundation/text/Utf.h"
#include "foundation/text/WhiteSpace.h"

namespace cli {

const char kLookupUsage[] =
    "usage: vocabra-lookup [options] [WORD...]\n"
    "  --program-dir DIR   the program directory (its locale/ folder is read); default: the tool's own\n"
    "  --ui-language LANG  en or ru; default from LC_ALL, LC_MESSAGES, LANG\n"
    "  --direction D       default: the current direction (\"dictionaryDirection\", else \"en-ru\")\n"
    "  --services          print the services in priority order: id, name, directions\n"
    "  --directions        print every supported direction with its display name\n"
    "  --open              hand the address to the desktop's default handler instead of printing it\n"
    "  --check-update      check for a newer version: \"up to date\" or \"update available: LINK\"\n"
    "  --force             with --check-update: check whatever the interval\n"
    "  --update-url URL    with --check-update: the update document's address\n"
    "  --version           print the program's version\n";

bool ParseLookupOptions(const std::vector<std::string>& arguments, LookupOptions& options, std::string& error)
{
    std::u16string words;
    bool onlyWords = false;  // after "--"
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (onlyWords || argument.empty() || argument[0] != '-' || argument == "-") {
            // Each word is trimmed, and a word that is only white space adds nothing.
            const std::u16string word = text::Utf8ToUtf16(argument);
            const std::u16string_view trimmed = text::Trim(word);
            if (trimmed.empty())
                continue;
            if (!words.empty())
                words.push_back(u' ');
            words += trimmed;
            continue;
        }
        const auto value = [&](std::string& out) {
            if (i + 1 >= arguments.size()) {
                error = argument + " needs a value";
                return false;
            }
            out = arguments[++i];
            return true;
        };
        std::string text;
        if (argument == "--program-dir") {
            if (!value(text))
                return false;
            options.programDirectory = text::Utf8ToUtf16(text);
        } else if (argument == "--ui-language") {
            if (!value(text))
                return false;
            if (text != "en" && text != "ru") {
                error = "--ui-language takes en or ru";
                return false;
            }
            options.uiLanguage = text == "ru" ? UiLanguage::Russian : UiLanguage::English;
        } else if (argument == "--direction") {
            if (!value(text))
                return false;
            options.direction = text::Utf8ToUtf16(text);
        } else if (argument == "--services") {
            options.listServices = true;
        } else if (argument == "--directions") {
            options.listDirections = true;
        } else if (argument == "--open") {
            options.open = true;
        } else if (argument == "--check-update") {
            options.checkUpdate = true;
        } else if (argument == "--force") {
            options.force = true;
        } else if (argument == "--update-url") {
            if (!value(text))
                return false;
            options.updateUrl = text::Utf8ToUtf16(text);
        } else if (argument == "--version") {
            options.version = true;
        } else if (argument == "--") {
            onlyWords = true;
        } else {
            error = "unknown option " + argument;
            return false;
        }
    }
    options.words = std::move(words);
    return true;
}

}  // namespace cli
