#pragma once
// The services' own steps when a page of the dialog's window has finished loading.

#include <oaidl.h>

namespace dialogserver {

class DictionaryDialog;

// DocumentComplete: sorts the event (ignored, the information page, or another page or frame)
// and runs the dialog's service step for it.
void RunServiceStep(DictionaryDialog& dialog, IDispatch* page, const VARIANT* url);

}  // namespace dialogserver
