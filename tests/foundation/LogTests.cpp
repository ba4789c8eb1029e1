#include <chrono>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "foundation/config/Environment.h"
#include "foundation/config/Settings.h"
#include "foundation/log/Log.h"
#include "foundation/process/HostProcess.h"
#include "tests/support/IsolatedProfile.h"

namespace {
using testsupport::ReadFileBytes;

void SetLogSwitch(const std::uint32_t* value)
{
    Settings settings;
    if (value)
        settings.key.SetDWORD(u"log", *value);
    else
        settings.key.DeleteValue(u"log");
}

void EnableLog()
{
    const std::uint32_t on = 1;
    SetLogSwitch(&on);
}

VOCABRA_CHILD_ROLE(write_log_lines)
{
    Log log(args.at(0).c_str());
    const int count = std::stoi(args.at(1));
    for (int i = 0; i < count; ++i)
        log.WriteFormat("line %i", i);
    return 0;
}

VOCABRA_CHILD_ROLE(ask_host_twice)
{
    const bool first = IsInternetExplorerHost();
    const bool second = IsInternetExplorerHost();
    return first == second && !first ? 0 : 1;
}

class LogTest : public testsupport::LoggingTest {
protected:
    // The folder is created by the first enabled log object of a process, which in this test
    // executable may have been an earlier test's.
    static void PrepareFolder() { CreateLogFolder(SharedLogFolder()); }
};

TEST_F(LogTest, OffUnlessTheSwitchIsExactlyOne)
{
    const std::uint32_t zero = 0;
    const std::uint32_t two = 2;
    for (const std::uint32_t* value : {static_cast<const std::uint32_t*>(nullptr), &zero, &two}) {
        SetLogSwitch(value);
        Log log("Connection");
        EXPECT_FALSE(log.IsEnabled());
        EXPECT_TRUE(log.Path().empty());
        log.Write("Cannot read data");
        log.WriteFormat("%i", 1);
    }
    // A string "1" is not the DWORD switch.
    Settings().key.SetString(u"log", u"1");
    Log log("Connection");
    EXPECT_FALSE(log.IsEnabled());
    log.Write("message");
    EXPECT_FALSE(std::filesystem::exists(LogFile()));
}

TEST_F(LogTest, FolderIsCreatedByTheFirstLogOfAProcess)
{
    EnableLog();
    EXPECT_EQ(testsupport::RunChild("write_log_lines", {"Child", "1"}), 0);
    EXPECT_EQ(ReadFileBytes(LogFile()), "Child\t- line 0\r\n");
}

TEST_F(LogTest, LinesAreWrittenByteForByte)
{
    EnableLog();
    PrepareFolder();
    {
        Log log("Connection");
        ASSERT_TRUE(log.IsEnabled());
        EXPECT_EQ(std::filesystem::path(log.Path()), LogFile());
        log.Write("Cannot read data");
        log.Write("Invalid URL", "http://x");
        log.Write(nullptr, "text only");
        log.Write(nullptr, static_cast<const char*>(nullptr));
        log.WriteFormat("Invalid status: %i", 404);
        log.Write("Attached to ", u"C:\\Program Files\\Vocabra\\Vocabra.exe");
        log.Write("No text", static_cast<const char16_t*>(nullptr));
        log.WriteWide(u"wide only");
        Log unlabelled;
        unlabelled.Write("multi\nline", "\n");
    }
    EXPECT_EQ(ReadFileBytes(LogFile()),
              "Connection\t- Cannot read data\r\n"
              "Connection\t- Invalid URLhttp://x\r\n"
              "Connection\t- text only\r\n"
              "Connection\t- Invalid status: 404\r\n"
              "Connection\t- Attached to C:\\Program Files\\Vocabra\\Vocabra.exe\r\n"
              "Connection\t- No text\r\n"
              "Connection\t- wide only\r\n"
              "multi\nline\n\r\n");
}

TEST_F(LogTest, OversizedLabelsAndFormatsAreCutNotOverflowed)
{
    EnableLog();
    PrepareFolder();
    const std::string label(100, 'L');
    Log log(label.c_str());
    EXPECT_EQ(std::string(log.Prefix()), std::string(60, 'L') + "\t- ");
    const std::string format = std::string(600, 'f') + "%i";
    log.WriteFormat(format.c_str(), 7);
    EXPECT_EQ(ReadFileBytes(LogFile()), std::string(60, 'L') + "\t- " + std::string(511, 'f') + "\r\n");
}

TEST_F(LogTest, LineIsDroppedWhenTheFileStaysLocked)
{
    EnableLog();
    PrepareFolder();
    Log log("Busy");
    Win32::API::File holder;
    ASSERT_TRUE(holder.Create(log.Path().c_str(), Win32::API::kGenericWrite, Win32::API::kFileShareRead, nullptr,
                              Win32::API::kOpenAlways, 0, nullptr));
    const auto start = std::chrono::steady_clock::now();
    log.Write("lost");
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(450));
    EXPECT_LT(waited, std::chrono::seconds(5));
    holder.Close();
    log.Write("kept");
    EXPECT_EQ(ReadFileBytes(LogFile()), "Busy\t- kept\r\n");
}

TEST_F(LogTest, TwoProcessesLoseNoLineAndNeverInterleave)
{
    EnableLog();
    PrepareFolder();
    constexpr int kLines = 300;
    Win32::API::ProcessEx first;
    Win32::API::ProcessEx second;
    ASSERT_TRUE(testsupport::StartChild(first, "write_log_lines", {"First", std::to_string(kLines)}));
    ASSERT_TRUE(testsupport::StartChild(second, "write_log_lines", {"Second", std::to_string(kLines)}));
    std::uint32_t firstExit = 1;
    std::uint32_t secondExit = 1;
    ASSERT_TRUE(first.WaitForExit(120000, firstExit));
    ASSERT_TRUE(second.WaitForExit(120000, secondExit));
    EXPECT_EQ(firstExit, 0u);
    EXPECT_EQ(secondExit, 0u);

    std::set<std::string> expected;
    for (int i = 0; i < kLines; ++i) {
        expected.insert("First\t- line " + std::to_string(i) + "\r");
        expected.insert("Second\t- line " + std::to_string(i) + "\r");
    }
    std::istringstream content(ReadFileBytes(LogFile()));
    std::multiset<std::string> seen;
    for (std::string line; std::getline(content, line);)
        seen.insert(line);
    EXPECT_EQ(seen.size(), expected.size());
    EXPECT_EQ(std::set<std::string>(seen.begin(), seen.end()), expected);
}

TEST_F(LogTest, HostTestLogsItsModuleOncePerProcess)
{
    EnableLog();
    PrepareFolder();
    ASSERT_EQ(testsupport::RunChild("ask_host_twice", {}), 0);
    const std::string content = ReadFileBytes(LogFile());
    EXPECT_EQ(content.rfind("MAIN\t- Attached to ", 0), 0u) << content;
    EXPECT_EQ(content.find("\r\n"), content.size() - 2) << content;
    EXPECT_NE(content.find("foundation_tests"), std::string::npos) << content;
}

TEST(LogFilePath, BesideTheProgramBeforeVistaElseShared)
{
    const std::u16string sep(1, kPathSeparator);
    EXPECT_EQ(LogFilePath(false, u"C:\\Vocabra\\Vocabra.exe", u"ignored"), u"C:\\Vocabra\\Vocabra.exe.log");
    EXPECT_EQ(LogFilePath(false, u"", u"folder"), u"");
    EXPECT_EQ(LogFilePath(false, std::u16string(kMaxPathLength - 3, u'p'), u""), u"");
    EXPECT_EQ(LogFilePath(false, std::u16string(kMaxPathLength - 4, u'p'), u"").size(), kMaxPathLength);
    EXPECT_EQ(LogFilePath(true, u"C:\\Vocabra\\Vocabra.exe", u"base" + sep + u"Vocabra"),
              u"base" + sep + u"Vocabra" + sep + u"Vocabra.log");
    EXPECT_EQ(LogFilePath(true, u"module", u""), u"");
    EXPECT_EQ(LogFilePath(true, u"module", std::u16string(Log::kPathSize, u'f')), u"");
}

}  // namespace
