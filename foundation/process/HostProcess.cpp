#include "foundation/process/HostProcess.h"

#include <string>

#include "foundation/config/Environment.h"
#include "foundation/log/Log.h"
#include "foundation/text/AsciiCase.h"

namespace {
bool ComputeIsInternetExplorerHost()
{
    const std::u16string path = GetModuleFilePath();
    if (path.empty())
        return true;
    Log log("MAIN");
    log.Write("Attached to ", path.c_str());
    return IsInternetExplorerPath(path);
}
}  // namespace

bool IsInternetExplorerPath(std::u16string_view modulePath)
{
    const std::size_t last = modulePath.rfind(kPathSeparator);
    if (last == std::u16string_view::npos)
        return true;
    return text::EqualsIgnoringAsciiCase(modulePath.substr(last + 1), u"iexplore.exe");
}

bool IsInternetExplorerHost()
{
    static bool computed = false;
    static bool answer = false;
    if (!computed) {
        computed = true;
        try {
            answer = ComputeIsInternetExplorerHost();
        } catch (...) {
            computed = false;
            throw;
        }
    }
    return answer;
}
