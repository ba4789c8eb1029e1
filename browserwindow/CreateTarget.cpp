// VocabraVISTAHelper.dll's entry points: the CreateTarget export, and the heap setting the
// library brings to the process that loads it.
#include <windows.h>

#include <memory>

#include "browserwindow/ProcessHeap.h"
#include "browserwindow/TargetWindow.h"

using browserwindow::TargetWindow;

extern "C" __declspec(
    dllexport) translate::target::Target* CreateTarget(translate::target::TargetClosedCallback callback, void* context)
{
    try {
        auto target = std::make_unique<TargetWindow::Target>(TargetWindow::Open());
        TargetWindow::Target* const handedOut = target.release();  // ended by its Dispose
        handedOut->ListenForClose(callback, context);
        return handedOut;
    } catch (...) {
        return nullptr;
    }
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        browserwindow::UseLowFragmentationHeap();
    return TRUE;
}
