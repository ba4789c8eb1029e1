#include "browserwindow/BrowserEmulation.h"

#include <windows.h>

#include <vector>

#include "foundation/config/Environment.h"
#include "foundation/win32api/Handles.h"
#include "foundation/win32api/WideChar_win32.h"

namespace browserwindow {
namespace {
constexpr char16_t kFeatureKey[] =
    u"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";

// The executable's, not this library's: the setting is kept per program.
std::wstring ProgramFileName()
{
    const std::u16string path = GetModuleFilePath();
    return Win32::API::ToWide(path.substr(DirectoryOf(path).size()));
}
}  // namespace

bool RequestNewestDocumentMode(const std::wstring& programFileName)
{
    if (programFileName.empty())
        return false;
    Win32::API::RegKey feature;
    if (!feature.Create(Win32::API::CurrentUserKey(), kFeatureKey))
        return false;
    const std::u16string name = Win32::API::FromWide(programFileName);
    std::uint32_t type = 0;
    std::vector<std::uint8_t> existing;
    if (feature.QueryValue(name.c_str(), type, existing))
        return true;
    return feature.SetDWORD(name.c_str(), kNewestDocumentMode);
}

void RequestNewestDocumentModeOnce()
{
    static const bool requested = RequestNewestDocumentMode(ProgramFileName());
    static_cast<void>(requested);
}

}  // namespace browserwindow
