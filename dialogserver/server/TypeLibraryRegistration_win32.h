#pragma once
// The dialog server's type library in the registry: read from the program file itself (resource
// TYPELIB 1), else from the .tlb beside it.

#include <windows.h>

namespace dialogserver {

// Machine-wide, or for the current user (RegisterTypeLibForUser where OLEAUT32 has it).
HRESULT RegisterTypeLibrary(bool perUser);
HRESULT UnregisterTypeLibrary(bool perUser);

}  // namespace dialogserver
