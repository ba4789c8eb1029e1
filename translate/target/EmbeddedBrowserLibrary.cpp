#include "translate/target/EmbeddedBrowserLibrary.h"

#include "foundation/config/Environment.h"
#include "foundation/win32api/Handles.h"

namespace translate::target {
namespace {
// Freed at process exit, after every window of it has gone.
Win32::API::Library g_embeddedBrowserLibrary;
}  // namespace

CreateTargetFunction BindCreateTarget()
{
    if (!IsVistaOrLater())
        return nullptr;
    const std::u16string path = GetModuleDirectory() + kEmbeddedBrowserLibraryName;
    if (!g_embeddedBrowserLibrary.Load(path.c_str()))
        return nullptr;
    return reinterpret_cast<CreateTargetFunction>(g_embeddedBrowserLibrary.GetSymbol("CreateTarget"));
}

}  // namespace translate::target
