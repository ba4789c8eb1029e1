// Named events as presence markers: a lock file that every holder keeps read-locked. The first
// holder can take it write-locked for a moment, a later one cannot while any holder lives.
#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "foundation/text/Utf.h"
#include "foundation/win32api/FileDescriptor_posix.h"
#include "foundation/win32api/Handles.h"

namespace Win32::API {
namespace {
// $XDG_RUNTIME_DIR, else a private folder under /tmp that must be ours and not a link.
std::string EventFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime == '/')
        return runtime;
    std::string folder = "/tmp/vocabra-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) || status.st_uid != ::getuid()) {
        errno = EACCES;
        return std::string();
    }
    return folder;
}

std::string EventFileName(const char16_t* name)
{
    std::string file = "vocabra-event-";
    for (char c : text::Utf16ToUtf8(name))
        file.push_back(c == '/' || c == '\\' ? '_' : c);
    return file + ".lock";
}

bool LockWholeFile(int fd, short type, bool wait)
{
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return ::fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock) == 0;
}

int OpenNamedEvent(const char16_t* name, bool& alreadyExisted)
{
    const std::string folder = EventFolder();
    if (folder.empty())
        return -1;
    const std::string path = folder + "/" + EventFileName(name);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return -1;
    // Open-file-description locks turn a write lock into a read lock atomically, so two starts at
    // once cannot both see themselves as first.
    if (LockWholeFile(fd, F_WRLCK, false)) {
        alreadyExisted = false;
        if (LockWholeFile(fd, F_RDLCK, false))
            return fd;
    } else if (errno == EAGAIN || errno == EACCES) {
        alreadyExisted = true;
        if (LockWholeFile(fd, F_RDLCK, true))
            return fd;
    }
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
}
}  // namespace

bool Event::Create(const char16_t* name, bool& alreadyExisted, bool, bool, SecurityAttributes*)
{
    alreadyExisted = false;
    const int fd = (name && *name) ? OpenNamedEvent(name, alreadyExisted) : ::eventfd(0, EFD_CLOEXEC);
    Attach(HandleFromDescriptor(fd));
    return IsValid();
}

}  // namespace Win32::API
