#pragma once
// Turns the tray menu's items, built as data by the menu model, into system menu items.

#include <windows.h>

#include <vector>

#include "tray/MenuModel.h"

namespace tray::win32 {

// Inserts `items` into `menu` one after another from `position` on. Stops at the first popup
// that cannot be made, leaving what was inserted before it.
void InsertMenuItems(HMENU menu, UINT position, const std::vector<MenuItem>& items);

}  // namespace tray::win32
