#include "translate/target/TabCapableHost.h"

#include "foundation/config/Environment.h"
#include "foundation/process/HostProcess.h"

namespace translate::target {
namespace {
bool ComputeIsTabCapableHost()
{
    try {
        FixedFileInfo info{};
        return IsInternetExplorerHost() && GetFileVersion(GetModuleFilePath(), info) && IsTabCapableVersion(info);
    } catch (...) {
        return false;
    }
}
}  // namespace

bool IsTabCapableVersion(const FixedFileInfo& info)
{
    return info.dwFileVersionMS > 0x6FFFFu;
}

bool IsTabCapableHost()
{
    static const bool answer = ComputeIsTabCapableHost();
    return answer;
}

}  // namespace translate::target
