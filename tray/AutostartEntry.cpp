#include "tray/AutostartEntry.h"

#include <cstring>

namespace tray {

std::string AutostartFolder(const char* xdgConfigHome, const char* home)
{
    if (xdgConfigHome && xdgConfigHome[0] == '/')
        return std::string(xdgConfigHome) + "/autostart";
    if (home && home[0] == '/')
        return std::string(home) + "/.config/autostart";
    return std::string();
}

std::string ExecArgument(const std::string& argument)
{
    const bool quoted = argument.empty() || argument.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string::npos;
    std::string word;
    for (const char c : argument) {
        if (c == '%')
            word += "%%";
        else if (quoted && std::strchr("\"`$\\", c))
            word += std::string("\\") + c;
        else
            word += c;
    }
    if (quoted)
        word = "\"" + word + "\"";
    // The Exec value is itself a string value, whose own escapes come on top of the quoting.
    std::string value;
    for (const char c : word) {
        if (c == '\\')
            value += "\\\\";
        else if (c == '\n')
            value += "\\n";
        else if (c == '\t')
            value += "\\t";
        else
            value += c;
    }
    return value;
}

std::string AutostartEntryText(const std::string& executable)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Vocabra\n"
           "Comment=Looks up the selected word in your web dictionary\n"
           "Exec=" +
           ExecArgument(executable) +
           "\n"
           "Icon=vocabra\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

}  // namespace tray
