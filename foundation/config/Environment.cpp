#include "foundation/config/Environment.h"

#include <optional>

namespace {
std::u16string g_moduleDirectoryOverride;
std::optional<UiLanguage> g_uiLanguageOverride;
}  // namespace

std::u16string DirectoryOf(const std::u16string& path)
{
    const std::size_t last = path.rfind(kPathSeparator);
    return last == std::u16string::npos ? std::u16string() : path.substr(0, last + 1);
}

void SetModuleDirectoryOverride(const std::u16string& directory)
{
    g_moduleDirectoryOverride = directory;
    if (!directory.empty() && directory.back() != kPathSeparator)
        g_moduleDirectoryOverride.push_back(kPathSeparator);
}

void SetUiLanguageOverride(const UiLanguage* language)
{
    g_uiLanguageOverride = language ? std::optional<UiLanguage>(*language) : std::nullopt;
}

std::u16string GetModuleDirectory()
{
    if (!g_moduleDirectoryOverride.empty())
        return g_moduleDirectoryOverride;
    return DirectoryOf(GetModuleFilePath());
}

std::u16string LoadResourceString(unsigned id)
{
    return LoadResourceString(id, g_uiLanguageOverride.value_or(GetUiLanguage()));
}
