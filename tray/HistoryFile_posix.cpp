#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "foundation/config/UserFolders_posix.h"
#include "tray/HistoryFile.h"

namespace tray {
namespace {
bool WriteAll(int descriptor, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t count = ::write(descriptor, text.data() + done, text.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        done += static_cast<std::size_t>(count);
    }
    return true;
}
}  // namespace

std::string HistoryFilePath()
{
    const std::string state = config::XdgStateHome();
    return state.empty() ? std::string() : state + "/vocabra/history.tsv";
}

bool ReadHistoryFile(const std::string& path, std::string& text)
{
    text.clear();
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return errno == ENOENT;
    char buffer[65536];
    bool read = true;
    for (;;) {
        const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            read = count == 0;
            break;
        }
        text.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(descriptor);
    return read;
}

bool ReplaceHistoryFile(const std::string& path, const std::string& text)
{
    config::CreateFolders(config::FolderOf(path));
    std::string temporary = path + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0)
        return false;
    const bool written = WriteAll(descriptor, text) && ::fsync(descriptor) == 0;
    const bool closed = ::close(descriptor) == 0;
    if (written && closed && ::rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    ::unlink(temporary.c_str());
    return false;
}

bool AppendToHistoryFile(const std::string& path, const std::string& text)
{
    config::CreateFolders(config::FolderOf(path));
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0)
        return false;
    const bool written = WriteAll(descriptor, text);
    return ::close(descriptor) == 0 && written;
}

}  // namespace tray
