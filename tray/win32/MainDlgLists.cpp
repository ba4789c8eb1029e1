// The main dialog's two lists, its check box, its icons and tooltip, as the controller fills them.
#include "tray/win32/MainDlg.h"

#include <commctrl.h>

#include "foundation/config/Environment.h"

namespace tray::win32 {
namespace {
constexpr int kServiceIconSize = 16;
}  // namespace

void CMainDlg::LoadServiceIcons()
{
    const auto services = m_controller.Services();
    m_imageList.Reset(::ImageList_Create(kServiceIconSize, kServiceIconSize, ILC_COLOR32 | ILC_MASK,
                                         static_cast<int>(services.size()), 1));
    ::ImageList_AddIcon(m_imageList.Get(), m_smallIcon.Get());

    const std::u16string folder = GetModuleDirectory();
    for (const auto* service : services) {
        const std::u16string path = folder + service->m_icon;
        IconHandle loaded(static_cast<HICON>(
            ::LoadImageW(nullptr, Wide(path), IMAGE_ICON, kServiceIconSize, kServiceIconSize, LR_LOADFROMFILE)));
        HICON icon = loaded ? loaded.Get() : m_smallIcon.Get();
        if (loaded)
            m_serviceIcons.push_back(std::move(loaded));
        m_iconByService[service->m_id] = icon;
        m_imageByService[service->m_id] = ::ImageList_AddIcon(m_imageList.Get(), icon);
    }
    ::SendMessageW(m_dictionaryCombo, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_imageList.Get()));
}

void CMainDlg::ShowServiceIcon(const std::u16string& serviceId)
{
    const auto icon = m_iconByService.find(serviceId);
    const HICON shown = icon != m_iconByService.end() ? icon->second : m_bigIcon.Get();
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(shown));
    ChangeIcon(shown);
}

void CMainDlg::SetTip(const std::u16string& tip)
{
    ChangeTip(Wide(tip));
}

void CMainDlg::FillDirections(const std::vector<DirectionItem>& items)
{
    ::SendMessageW(m_directionCombo, CB_RESETCONTENT, 0, 0);
    for (const DirectionItem& direction : items) {
        // At the end: the items come in the order to show.
        const LRESULT item = ::SendMessageW(m_directionCombo, CB_INSERTSTRING, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(Wide(direction.name)));
        if (item >= 0)
            ::SendMessageW(m_directionCombo, CB_SETITEMDATA, static_cast<WPARAM>(item),
                           static_cast<LPARAM>(direction.index));
    }
}

void CMainDlg::SelectDirection(std::optional<std::size_t> row)
{
    ::SendMessageW(m_directionCombo, CB_SETCURSEL, row ? static_cast<WPARAM>(*row) : static_cast<WPARAM>(-1), 0);
}

void CMainDlg::FillServices(const std::vector<ServiceChoice>& services)
{
    ::SendMessageW(m_dictionaryCombo, CB_RESETCONTENT, 0, 0);
    for (const ServiceChoice& choice : services) {
        const auto image = m_imageByService.find(choice.service->m_id);
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_INDENT | CBEIF_LPARAM;
        item.iItem = -1;
        item.pszText = const_cast<wchar_t*>(Wide(choice.service->m_name));
        item.iImage = item.iSelectedImage = image != m_imageByService.end() ? image->second : 0;
        item.lParam = static_cast<LPARAM>(choice.index);
        ::SendMessageW(m_dictionaryCombo, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
}

void CMainDlg::SelectFirstService()
{
    ::SendMessageW(m_dictionaryCombo, CB_SETCURSEL, 0, 0);
}

void CMainDlg::SetOpenInBrowserCheck(bool checked)
{
    ::CheckDlgButton(m_hWnd, IDC_OPEN_IN_BROWSER, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool CMainDlg::SelectedItemData(HWND list, bool extended, std::size_t& data) const
{
    const LRESULT selected = ::SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR)
        return false;
    if (!extended) {
        data = static_cast<std::size_t>(::SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0));
        return true;
    }
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_LPARAM;
    item.iItem = selected;
    if (!::SendMessageW(list, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return false;
    data = static_cast<std::size_t>(item.lParam);
    return true;
}

}  // namespace tray::win32
