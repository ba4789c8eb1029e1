#include "tray/win32/MenuBuilder.h"

#include "tray/win32/Resources.h"
#include "tray/win32/UiHandles.h"

namespace tray::win32 {
namespace {
MenuHandle CreatePopup(const MenuItem& popup);

UINT CommandFlags(const MenuItem& item)
{
    return MF_STRING | (item.kind == MenuItem::Kind::Check && item.checked ? MF_CHECKED : MF_UNCHECKED) |
           (item.enabled ? MF_ENABLED : MF_GRAYED);
}

// The items' texts are data (words, names of services and directions): an "&" in them is shown,
// not taken as the mark of an access key.
std::u16string MenuText(const std::u16string& text)
{
    std::u16string shown;
    shown.reserve(text.size());
    for (const char16_t c : text) {
        if (c == u'&')
            shown += u'&';
        shown += c;
    }
    return shown;
}

// Appends one item; a sub-popup is handed to the menu only when appending succeeds.
bool Append(HMENU menu, const MenuItem& item)
{
    switch (item.kind) {
        case MenuItem::Kind::Separator:
            return ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr) != FALSE;
        case MenuItem::Kind::Command:
        case MenuItem::Kind::Check:
            return ::AppendMenuW(menu, CommandFlags(item), item.command, Wide(MenuText(item.text))) != FALSE;
        case MenuItem::Kind::Popup: {
            MenuHandle sub = CreatePopup(item);
            if (!sub)
                return false;
            if (!::AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub.Get()),
                               Wide(MenuText(item.text))))
                return true;  // the menu stays without it; the sub-popup is destroyed here
            sub.Release();
            return true;
        }
    }
    return true;
}

// Null when the popup or one of its sub-popups cannot be created.
MenuHandle CreatePopup(const MenuItem& popup)
{
    MenuHandle menu(::CreatePopupMenu());
    if (!menu)
        return menu;
    for (const MenuItem& item : popup.items) {
        if (!Append(menu.Get(), item))
            return MenuHandle();
    }
    return menu;
}
}  // namespace

void InsertMenuItems(HMENU menu, UINT position, const std::vector<MenuItem>& items)
{
    for (const MenuItem& item : items) {
        switch (item.kind) {
            case MenuItem::Kind::Separator:
                ::InsertMenuW(menu, position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
                break;
            case MenuItem::Kind::Command:
            case MenuItem::Kind::Check:
                ::InsertMenuW(menu, position, MF_BYPOSITION | CommandFlags(item), item.command,
                              Wide(MenuText(item.text)));
                break;
            case MenuItem::Kind::Popup: {
                MenuHandle sub = CreatePopup(item);
                if (!sub)
                    return;
                if (::InsertMenuW(menu, position, MF_BYPOSITION | MF_POPUP | MF_STRING,
                                  reinterpret_cast<UINT_PTR>(sub.Get()), Wide(MenuText(item.text))))
                    sub.Release();  // the menu owns it now
                break;
            }
        }
        ++position;
    }
}

}  // namespace tray::win32
