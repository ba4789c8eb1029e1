#include "tray/DesktopSwitches.h"

namespace tray {

DesktopArguments ParseDesktopArguments(const std::vector<std::string>& arguments)
{
    // Each switch found becomes the Windows program's spelling, so that one rule decides which
    // wins; anything else is reported and never reaches that rule.
    std::u16string commandLine;
    DesktopArguments parsed;
    bool translate = false;
    for (const std::string& argument : arguments) {
        if (argument == "--install")
            commandLine += u" /install";
        else if (argument == "--visible")
            commandLine += u" /visible";
        else if (argument == "--exit")
            commandLine += u" /exit";
        else if (argument == "--translate-clipboard")
            translate = true;
        else
            parsed.unknown.push_back(argument);
    }
    parsed.switches = ParseStartupSwitches(commandLine.c_str());
    parsed.translateClipboard = translate && !parsed.switches.install && !parsed.switches.exit;
    return parsed;
}

std::string TranslateClipboardCommand(const std::string& ownPath, const std::string& onPath)
{
    constexpr char kSwitch[] = " --translate-clipboard";
    if (ownPath.empty() || ownPath == onPath)
        return std::string("vocabra-tray") + kSwitch;
    constexpr char kPlain[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789/._+-";
    const bool plain = ownPath.find_first_not_of(kPlain) == std::string::npos;
    if (plain)
        return ownPath + kSwitch;
    // Single quotes keep everything but a single quote, which closes, is escaped, and reopens.
    std::string quoted = "'";
    for (const char c : ownPath)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'" + kSwitch;
}

}  // namespace tray
