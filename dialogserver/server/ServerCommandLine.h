#pragma once
// The dialog server's command-line words. A word follows a "-" or a "/" anywhere on the line, is
// compared with the known words regardless of case, and must match whole: it ends at the end of
// the line, a space or a tab. The first word that matches decides; any other (the system's
// "-Embedding" when it starts the server for a client) leaves the program running as a server.

#include <string_view>

namespace dialogserver {

enum class ServerCommand {
    RunServer,
    RegServer,           // register machine-wide
    UnregServer,         // remove the machine-wide registration
    RegServerPerUser,    // register for the current user
    UnregServerPerUser,  // remove the current user's registration
};

ServerCommand ParseServerCommand(std::u16string_view commandLine);

}  // namespace dialogserver
