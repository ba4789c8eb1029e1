// Kernel handles as file descriptors, and files with Windows' share modes emulated by flock.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "foundation/text/Utf.h"
#include "foundation/win32api/FileDescriptor_posix.h"
#include "foundation/win32api/Handles.h"

namespace Win32::API {
namespace {
int OpenFlags(std::uint32_t access, std::uint32_t disposition)
{
    int flags = O_CLOEXEC;
    const bool reads = access & kGenericRead;
    const bool writes = access & kGenericWrite;
    flags |= (reads && writes) ? O_RDWR : writes ? O_WRONLY : O_RDONLY;
    switch (disposition) {
        case kCreateNew:
            return flags | O_CREAT | O_EXCL;
        case kCreateAlways:
        case kOpenAlways:
            return flags | O_CREAT;
        default:
            return flags;  // kOpenExisting, kTruncateExisting
    }
}

// A writer that does not share writing holds the file exclusively; a reader that does not share
// writing holds it shared. That gives Windows' answers for the share modes the program uses: a
// second writer, or a reader while a writer is at work, fails to open.
int ShareLock(std::uint32_t access, std::uint32_t shareMode)
{
    if (shareMode & kFileShareWrite)
        return 0;
    return (access & kGenericWrite) ? LOCK_EX : LOCK_SH;
}
}  // namespace

Handle::~Handle()
{
    Handle::Close();
}

bool Handle::Close()
{
    if (!IsValid())
        return false;
    const int result = ::close(DescriptorFromHandle(m_handle));
    m_handle = nullptr;
    return result == 0;
}

bool File::Create(const char16_t* path,
                  std::uint32_t access,
                  std::uint32_t shareMode,
                  SecurityAttributes*,
                  std::uint32_t disposition,
                  std::uint32_t,
                  void*)
{
    m_path = path ? path : u"";
    int fd = ::open(text::Utf16ToUtf8(m_path).c_str(), OpenFlags(access, disposition), 0666);
    if (fd >= 0) {
        const int lock = ShareLock(access, shareMode);
        if (lock != 0 && ::flock(fd, lock | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            fd = -1;
            errno = error;
        }
    }
    if (fd >= 0 && (disposition == kCreateAlways || disposition == kTruncateExisting) && ::ftruncate(fd, 0) != 0) {
        ::close(fd);
        fd = -1;
    }
    Attach(fd >= 0 ? HandleFromDescriptor(fd) : InvalidValue());
    return IsValid();
}

bool File::Read(void* buffer, std::uint32_t size)
{
    m_bytesTransferred = 0;
    if (!IsValid()) {
        errno = EBADF;
        return false;
    }
    auto* bytes = static_cast<char*>(buffer);
    while (m_bytesTransferred < size) {
        const ssize_t got =
            ::read(DescriptorFromHandle(m_handle), bytes + m_bytesTransferred, size - m_bytesTransferred);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        m_bytesTransferred += static_cast<std::uint32_t>(got);
    }
    return true;
}

bool File::Write(const void* data, std::uint32_t size)
{
    m_bytesTransferred = 0;
    if (!IsValid()) {
        errno = EBADF;
        return false;
    }
    const auto* bytes = static_cast<const char*>(data);
    while (m_bytesTransferred < size) {
        const ssize_t put =
            ::write(DescriptorFromHandle(m_handle), bytes + m_bytesTransferred, size - m_bytesTransferred);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        m_bytesTransferred += static_cast<std::uint32_t>(put);
    }
    return true;
}

bool File::SeekToEnd()
{
    return IsValid() && ::lseek(DescriptorFromHandle(m_handle), 0, SEEK_END) != -1;
}

bool File::GetSize(std::uint32_t& lowPart) const
{
    struct stat status {};
    if (!IsValid() || ::fstat(DescriptorFromHandle(m_handle), &status) != 0)
        return false;
    lowPart = static_cast<std::uint32_t>(static_cast<std::uint64_t>(status.st_size) & 0xFFFFFFFFu);
    return true;
}

}  // namespace Win32::API
