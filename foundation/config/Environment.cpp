#include "foundation/config/Environment.h"

std::u16string DirectoryOf(const std::u16string& path)
{
    const std::size_t last = path.rfind(kPathSeparator);
    return last == std::u16string::npos ? std::u16string() : path.substr(0, last + 1);
}

std::u16string GetModuleDirectory()
{
    return DirectoryOf(GetModuleFilePath());
}

std::u16string LoadResourceString(unsigned id)
{
    return LoadResourceString(id, GetUiLanguage());
}
