#pragma once
// VocabraVISTAHelper.dll as the tray program loads it: from beside the program, once per process.

#include <windows.h>

#include <exdisp.h>
#include <oleidl.h>
#include <wrl/client.h>

#include <vector>

#include <gtest/gtest.h>

#include "foundation/config/Environment.h"
#include "foundation/win32api/Handles.h"
#include "tests/wine/ComTestSupport_win32.h"
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

// The site the window's control was given, as the control asks it for `Interface`; null when
// it has none.
template <class Interface>
Microsoft::WRL::ComPtr<Interface> SiteAs(translate::target::Target* target)
{
    Microsoft::WRL::ComPtr<IOleObject> control;
    Microsoft::WRL::ComPtr<IOleClientSite> site;
    Microsoft::WRL::ComPtr<Interface> part;
    if (SUCCEEDED(target->GetBrowser()->QueryInterface(IID_PPV_ARGS(control.GetAddressOf()))) &&
        SUCCEEDED(control->GetClientSite(site.GetAddressOf())))
        site.As(&part);
    return part;
}

// What the close callback was told.
struct Closings {
    std::vector<translate::target::Target*> targets;
    bool disposeInCallback = false;
};

inline void OnClosed(translate::target::Target* target, void* context)
{
    auto* closings = static_cast<Closings*>(context);
    closings->targets.push_back(target);
    if (closings->disposeInCallback)
        target->Dispose();  // as the tray program does
}

// Opens answer windows through the library's export, as the tray program does.
class AnswerWindowTest : public ComTest {
protected:
    void SetUp() override
    {
        ComTest::SetUp();
        m_create = CreateTargetExport();
        ASSERT_NE(m_create, nullptr) << "VocabraVISTAHelper.dll or its CreateTarget export is missing";
    }

    translate::target::Target* Open(Closings* closings = nullptr)
    {
        return m_create(closings ? &OnClosed : nullptr, closings);
    }

    translate::target::CreateTargetFunction m_create = nullptr;
};

}  // namespace wintest
