// The log folder both programs share: LocalLow\Vocabra, the low-integrity sibling of the user's
// local application data, where a protected-mode browser host may still write.
#include <windows.h>

#include <shlobj.h>

#include "foundation/log/Log.h"
#include "foundation/win32api/WideChar_win32.h"

std::u16string SharedLogFolder()
{
    wchar_t localAppData[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, localAppData)))
        return {};
    // "...\AppData\Local" + "Low" names the folder "...\AppData\LocalLow".
    return Win32::API::FromWide(localAppData) + u"Low" + u"\\" + u"Vocabra";
}

void CreateLogFolder(const std::u16string& folder)
{
    ::CreateDirectoryW(Win32::API::Wide(folder.c_str()), nullptr);
}
