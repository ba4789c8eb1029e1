#include <windows.h>

#include <shlobj.h>

#include <algorithm>

#include "foundation/text/Utf.h"
#include "foundation/win32api/Handles.h"
#include "foundation/win32api/WideChar_win32.h"
#include "tray/HistoryFile.h"

namespace tray {
namespace {

bool WriteAll(Win32::API::File& file, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const auto chunk = static_cast<std::uint32_t>(std::min<std::size_t>(text.size() - done, 1 << 20));
        if (!file.Write(text.data() + done, chunk) || file.BytesTransferred() == 0)
            return false;
        done += file.BytesTransferred();
    }
    return true;
}

// Every missing folder on the way to the file.
void MakeFolderOf(const std::u16string& path)
{
    for (std::size_t slash = path.find_first_of(u"\\/", 3); slash != std::u16string::npos;
         slash = path.find_first_of(u"\\/", slash + 1))
        ::CreateDirectoryW(Win32::API::Wide(path.substr(0, slash)), nullptr);
}
}  // namespace

std::string HistoryFilePath()
{
    wchar_t appData[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)))
        return std::string();
    return text::Utf16ToUtf8(Win32::API::FromWide(appData)) + "\\Vocabra\\history.tsv";
}

bool ReadHistoryFile(const std::string& path, std::string& text)
{
    text.clear();
    Win32::API::File file;
    if (!file.Create(text::Utf8ToUtf16(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    char buffer[65536];
    for (;;) {
        if (!file.Read(buffer, sizeof buffer))
            return false;
        if (file.BytesTransferred() == 0)
            return true;
        text.append(buffer, file.BytesTransferred());
    }
}

bool ReplaceHistoryFile(const std::string& path, const std::string& text)
{
    const std::u16string target = text::Utf8ToUtf16(path);
    const std::u16string temporary = target + u".new";
    MakeFolderOf(target);
    Win32::API::File file;
    if (!file.Create(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr))
        return false;
    const bool written = WriteAll(file, text) && ::FlushFileBuffers(file.Get());
    if (file.Close() && written &&
        ::MoveFileExW(Win32::API::Wide(temporary), Win32::API::Wide(target),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ::DeleteFileW(Win32::API::Wide(temporary));
    return false;
}

bool AppendToHistoryFile(const std::string& path, const std::string& text)
{
    const std::u16string target = text::Utf8ToUtf16(path);
    MakeFolderOf(target);
    Win32::API::File file;
    if (!file.Create(target.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                     nullptr))
        return false;
    const bool written = WriteAll(file, text);
    return file.Close() && written;
}

}  // namespace tray
