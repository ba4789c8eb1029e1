// The lookup tool's command line. A refusal always says why; accepted options written out again
// as a command line read back the same; the words are trimmed and joined by single spaces; after
// "--" everything is a word.

#include <cstdint>
#include <string>
#include <vector>

#include "cli/LookupOptions.h"
#include "foundation/text/Utf.h"
#include "foundation/text/WhiteSpace.h"
#include "fuzz/FuzzSupport.h"

namespace {
using cli::LookupOptions;

constexpr const char* kOptions[] = {"--program-dir",
                                    "--ui-language",
                                    "--direction",
                                    "--services",
                                    "--directions",
                                    "--open",
                                    "--check-update",
                                    "--force",
                                    "--update-url",
                                    "--version",
                                    "--",
                                    "-",
                                    "en",
                                    "ru"};

bool operator==(const LookupOptions& a, const LookupOptions& b)
{
    return a.programDirectory == b.programDirectory && a.uiLanguage == b.uiLanguage && a.direction == b.direction &&
           a.listServices == b.listServices && a.listDirections == b.listDirections && a.open == b.open &&
           a.checkUpdate == b.checkUpdate && a.force == b.force && a.updateUrl == b.updateUrl &&
           a.version == b.version && a.words == b.words;
}

// The options as a command line, every word after "--".
std::vector<std::string> Write(const LookupOptions& options)
{
    std::vector<std::string> arguments;
    const auto add = [&](const char* option, const std::u16string& value) {
        arguments.push_back(option);
        arguments.push_back(text::Utf16ToUtf8(value));
    };
    if (!options.programDirectory.empty())
        add("--program-dir", options.programDirectory);
    if (options.uiLanguage)
        add("--ui-language", *options.uiLanguage == UiLanguage::Russian ? u"ru" : u"en");
    if (options.direction)
        add("--direction", *options.direction);
    if (options.updateUrl)
        add("--update-url", *options.updateUrl);
    const std::pair<bool, const char*> switches[] = {{options.listServices, "--services"},
                                                     {options.listDirections, "--directions"},
                                                     {options.open, "--open"},
                                                     {options.checkUpdate, "--check-update"},
                                                     {options.force, "--force"},
                                                     {options.version, "--version"}};
    for (const auto& [on, option] : switches)
        if (on)
            arguments.push_back(option);
    arguments.push_back("--");
    if (!options.words.empty())
        arguments.push_back(text::Utf16ToUtf8(options.words));
    return arguments;
}

bool IsTrimmed(const std::u16string& words)
{
    return text::Trim(words).size() == words.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    std::vector<std::string> arguments;
    while (provider.remaining_bytes() > 0 && arguments.size() < 16) {
        if (provider.ConsumeBool())
            arguments.push_back(kOptions[provider.ConsumeIntegralInRange<std::size_t>(0, std::size(kOptions) - 1)]);
        else
            arguments.push_back(provider.ConsumeRandomLengthString(32));
    }

    LookupOptions options;
    std::string error;
    if (!cli::ParseLookupOptions(arguments, options, error)) {
        FUZZ_CHECK(!error.empty());
    } else {
        FUZZ_CHECK(error.empty());
        FUZZ_CHECK(IsTrimmed(options.words));
        LookupOptions again;
        FUZZ_CHECK(cli::ParseLookupOptions(Write(options), again, error));
        FUZZ_CHECK(again == options);
    }

    // After "--" every argument is a word: trimmed, the empty ones dropped, single spaces between.
    std::vector<std::string> onlyWords = {"--"};
    onlyWords.insert(onlyWords.end(), arguments.begin(), arguments.end());
    LookupOptions words;
    FUZZ_CHECK(cli::ParseLookupOptions(onlyWords, words, error));
    LookupOptions expected;
    for (const std::string& argument : arguments) {
        const std::u16string word(text::Trim(text::Utf8ToUtf16(argument)));
        if (!word.empty())
            expected.words += (expected.words.empty() ? u"" : u" ") + word;
    }
    FUZZ_CHECK(words == expected);
    FUZZ_CHECK(IsTrimmed(words.words));
    return 0;
}
