#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "foundation/log/Log.h"
#include "foundation/text/Utf.h"

namespace {
std::string HomeFolder()
{
    const char* home = std::getenv("HOME");
    if (home && *home)
        return home;
    const passwd* entry = ::getpwuid(::getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "";
}
}  // namespace

std::u16string SharedLogFolder()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    std::string base;
    if (state && *state == '/') {
        base = state;
    } else {
        const std::string home = HomeFolder();
        if (home.empty())
            return std::u16string();
        base = home + "/.local/state";
    }
    return text::Utf8ToUtf16(base + "/Vocabra");
}

void CreateLogFolder(const std::u16string& folder)
{
    // Like mkdir -p: ~/.local/state may not exist yet on a fresh account.
    const std::string path = text::Utf16ToUtf8(folder);
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        ::mkdir(path.substr(0, slash).c_str(), 0700);
    ::mkdir(path.c_str(), 0700);
}
