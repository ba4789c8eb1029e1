#pragma once
// The command line of vocabra-lookup.

#include <optional>
#include <string>
#include <vector>

#include "foundation/config/Environment.h"

namespace cli {

struct LookupOptions {
    std::u16string programDirectory;  // "" : the tool's own
    std::optional<UiLanguage> uiLanguage;
    std::optional<std::u16string> direction;
    bool listServices = false;
    bool listDirections = false;
    bool open = false;
    bool checkUpdate = false;
    bool force = false;  // with checkUpdate: whatever the interval
    std::optional<std::u16string> updateUrl;
    bool version = false;
    std::u16string words;  // joined with single spaces and trimmed
};

// False, with `error` set, for an unknown option, a missing or bad value.
bool ParseLookupOptions(const std::vector<std::string>& arguments, LookupOptions& options, std::string& error);

extern const char kLookupUsage[];

}  // namespace cli
