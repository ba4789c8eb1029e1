#include "foundation/config/Environment.h"
#include "foundation/text/Utf.h"
#include "tests/support/TestSupport.h"

namespace testsupport {
namespace {
// Quotes an argument so that the command-line splitting of either platform gives it back: the
// backslashes before a quote, or before the closing quote, are doubled.
std::u16string Quote(const std::u16string& argument)
{
    std::u16string quoted = u"\"";
    std::size_t backslashes = 0;
    for (char16_t c : argument) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == u'"' ? backslashes * 2 + 1 : backslashes, u'\\');
        backslashes = 0;
        quoted.push_back(c);
    }
    quoted.append(backslashes * 2, u'\\');
    return quoted + u"\"";
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
