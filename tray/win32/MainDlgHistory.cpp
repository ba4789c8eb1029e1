// The lookup history's controls: the word box's suggestions, the question before clearing and the
// export's Save dialog.
#include "tray/win32/MainDlg.h"

#include <commdlg.h>

#include <algorithm>

#include "foundation/config/Environment.h"
#include "foundation/text/Utf.h"
#include "tray/win32/Resources.h"

namespace tray::win32 {
namespace {
constexpr wchar_t kExportFileName[] = L"vocabra-words.txt";
// Long paths included; the dialog reports a longer one as an error of its own.
constexpr DWORD kPathBuffer = 32768;
}  // namespace

void CMainDlg::SetWordSuggestions(const std::vector<std::u16string>& words)
{
    m_wordSuggestions.Set(words);
}

bool CMainDlg::Ask(const std::u16string& question)
{
    return ::MessageBoxW(m_hWnd, Wide(question), Wide(LoadResourceString(IDR_MAINFRAME)), MB_YESNO | MB_ICONQUESTION) ==
           IDYES;
}

std::optional<std::string> CMainDlg::AskExportPath()
{
    // "name|pattern|name|pattern" in the resources; the dialog wants NUL separators and two at
    // the end.
    std::u16string filter = LoadResourceString(IDS_EXPORT_FILTER) + u'|';
    std::replace(filter.begin(), filter.end(), u'|', u'\0');
    const std::u16string title = LoadResourceString(IDS_EXPORT_TITLE);
    std::wstring path(kPathBuffer, L'\0');
    std::copy(std::begin(kExportFileName), std::end(kExportFileName), path.begin());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = ::IsWindowVisible(m_hWnd) ? m_hWnd : nullptr;
    dialog.lpstrFilter = Wide(filter);
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathBuffer;
    dialog.lpstrTitle = Wide(title);
    dialog.lpstrDefExt = L"txt";
    dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!::GetSaveFileNameW(&dialog))
        return std::nullopt;  // cancelled, or the dialog failed: nothing to write
    path.resize(std::wcslen(path.c_str()));
    return text::Utf16ToUtf8(std::u16string(path.begin(), path.end()));
}

}  // namespace tray::win32
