#pragma once
// The Linux desktop program's arguments: "--install", "--visible" and "--exit", each a whole
// argument, with the same precedence as the Windows program's switches, and its own
// "--translate-clipboard", which the other two of those override.

#include <string>
#include <vector>

#include "tray/StartupRules.h"

namespace tray {

struct DesktopArguments {
    StartupSwitches switches;
    // Translate the clipboard's text now, in the running copy (or in the copy this start makes);
    // never together with install or exit, which end this start or the copy.
    bool translateClipboard = false;
    std::vector<std::string> unknown;  // arguments that are none of the switches
};

DesktopArguments ParseDesktopArguments(const std::vector<std::string>& arguments);

// The command a desktop shortcut of the user's own runs to translate the clipboard: the program by
// its name where that name on the PATH leads to this program (`onPath`, resolved; empty when the
// name is not there), by its whole path `ownPath` otherwise, quoted for the shell-like parsing of
// the desktops' command fields.
std::string TranslateClipboardCommand(const std::string& ownPath, const std::string& onPath);

}  // namespace tray
