#include "dialogserver/server/DialogTypeInfo_win32.h"

#include <oleauto.h>

#include <map>
#include <mutex>

#include "VocabraHelper.h"

using Microsoft::WRL::ComPtr;

namespace dialogserver {
namespace {
constexpr LCID kLibraryLocale = 0x0409;

ComPtr<ITypeLib> LoadRegisteredLibrary(LCID locale)
{
    ComPtr<ITypeLib> library;
    for (const LCID candidate : {locale, kLibraryLocale, static_cast<LCID>(LANG_NEUTRAL)}) {
        if (SUCCEEDED(::LoadRegTypeLib(LIBID_VocabraHelperLib, 1, 0, candidate, library.ReleaseAndGetAddressOf())))
            return library;
    }
    return nullptr;
}

DialogTypeInfo Load(const DialogClass& dialogClass, LCID locale)
{
    DialogTypeInfo info;
    const ComPtr<ITypeLib> library = LoadRegisteredLibrary(locale);
    if (!library || FAILED(library->GetTypeInfoOfGuid(dialogClass.dualInterface, info.dispatch.GetAddressOf())))
        return DialogTypeInfo{};
    // A dual interface's type information describes its dispatch side; the vtable side is the
    // one DispInvoke needs.
    HREFTYPE vtablePart = 0;
    if (FAILED(info.dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtablePart)) ||
        FAILED(info.dispatch->GetRefTypeInfo(vtablePart, info.vtable.GetAddressOf())))
        info.vtable = info.dispatch;
    return info;
}

std::mutex g_lock;
std::map<const DialogClass*, DialogTypeInfo> g_loaded;
}  // namespace

const DialogTypeInfo& TypeInfoOf(const DialogClass& dialogClass, LCID locale)
{
    const std::lock_guard<std::mutex> hold(g_lock);
    DialogTypeInfo& info = g_loaded[&dialogClass];
    if (!info.dispatch)
        info = Load(dialogClass, locale);
    return info;
}

void ReleaseTypeInfo()
{
    const std::lock_guard<std::mutex> hold(g_lock);
    g_loaded.clear();
}

}  // namespace dialogserver
