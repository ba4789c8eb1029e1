#pragma once
// What the registration words do: the classes, the AppID and the type library, written or
// removed machine-wide or for the current user.

#include <windows.h>

#include "dialogserver/server/ServerCommandLine.h"

namespace dialogserver {

// The status code the program exits with.
HRESULT RunRegistration(ServerCommand command);

}  // namespace dialogserver
