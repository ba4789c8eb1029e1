// Processes through posix_spawn; the process and its "primary thread" handles are pidfds.
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "foundation/text/Utf.h"
#include "foundation/win32api/CommandLine.h"
#include "foundation/win32api/FileDescriptor_posix.h"
#include "foundation/win32api/Handles.h"

extern char** environ;

namespace Win32::API {
namespace {
#ifndef P_PIDFD
constexpr idtype_t P_PIDFD = static_cast<idtype_t>(3);
#endif

// Owns the spawn attributes for one call.
class SpawnActions {
public:
    SpawnActions() { m_ok = ::posix_spawn_file_actions_init(&m_actions) == 0; }
    ~SpawnActions()
    {
        if (m_ok)
            ::posix_spawn_file_actions_destroy(&m_actions);
    }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;

    bool ChangeDirectory(const std::string& folder)
    {
        return m_ok && ::posix_spawn_file_actions_addchdir_np(&m_actions, folder.c_str()) == 0;
    }
    const posix_spawn_file_actions_t* Get() const { return m_ok ? &m_actions : nullptr; }

private:
    posix_spawn_file_actions_t m_actions{};
    bool m_ok = false;
};
}  // namespace

bool Process::WaitForExit(std::uint32_t milliseconds, std::uint32_t& exitCode) const
{
    if (!IsValid())
        return false;
    const int fd = DescriptorFromHandle(m_handle);
    pollfd ready{fd, POLLIN, 0};
    int polled;
    do {
        polled = ::poll(&ready, 1, static_cast<int>(milliseconds));
    } while (polled < 0 && errno == EINTR);
    if (polled <= 0)
        return false;
    siginfo_t info{};
    if (::waitid(P_PIDFD, static_cast<id_t>(fd), &info, WEXITED) != 0)
        return false;
    exitCode = info.si_code == CLD_EXITED ? static_cast<std::uint32_t>(info.si_status)
                                          : 128u + static_cast<std::uint32_t>(info.si_status);
    return true;
}

ProcessEx::~ProcessEx()
{
    ProcessEx::Close();
}

bool ProcessEx::Close()
{
    m_thread.Close();
    m_threadId = 0;
    return Handle::Close();
}

bool ProcessEx::Create(const char16_t* applicationName,
                       const char16_t* commandLine,
                       const char16_t* currentDirectory,
                       std::uint32_t,
                       SecurityAttributes*,
                       SecurityAttributes*,
                       bool,
                       void*)
{
    Close();
    std::vector<std::string> arguments;
    if (commandLine && *commandLine) {
        for (const std::u16string& argument : SplitCommandLine(commandLine))
            arguments.push_back(text::Utf16ToUtf8(argument));
    }
    const std::string program = (applicationName && *applicationName)
                                    ? text::Utf16ToUtf8(applicationName)
                                    : (arguments.empty() ? std::string() : arguments.front());
    if (program.empty()) {
        errno = ENOENT;
        return false;
    }
    if (arguments.empty())
        arguments.push_back(program);
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    SpawnActions actions;
    if (currentDirectory && *currentDirectory && !actions.ChangeDirectory(text::Utf16ToUtf8(currentDirectory)))
        return false;
    pid_t pid = 0;
    // Without an application name the first word of the command line is searched on the PATH,
    // as CreateProcessW does.
    const bool searchPath = !(applicationName && *applicationName);
    const int error = searchPath ? ::posix_spawnp(&pid, program.c_str(), actions.Get(), nullptr, argv.data(), environ)
                                 : ::posix_spawn(&pid, program.c_str(), actions.Get(), nullptr, argv.data(), environ);
    if (error != 0) {
        errno = error;
        return false;
    }
    const int processFd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (processFd < 0)
        return false;
    Attach(HandleFromDescriptor(processFd));
    m_thread.Attach(HandleFromDescriptor(::fcntl(processFd, F_DUPFD_CLOEXEC, 0)));
    m_threadId = static_cast<std::uint32_t>(pid);
    return true;
}

}  // namespace Win32::API
