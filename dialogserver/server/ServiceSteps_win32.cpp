#include "dialogserver/server/ServiceSteps_win32.h"

#include "dialogserver/server/DictionaryDialog_win32.h"

namespace dialogserver {

void RunServiceStep(DictionaryDialog&, IDispatch*, const VARIANT*)
{
}

}  // namespace dialogserver
