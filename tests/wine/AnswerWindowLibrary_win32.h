#pragma once
// VocabraVISTAHelper.dll as the tray program loads it: from beside the program, once per process.

#include <windows.h>

#include <exdisp.h>
#include <oleidl.h>
#include <wrl/client.h>

#include "foundation/config/Environment.h"
#include "foundation/win32api/Handles.h"
#include "translate/target/EmbeddedBrowserLibrary.h"

namespace wintest {

inline translate::target::CreateTargetFunction CreateTargetExport()
{
    static Win32::API::Library library;
    static translate::target::CreateTargetFunction create = [] {
        const std::u16string path = GetModuleDirectory() + translate::target::kEmbeddedBrowserLibraryName;
        return library.Load(path.c_str())
                   ? reinterpret_cast<translate::target::CreateTargetFunction>(library.GetSymbol("CreateTarget"))
                   : nullptr;
    }();
    return create;
}

// The answer window: the top-level window around the target's browser control.
inline HWND WindowOf(translate::target::Target* target)
{
    Microsoft::WRL::ComPtr<IOleWindow> control;
    HWND inner = nullptr;
    if (!target || !target->GetBrowser() ||
        FAILED(target->GetBrowser()->QueryInterface(IID_PPV_ARGS(control.GetAddressOf()))) ||
        FAILED(control->GetWindow(&inner)))
        return nullptr;
    return ::GetAncestor(inner, GA_ROOT);
}

}  // namespace wintest
