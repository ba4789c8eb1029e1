#include <windows.h>

#include <shlobj.h>

#include <algorithm>

#include "foundation/text/Utf.h"
#include "foundation/win32api/Handles.h"
#include "tray/HistoryFile.h"

namespace tray {
namespace {
std::wstring Wide(const std::string& utf8)
{
    const std::u16string text = text::Utf8ToUtf16(utf8);
    return std::wstring(text.begin(), text.end());
}

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

std::u16string Path16(const std::wstring& path)
{
    return std::u16string(path.begin(), path.end());
}

// Every missing folder on the way to the file.
void MakeFolderOf(const std::wstring& path)
{
    for (std::size_t slash = path.find_first_of(L"\\/", 3); slash != std::wstring::npos;
         slash = path.find_first_of(L"\\/", slash + 1))
        ::CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
}
}  // namespace

std::string HistoryFilePath()
{
    wchar_t appData[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)))
        return std::string();
    const std::wstring folder(appData);
    return text::Utf16ToUtf8(std::u16string(folder.begin(), folder.end())) + "\\Vocabra\\history.tsv";
}

bool ReadHistoryFile(const std::string& path, std::string& text)
{
    text.clear();
    Win32::API::File file;
    if (!file.Create(Path16(Wide(path)).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
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
    const std::wstring target = Wide(path);
    const std::wstring temporary = target + L".new";
    MakeFolderOf(target);
    Win32::API::File file;
    if (!file.Create(Path16(temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                     nullptr))
        return false;
    const bool written = WriteAll(file, text) && ::FlushFileBuffers(file.Get());
    if (file.Close() && written &&
        ::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ::DeleteFileW(temporary.c_str());
    return false;
}

bool AppendToHistoryFile(const std::string& path, const std::string& text)
{
    const std::wstring target = Wide(path);
    MakeFolderOf(target);
    Win32::API::File file;
    if (!file.Create(Path16(target).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr))
        return false;
    const bool written = WriteAll(file, text);
    return file.Close() && written;
}

}  // namespace tray
