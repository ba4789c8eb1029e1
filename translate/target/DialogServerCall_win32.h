#pragma once
// The "dialog" display: the tray program's call into a dialog class of the dialog server
// (VocabraHelper.exe, or a class served in this process), bounded in time so that a server that
// does not start, dies or hangs cannot hold the tray program.

#include <windows.h>

#include <oaidl.h>

#include <chrono>
#include <string>

#include "translate/manager/SupportedDirections.h"
#include "translate/target/ClassId.h"
#include "translate/target/Target.h"

namespace translate::target {

// Calls the method `name` of `object` through IDispatch, resolving the name in the system's
// default locale. The arguments travel last to first, as DISPPARAMS holds them.
HRESULT InvokeByName(IDispatch* object, const wchar_t* name, DISPPARAMS& arguments);

// How long the tray program waits for a dialog server to take a request; a server that has not
// answered by then is left behind, and the request fails.
constexpr std::chrono::milliseconds kDialogCallLimit{10000};

// Hands the request to a new object of the dialog class `dialogClsid`. The target (may be null)
// lends its browser when it is embedded and keeps the dialog object. A class served in this
// process is called directly; a dialog server is called from another thread, within
// kDialogCallLimit. Throws TranslateException.
void ShowDialog(const std::u16string& url, const Direction& direction, Target* target, const ClassId& dialogClsid);

}  // namespace translate::target
