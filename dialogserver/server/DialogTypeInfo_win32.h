#pragma once
// The type information the dialog classes serve IDispatch from: their dispatch interfaces in the
// registered type library, loaded once per class and kept for the life of the program.

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include "dialogserver/server/DialogClasses_win32.h"

namespace dialogserver {

struct DialogTypeInfo {
    Microsoft::WRL::ComPtr<ITypeInfo> dispatch;  // what GetTypeInfo hands out
    Microsoft::WRL::ComPtr<ITypeInfo> vtable;    // what DispInvoke calls through
};

// Null members when the type library is not registered. The library is looked for in the
// caller's locale, then in its own (0x409), then the neutral one: a library registered for one
// locale only is otherwise not found for the system's default locale (0x800) that callers pass.
const DialogTypeInfo& TypeInfoOf(const DialogClass& dialogClass, LCID locale);
// Lets go of what was loaded, while COM is still there (the program's end).
void ReleaseTypeInfo();

}  // namespace dialogserver
