// The registry's store file on POSIX, where open keys read and write their values. Every read
// parses the file afresh, so it sees every earlier write of any process. Every change runs under
// an exclusive lock on a lock file beside the store ("<store>.lock"): it re-reads the store,
// edits it and replaces it atomically (temporary file, fsync, rename), so concurrent writers of
// different values lose nothing. A store that does not parse is never overwritten.
#include "foundation/win32api/RegistryStore_posix.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "foundation/config/UserFolders_posix.h"

namespace Win32::API {
namespace {

// Restores errno on scope exit, for clean-up that must not mask the first failure.
class ErrnoKeeper {
public:
    ErrnoKeeper() : m_saved(errno) {}
    ~ErrnoKeeper() { errno = m_saved; }
    ErrnoKeeper(const ErrnoKeeper&) = delete;
    ErrnoKeeper& operator=(const ErrnoKeeper&) = delete;

private:
    int m_saved;
};

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0) {
            ErrnoKeeper keep;
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return m_fd; }
    // Closes now, reporting the result (a delayed write error shows up here).
    bool Close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool HomeFolder(std::string& home)
{
    const char* variable = std::getenv("HOME");
    if (variable && *variable) {
        home = variable;
        return true;
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !found->pw_dir) {
        errno = ENOENT;
        return false;
    }
    home = found->pw_dir;
    return true;
}

bool WriteAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t count = ::write(fd, text.data() + done, text.size() - done);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(count);
    }
    return true;
}

// Writes a temporary file beside the store and renames it over the store, so that readers see
// either the old or the new store, never a part of one.
bool SaveStore(const std::string& file, const RegistryDocument& document)
{
    std::string text;
    if (!SerializeRegistryFile(document, text)) {
        errno = EINVAL;
        return false;
    }
    std::string temporary = file + ".tmp.XXXXXX";
    Descriptor fd(::mkstemp(temporary.data()));
    if (fd.Get() < 0)
        return false;
    ::fcntl(fd.Get(), F_SETFD, FD_CLOEXEC);
    // Keep permissions a person gave the store; new stores stay private (mkstemp's 0600).
    struct stat existing {};
    if (::stat(file.c_str(), &existing) == 0)
        ::fchmod(fd.Get(), existing.st_mode & 07777);
    if (!WriteAll(fd.Get(), text) || ::fsync(fd.Get()) != 0 || !fd.Close() ||
        ::rename(temporary.c_str(), file.c_str()) != 0) {
        ErrnoKeeper keep;
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool StoreFilePath(std::string& path)
{
    const char* explicitPath = std::getenv("VOCABRA_REGISTRY");
    if (explicitPath && *explicitPath) {
        path = explicitPath;
        return true;
    }
    std::string base;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    // Relative values are invalid by the XDG rules and ignored.
    if (config && config[0] == '/') {
        base = config;
    } else {
        if (!HomeFolder(base))
            return false;
        base += "/.config";
    }
    path = base + "/vocabra/registry.reg";
    return true;
}

bool LoadStore(const std::string& file, RegistryDocument& document)
{
    document.sections.clear();
    Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        return errno == ENOENT;
    std::string text;
    char buffer[16384];
    for (;;) {
        const ssize_t count = ::read(fd.Get(), buffer, sizeof buffer);
        if (count == 0)
            break;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        text.append(buffer, static_cast<std::size_t>(count));
    }
    if (!ParseRegistryFile(text, document)) {
        errno = EBADMSG;
        return false;
    }
    return true;
}

bool ModifyStore(const std::string& file, const std::function<StoreChange(RegistryDocument&)>& change)
{
    const std::string lockPath = file + ".lock";
    int lockFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd < 0 && errno == ENOENT && config::CreateFolders(config::FolderOf(file)))
        lockFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    Descriptor lock(lockFd);
    if (lock.Get() < 0)
        return false;
    while (::flock(lock.Get(), LOCK_EX) != 0) {
        if (errno != EINTR)
            return false;
    }
    RegistryDocument document;
    if (!LoadStore(file, document))
        return false;
    switch (change(document)) {
        case StoreChange::Write:
            return SaveStore(file, document);
        case StoreChange::Keep:
            return true;
        case StoreChange::Fail:
            break;
    }
    return false;
}

}  // namespace Win32::API
