#pragma once
// Carries out a registration plan (PlanScript.h) on the Win32 registry.

#include <cstdint>
#include <vector>

#include "dialogserver/registrar/Operation.h"

namespace dialogserver::registrar {

// Applies `operations` in order and stops at the first failure, which it returns as
// HRESULT_FROM_WIN32 of the registry's error; 0 when all succeeded. Deleting a key or value that
// is not there succeeds. String values are REG_SZ with their terminating zero.
std::int32_t ApplyOperations(const std::vector<Operation>& operations);

}  // namespace dialogserver::registrar
