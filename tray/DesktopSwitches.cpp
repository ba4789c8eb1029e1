#include "tray/DesktopSwitches.h"

namespace tray {

DesktopArguments ParseDesktopArguments(const std::vector<std::string>& arguments)
{
    // Each switch found becomes the Windows program's spelling, so that one rule decides which
    // wins; anything else is reported and never reaches that rule.
    std::u16string commandLine;
    DesktopArguments parsed;
    for (const std::string& argument : arguments) {
        if (argument == "--install")
            commandLine += u" /install";
        else if (argument == "--visible")
            commandLine += u" /visible";
        else if (argument == "--exit")
            commandLine += u" /exit";
        else
            parsed.unknown.push_back(argument);
    }
    parsed.switches = ParseStartupSwitches(commandLine.c_str());
    return parsed;
}

}  // namespace tray
