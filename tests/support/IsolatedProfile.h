#pragma once
// Gives a test its own user profile where the platform allows it: on POSIX the registry store
// and the log folder move into a temporary folder; on Windows (under Wine's throw-away prefix)
// the real key and LocalLow folder are used, and tests remove what they write.

#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

namespace testsupport {

// Sets an environment variable for the life of the object, restoring the old value afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_previous;
};

class IsolatedProfileTest : public ::testing::Test {
protected:
    IsolatedProfileTest();
    ~IsolatedProfileTest() override;

    TempFolder m_folder;

private:
#ifndef _WIN32
    ScopedEnvironment m_registry;
    ScopedEnvironment m_state;
#endif
};

// A profile whose shared log file starts and ends absent, with the "log" switch removed at the end.
class LoggingTest : public IsolatedProfileTest {
protected:
    LoggingTest();
    ~LoggingTest() override;

    static std::filesystem::path LogFile();
    static void RemoveLogFile();
};

}  // namespace testsupport
