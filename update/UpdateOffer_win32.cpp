#include <windows.h>
#include <shellapi.h>

#include "foundation/config/Environment.h"
#include "update/UpdateCheck.h"
#include "update/UpdateOffer.h"

namespace update {
namespace {
const wchar_t* Wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}
}  // namespace

void OfferUpdate(HWND owner)
{
    if (CheckForUpdate(false))
        return;
    const std::u16string question = LoadResourceString(IDS_UPDATE_QUESTION);
    const std::u16string caption = LoadResourceString(IDS_UPDATE_CAPTION);
    if (MessageBoxW(owner, Wide(question), Wide(caption), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const std::u16string link = GetUpdateLink();
    ShellExecuteW(nullptr, L"open", Wide(link), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace update
