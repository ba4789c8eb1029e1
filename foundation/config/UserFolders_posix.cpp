#include "foundation/config/UserFolders_posix.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace config {

std::string XdgStateHome()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && *state == '/')
        return state;
    const char* home = std::getenv("HOME");
    if (home && *home)
        return std::string(home) + "/.local/state";
    const passwd* entry = ::getpwuid(::getuid());
    return entry && entry->pw_dir ? std::string(entry->pw_dir) + "/.local/state" : std::string();
}

std::string FolderOf(const std::string& file)
{
    const std::size_t slash = file.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : file.substr(0, slash);
}

bool CreateFolders(const std::string& folder)
{
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string prefix = folder.substr(0, slash);
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

}  // namespace config
