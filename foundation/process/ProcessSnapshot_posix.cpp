// The process list from /proc: the ids are captured when the snapshot is taken, each entry's
// name is read when the walk reaches it (a process that has ended by then is skipped).
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "foundation/process/ProcessSnapshot.h"
#include "foundation/text/Utf.h"
#include "foundation/win32api/FileDescriptor_posix.h"

namespace {
bool IsNumber(const char* name)
{
    return *name &&
           std::all_of(name, name + std::char_traits<char>::length(name), [](char c) { return c >= '0' && c <= '9'; });
}

std::string ReadSmallFile(int folder, const std::string& path)
{
    const int fd = ::openat(folder, path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::string();
    char buffer[4096];
    const ssize_t length = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

// The executable's file name: the last part of argv[0] (Wine's programs show their Windows path
// there), else the kernel's short name.
std::string ExecutableName(int proc, std::uint32_t id)
{
    const std::string folder = std::to_string(id);
    std::string argument0 = ReadSmallFile(proc, folder + "/cmdline");
    argument0 = argument0.substr(0, argument0.find('\0'));
    if (!argument0.empty()) {
        const std::size_t last = argument0.find_last_of("/\\");
        return last == std::string::npos ? argument0 : argument0.substr(last + 1);
    }
    std::string name = ReadSmallFile(proc, folder + "/comm");
    if (!name.empty() && name.back() == '\n')
        name.pop_back();
    return name;
}
}  // namespace

ProcessSnapshot::ProcessSnapshot()
{
    using namespace Win32::API;
    Attach(HandleFromDescriptor(::open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC)));
    if (!IsValid())
        return;
    DIR* listing = ::fdopendir(::fcntl(DescriptorFromHandle(Get()), F_DUPFD_CLOEXEC, 0));
    if (!listing)
        return;
    while (const dirent* entry = ::readdir(listing)) {
        if (IsNumber(entry->d_name))
            m_pendingIds.push_back(static_cast<std::uint32_t>(std::stoul(entry->d_name)));
    }
    ::closedir(listing);
    std::sort(m_pendingIds.rbegin(), m_pendingIds.rend());  // walked from the back: lowest id first
    Next();
}

bool ProcessSnapshot::Next()
{
    m_valid = false;
    while (IsValid() && !m_pendingIds.empty()) {
        const std::uint32_t id = m_pendingIds.back();
        m_pendingIds.pop_back();
        const std::string name = ExecutableName(Win32::API::DescriptorFromHandle(Get()), id);
        if (!name.empty()) {
            m_processId = id;
            m_exeFile = text::Utf8ToUtf16(name);
            m_valid = true;
            break;
        }
    }
    return m_valid;
}
