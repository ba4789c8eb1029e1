#include "tray/win32/Resources.h"

#include "foundation/config/Environment.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace tray::win32 {
namespace {
WORD UiLanguageId()
{
    return GetUiLanguage() == UiLanguage::Russian ? MAKELANGID(LANG_RUSSIAN, SUBLANG_RUSSIAN_RUSSIA)
                                                  : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

const void* FindLocalized(const wchar_t* type, unsigned id)
{
    const HMODULE module = ModuleInstance();
    HRSRC found = ::FindResourceExW(module, type, MAKEINTRESOURCEW(id), UiLanguageId());
    if (!found)
        found = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
    const HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    return loaded ? ::LockResource(loaded) : nullptr;
}
}  // namespace

HINSTANCE ModuleInstance()
{
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

const DLGTEMPLATE* FindDialogTemplate(unsigned id)
{
    return static_cast<const DLGTEMPLATE*>(FindLocalized(RT_DIALOG, id));
}

HMENU LoadLocalizedMenu(unsigned id)
{
    const void* menu = FindLocalized(RT_MENU, id);
    return menu ? ::LoadMenuIndirectW(menu) : nullptr;
}

HICON LoadProgramIcon(unsigned id, int width, int height)
{
    return static_cast<HICON>(::LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, 0));
}

std::wstring LoadWideString(unsigned id)
{
    return ToWide(LoadResourceString(id));
}

}  // namespace tray::win32
