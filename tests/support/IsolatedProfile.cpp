#include "tests/support/IsolatedProfile.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#endif

#include "foundation/config/Settings.h"
#include "foundation/log/Log.h"
#include "foundation/text/Utf.h"

namespace testsupport {
namespace {
void SetVariable(const std::string& name, const std::optional<std::string>& value)
{
#ifdef _WIN32
    const std::u16string wideName = text::Utf8ToUtf16(name);
    const std::u16string wideValue = value ? text::Utf8ToUtf16(*value) : std::u16string();
    SetEnvironmentVariableW(reinterpret_cast<const wchar_t*>(wideName.c_str()),
                            value ? reinterpret_cast<const wchar_t*>(wideValue.c_str()) : nullptr);
    _putenv_s(name.c_str(), value ? value->c_str() : "");
#else
    if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
    else
        ::unsetenv(name.c_str());
#endif
}
}  // namespace

ScopedEnvironment::ScopedEnvironment(const char* name, const std::string& value) : m_name(name)
{
    if (const char* previous = std::getenv(name))
        m_previous = previous;
    SetVariable(m_name, value);
}

ScopedEnvironment::~ScopedEnvironment()
{
    SetVariable(m_name, m_previous);
}

#ifdef _WIN32
IsolatedProfileTest::IsolatedProfileTest() = default;
#else
IsolatedProfileTest::IsolatedProfileTest()
    : m_registry("VOCABRA_REGISTRY", (m_folder.Path() / "registry.reg").string()),
      m_state("XDG_STATE_HOME", (m_folder.Path() / "state").string())
{
}
#endif

IsolatedProfileTest::~IsolatedProfileTest() = default;

LoggingTest::LoggingTest()
{
    RemoveLogFile();
}

LoggingTest::~LoggingTest()
{
    Settings().key.DeleteValue(u"log");
    RemoveLogFile();
}

std::filesystem::path LoggingTest::LogFile()
{
    return std::filesystem::path(SharedLogFolder()) / "Vocabra.log";
}

void LoggingTest::RemoveLogFile()
{
    std::error_code ignored;
    std::filesystem::remove(LogFile(), ignored);
}

}  // namespace testsupport
