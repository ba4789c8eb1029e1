#pragma once
// The XDG autostart entry that starts the Linux desktop program with the user's session.

#include <string>

namespace tray {

constexpr char kAutostartFileName[] = "vocabra-tray.desktop";

// $XDG_CONFIG_HOME/autostart/<file>, or $HOME/.config/autostart/<file> when the variable is unset,
// empty or relative (the XDG rules ignore a relative value). Empty when neither gives a folder.
std::string AutostartFolder(const char* xdgConfigHome, const char* home);

// The entry's text for the program at `executable` (an absolute path).
std::string AutostartEntryText(const std::string& executable);

// One argument of an Exec line: quoted when it holds a character the desktop entry rules reserve,
// with '%' doubled, and then escaped as a desktop entry string value.
std::string ExecArgument(const std::string& argument);

}  // namespace tray
