#include "foundation/config/Environment.h"
#include "foundation/text/Utf.h"
#include "tests/support/TestSupport.h"

namespace testsupport {
namespace {
std::u16string Quote(const std::u16string& argument)
{
    return u"\"" + argument + u"\"";
}
}  // namespace

bool StartChild(Win32::API::ProcessEx& process, const std::string& role, const std::vector<std::string>& args)
{
    const std::u16string self = GetModuleFilePath();
    std::u16string commandLine = Quote(self) + u" --child " + text::Utf8ToUtf16(role);
    for (const std::string& argument : args)
        commandLine += u" " + Quote(text::Utf8ToUtf16(argument));
    return process.Create(self.c_str(), commandLine.c_str());
}

int RunChild(const std::string& role, const std::vector<std::string>& args, std::uint32_t timeoutMs)
{
    Win32::API::ProcessEx process;
    if (!StartChild(process, role, args))
        return -1;
    std::uint32_t exitCode = 0;
    if (!process.WaitForExit(timeoutMs, exitCode))
        return -1;
    return static_cast<int>(exitCode);
}
}  // namespace testsupport
