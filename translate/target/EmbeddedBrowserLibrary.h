#pragma once
// The embedded browser library and its CreateTarget export, bound once per process.

#include "translate/target/Target.h"

namespace translate::target {

// Called once by the library's window when the user closes it.
using TargetClosedCallback = void (*)(Target* target, void* context);
// CreateTarget(callback, context): a new target that the caller ends with Dispose().
using CreateTargetFunction = Target* (*)(TargetClosedCallback callback, void* context);

constexpr char16_t kEmbeddedBrowserLibraryName[] = u"VocabraVISTAHelper.dll";

// From Vista on, loads the library beside the program (freeing any copy loaded before) and
// resolves "CreateTarget". Null when the library or its export is missing; the library stays
// loaded for the life of the process.
CreateTargetFunction BindCreateTarget();

}  // namespace translate::target
