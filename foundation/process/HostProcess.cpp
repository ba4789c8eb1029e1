#include "foundation/process/HostProcess.h"

#include <string>

#include "foundation/config/Environment.h"
#include "foundation/log/Log.h"

namespace {
char16_t ToLowerAscii(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ToLowerAscii(a[i]) != ToLowerAscii(b[i]))
            return false;
    }
    return true;
}

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
    return EqualsIgnoringCase(modulePath.substr(last + 1), u"iexplore.exe");
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
