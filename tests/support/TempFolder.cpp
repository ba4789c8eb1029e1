#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <system_error>

#include "tests/support/TestSupport.h"

namespace testsupport {

TempFolder::TempFolder()
{
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    std::ostringstream name;
    name << "vocabra-test-" << stamp << "-" << counter++;
    m_path = std::filesystem::temp_directory_path() / name.str();
    std::filesystem::create_directories(m_path);
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::u16string TempFolder::File(const std::string& name) const
{
    return ToU16(m_path / name);
}

std::u16string ToU16(const std::filesystem::path& path)
{
    return path.u16string();
}

std::string ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

}  // namespace testsupport
