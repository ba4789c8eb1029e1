#pragma once
// Whether new tabs can be asked for: only inside Internet Explorer 7 or later itself.

#include "foundation/process/FileVersion.h"

namespace translate::target {

// Computed on first use, then cached; any failure gives false.
bool IsTabCapableHost();

// The version rule on its own: a file major version of 7 or more.
bool IsTabCapableVersion(const FixedFileInfo& info);

}  // namespace translate::target
