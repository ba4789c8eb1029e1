#include "foundation/win32api/CommandLine.h"

namespace Win32::API {

std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine)
{
    std::vector<std::u16string> arguments;
    std::size_t i = 0;
    const auto isBlank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    while (true) {
        while (i < commandLine.size() && isBlank(commandLine[i]))
            ++i;
        if (i >= commandLine.size())
            break;
        std::u16string argument;
        bool quoted = false;
        while (i < commandLine.size() && (quoted || !isBlank(commandLine[i]))) {
            const char16_t c = commandLine[i];
            if (c == u'\\') {
                std::size_t backslashes = 0;
                while (i < commandLine.size() && commandLine[i] == u'\\')
                    ++backslashes, ++i;
                if (i < commandLine.size() && commandLine[i] == u'"') {
                    argument.append(backslashes / 2, u'\\');
                    if (backslashes % 2 == 1) {
                        argument.push_back(u'"');
                        ++i;
                    }
                } else {
                    argument.append(backslashes, u'\\');
                }
            } else if (c == u'"') {
                // Inside quotes, "" is a literal quote.
                if (quoted && i + 1 < commandLine.size() && commandLine[i + 1] == u'"') {
                    argument.push_back(u'"');
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                argument.push_back(c);
                ++i;
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

}  // namespace Win32::API
