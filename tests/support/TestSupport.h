#pragma once
// Helpers shared by the test executables: child processes of the test executable itself, and
// temporary folders that clean up after themselves.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "foundation/win32api/Handles.h"

namespace testsupport {

// A role the test executable plays when started as "<exe> --child <name> [args...]".
using ChildRole = int (*)(const std::vector<std::string>& args);

struct ChildRoleRegistration {
    ChildRoleRegistration(const char* name, ChildRole role);
};

// Starts this test executable in `role`; the process is left running in `process`.
bool StartChild(Win32::API::ProcessEx& process, const std::string& role, const std::vector<std::string>& args);
// Starts it and waits; the child's exit code, or -1 when it could not start or did not end in time.
int RunChild(const std::string& role, const std::vector<std::string>& args, std::uint32_t timeoutMs = 60000);

// A fresh, empty folder under the system's temporary folder, removed with its contents.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // A path inside the folder, as the foundation's wide strings.
    std::u16string File(const std::string& name) const;

private:
    std::filesystem::path m_path;
};

// Polls `condition` until it holds (true) or `timeout` has passed (false).
bool Eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

std::u16string ToU16(const std::filesystem::path& path);
std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

}  // namespace testsupport

// Defines a child role: VOCABRA_CHILD_ROLE(writer) { ... return 0; }
#define VOCABRA_CHILD_ROLE(name)                                                                      \
    [[maybe_unused]] static int name##_child_role(const std::vector<std::string>& args);              \
    static ::testsupport::ChildRoleRegistration name##_child_registration(#name, &name##_child_role); \
    static int name##_child_role([[maybe_unused]] const std::vector<std::string>& args)
