// The main dialog's two lists, its icons and tooltip, and the choices made in them.
#include "tray/win32/MainDlg.h"

#include <commctrl.h>

#include "foundation/config/Environment.h"
#include "translate/manager/DictionaryManager.h"
#include "translate/manager/DirectionName.h"
#include "translate/manager/TranslateException.h"
#include "tray/DictionaryChoices.h"
#include "tray/OpenInBrowser.h"
#include "tray/UserSettings.h"

namespace tray::app {
namespace {
using translate::manager::DictionaryManager;

constexpr int kServiceIconSize = 16;
}  // namespace

void CMainDlg::LoadServiceIcons()
{
    DictionaryManager& manager = DictionaryManager::GetInstance();
    const auto services = manager.GetServicesByPriority();
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

void CMainDlg::UpdateControls()
{
    const translate::Direction direction = GetCurrentDirection(m_settings.key);
    DictionaryManager* manager = nullptr;
    const translate::service::TranslateService* current = nullptr;
    try {
        manager = &DictionaryManager::GetInstance();
        current = manager->GetServiceFor(direction);
    } catch (const translate::TranslateException&) {
        return;  // nothing supports the direction: everything keeps its previous content
    }

    m_serviceTip =
        FillPlaces(LoadResourceString(IDS_TRAY_TIP), translate::GetDirectionName(direction), current->m_name);
    const auto icon = m_iconByService.find(current->m_id);
    const HICON shown = icon != m_iconByService.end() ? icon->second : m_bigIcon.Get();
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(shown));
    ChangeIcon(shown);
    ShowTip();

    ::SendMessageW(m_directionCombo, CB_RESETCONTENT, 0, 0);
    for (std::size_t i = 0; i < manager->m_directions.size(); ++i) {
        const std::u16string name = translate::GetDirectionName(manager->m_directions[i]);
        const LRESULT item = ::SendMessageW(m_directionCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(name)));
        if (item < 0)
            continue;
        ::SendMessageW(m_directionCombo, CB_SETITEMDATA, static_cast<WPARAM>(item), static_cast<LPARAM>(i));
        if (manager->m_directions[i] == direction)
            ::SendMessageW(m_directionCombo, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    }

    ::SendMessageW(m_dictionaryCombo, CB_RESETCONTENT, 0, 0);
    for (const ServiceChoice& choice : ServicesFor(*manager, direction)) {
        const auto image = m_imageByService.find(choice.service->m_id);
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_INDENT | CBEIF_LPARAM;
        item.iItem = -1;
        item.pszText = const_cast<wchar_t*>(Wide(choice.service->m_name));
        item.iImage = item.iSelectedImage = image != m_imageByService.end() ? image->second : 0;
        item.lParam = static_cast<LPARAM>(choice.index);
        ::SendMessageW(m_dictionaryCombo, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    // The first service is the one a translation uses.
    ::SendMessageW(m_dictionaryCombo, CB_SETCURSEL, 0, 0);
    ::CheckDlgButton(m_hWnd, IDC_OPEN_IN_BROWSER,
                     OpensInBrowser(m_settings.key, current->m_id) ? BST_CHECKED : BST_UNCHECKED);
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

void CMainDlg::OnDirectionSelected(std::size_t index)
{
    try {
        if (ChooseDirection(m_settings, index))
            UpdateControls();
    } catch (const translate::TranslateException&) {
    }
}

void CMainDlg::OnServiceSelected(std::size_t index)
{
    try {
        ChooseService(m_settings.key, index);
        UpdateControls();
    } catch (const translate::TranslateException&) {
    }
}

void CMainDlg::OnBrowserChoice(std::optional<bool> inBrowser)
{
    try {
        DictionaryManager& manager = DictionaryManager::GetInstance();
        const translate::Direction direction = GetCurrentDirection(m_settings.key);
        if (inBrowser)
            SetCurrentServiceOpensInBrowser(m_settings.key, manager, direction, *inBrowser);
        else
            ToggleOpenInBrowser(m_settings.key, manager, direction);
        UpdateControls();
    } catch (const translate::TranslateException&) {
    }
}

}  // namespace tray::app
