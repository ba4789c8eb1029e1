// The dialog server's command line. The first whole known word after "-" or "/" decides,
// whatever the case of its letters; a word put first decides whatever follows, and one put last
// decides when nothing before it did.

#include <algorithm>
#include <cstdint>
#include <string>

#include "dialogserver/server/ServerCommandLine.h"
#include "fuzz/FuzzSupport.h"

namespace {
using dialogserver::ServerCommand;

struct Word {
    std::u16string_view text;
    ServerCommand command;
};

constexpr Word kWords[] = {
    {u"regserver", ServerCommand::RegServer},
    {u"unregserver", ServerCommand::UnregServer},
    {u"regserverperuser", ServerCommand::RegServerPerUser},
    {u"unregserverperuser", ServerCommand::UnregServerPerUser},
};

char16_t Lower(char16_t unit)
{
    return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit - u'A' + u'a') : unit;
}

// The line read another way: cut into the runs that follow each "-" or "/", up to the next blank.
ServerCommand Expected(std::u16string_view line)
{
    for (std::size_t at = 0; at < line.size(); ++at) {
        if (line[at] != u'-' && line[at] != u'/')
            continue;
        const std::size_t end = std::min(line.find_first_of(u" \t", at + 1), line.size());
        std::u16string run;
        for (char16_t unit : line.substr(at + 1, end - at - 1))
            run.push_back(Lower(unit));
        for (const Word& word : kWords)
            if (run == word.text)
                return word.command;
    }
    return ServerCommand::RunServer;
}

std::u16string Recased(std::u16string_view line, bool upper)
{
    std::u16string recased(line);
    for (char16_t& unit : recased) {
        if (upper && unit >= u'a' && unit <= u'z')
            unit = static_cast<char16_t>(unit - u'a' + u'A');
        else if (!upper)
            unit = Lower(unit);
    }
    return recased;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::u16string line = fuzzsupport::Text16(data, size);
    const ServerCommand command = dialogserver::ParseServerCommand(line);
    FUZZ_CHECK(command == Expected(line));
    FUZZ_CHECK(dialogserver::ParseServerCommand(Recased(line, true)) == command);
    FUZZ_CHECK(dialogserver::ParseServerCommand(Recased(line, false)) == command);

    FUZZ_CHECK(dialogserver::ParseServerCommand(u"/RegServer " + line) == ServerCommand::RegServer);
    FUZZ_CHECK(dialogserver::ParseServerCommand(u"-unregserverperuser\t" + line) == ServerCommand::UnregServerPerUser);
    if (command == ServerCommand::RunServer) {
        FUZZ_CHECK(dialogserver::ParseServerCommand(line + u" /RegServerPerUser") == ServerCommand::RegServerPerUser);
        FUZZ_CHECK(dialogserver::ParseServerCommand(line + u"\t-UNREGSERVER") == ServerCommand::UnregServer);
    }
    return 0;
}
