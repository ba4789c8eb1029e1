#include "dialogserver/server/ServerCommandLine.h"

#include "foundation/text/AsciiCase.h"

namespace dialogserver {
namespace {
struct Word {
    std::u16string_view text;
    ServerCommand command;
};

constexpr Word kWords[] = {
    {u"UnregServerPerUser", ServerCommand::UnregServerPerUser},
    {u"RegServerPerUser", ServerCommand::RegServerPerUser},
    {u"UnregServer", ServerCommand::UnregServer},
    {u"RegServer", ServerCommand::RegServer},
};

bool EndsWord(std::u16string_view line, std::size_t at)
{
    return at == line.size() || line[at] == u' ' || line[at] == u'\t';
}

// Whether the word starting at `at` is `word`, whole.
bool WordAt(std::u16string_view line, std::size_t at, std::u16string_view word)
{
    return text::StartsWithIgnoringAsciiCase(line.substr(at), word) && EndsWord(line, at + word.size());
}
}  // namespace

ServerCommand ParseServerCommand(std::u16string_view commandLine)
{
    for (std::size_t at = 0; at < commandLine.size(); ++at) {
        if (commandLine[at] != u'-' && commandLine[at] != u'/')
            continue;
        for (const Word& word : kWords) {
            if (WordAt(commandLine, at + 1, word.text))
                return word.command;
        }
    }
    return ServerCommand::RunServer;
}

}  // namespace dialogserver
