#include "browserwindow/BrowserEmulation.h"

#include <windows.h>

#include <vector>

#include "foundation/win32api/Handles.h"
#include "foundation/win32api/WideChar_win32.h"

namespace browserwindow {
namespace {
constexpr char16_t kFeatureKey[] =
    u"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";

std::wstring ProgramFileName()
{
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size())
        return std::wstring();
    path.resize(length);
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
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
