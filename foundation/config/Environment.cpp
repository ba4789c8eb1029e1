#include "foundation/config/Environment.h"

#include <optional>

namespace {
// Function-local, so that setting them from another file's static initialiser is safe.
std::u16string& ModuleDirectoryOverride()
{
    static std::u16string directory;
    return directory;
}

std::optional<UiLanguage>& UiLanguageOverride()
{
    static std::optional<UiLanguage> language;
    return language;
}
}  // namespace

std::u16string DirectoryOf(const std::u16string& path)
{
    const std::size_t last = path.rfind(kPathSeparator);
    return last == std::u16string::npos ? std::u16string() : path.substr(0, last + 1);
}

void SetModuleDirectoryOverride(const std::u16string& directory)
{
    std::u16string& override = ModuleDirectoryOverride();
    override = directory;
    if (!override.empty() && override.back() != kPathSeparator)
        override.push_back(kPathSeparator);
}

void SetUiLanguageOverride(const UiLanguage* language)
{
    UiLanguageOverride() = language ? std::optional<UiLanguage>(*language) : std::nullopt;
}

std::u16string GetModuleDirectory()
{
    if (!ModuleDirectoryOverride().empty())
        return ModuleDirectoryOverride();
    return DirectoryOf(GetModuleFilePath());
}

UiLanguage GetTextLanguage()
{
    return UiLanguageOverride().value_or(GetUiLanguage());
}

std::u16string LoadResourceString(unsigned id)
{
    return LoadResourceString(id, GetTextLanguage());
}
