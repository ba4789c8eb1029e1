#include "foundation/log/Log.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "foundation/config/Environment.h"
#include "foundation/config/Settings.h"
#include "foundation/text/AnsiCodePage.h"
#include "foundation/win32api/Handles.h"

namespace {
constexpr char kPrefixEnd[] = "\t- ";
constexpr std::size_t kMaxLabel = Log::kPrefixSize - sizeof kPrefixEnd;  // 60 bytes
constexpr int kOpenAttempts = 10;
constexpr auto kRetryDelay = std::chrono::milliseconds(50);

// The shared folder is created once per process, by the first enabled log object.
std::atomic<bool> g_logFolderPending{true};

void WriteText(Win32::API::File& file, const char* text)
{
    if (text && *text)
        file.Write(text, static_cast<std::uint32_t>(std::strlen(text)));
}
}  // namespace

std::u16string LogFilePath(bool vistaOrLater, const std::u16string& modulePath, const std::u16string& sharedFolder)
{
    std::u16string path;
    if (!vistaOrLater) {
        if (modulePath.empty() || modulePath.size() + 4 > kMaxPathLength)
            return std::u16string();
        path = modulePath + u".log";
    } else {
        if (sharedFolder.empty())
            return std::u16string();
        path = sharedFolder + kPathSeparator + u"Vocabra.log";
    }
    return path.size() < Log::kPathSize ? path : std::u16string();
}

Log::Log(const char* label)
{
    if (label) {
        // A label too long for the prefix is cut rather than overflowing it.
        const std::size_t length = strnlen(label, kMaxLabel);
        std::memcpy(m_prefix, label, length);
        std::memcpy(m_prefix + length, kPrefixEnd, sizeof kPrefixEnd);
    }

    {
        Settings settings;
        std::uint32_t value = 0;
        m_enabled = settings.key.GetDWORD(u"log", value) && value == 1;
    }
    if (!m_enabled)
        return;

    const bool vistaOrLater = IsVistaOrLater();
    std::u16string folder;
    if (vistaOrLater) {
        folder = SharedLogFolder();
        if (!folder.empty() && g_logFolderPending.exchange(false))
            CreateLogFolder(folder);
    }
    m_path = LogFilePath(vistaOrLater, vistaOrLater ? std::u16string() : GetModuleFilePath(), folder);
}

void Log::Write(const char* message, const char* text)
{
    if (!m_enabled)
        return;
    WriteLine(message, text);
}

void Log::Write(const char* message, const char16_t* wideText)
{
    if (!m_enabled)
        return;
    if (!wideText) {
        WriteLine(message, nullptr);
        return;
    }
    const std::string text = text::ToAnsiCodePage(wideText);
    WriteLine(message, text.c_str());
}

void Log::WriteWide(const char16_t* wideText)
{
    if (!m_enabled || !wideText)
        return;
    const std::string text = text::ToAnsiCodePage(wideText);
    WriteLine(text.c_str(), nullptr);
}

void Log::WriteFormat(const char* format, int value)
{
    if (!m_enabled || !format)
        return;
    char buffer[kFormatBufferSize];
    std::snprintf(buffer, sizeof buffer, format, value);
    WriteLine(buffer, nullptr);
}

void Log::WriteLine(const char* message, const char* text)
{
    using namespace Win32::API;
    if (!message && !text)
        return;
    // Without a path there is no file to wait for: drop the line at once.
    if (m_path.empty())
        return;

    // Writers exclude each other through the share mode: a second writer fails to open while a
    // line is being written, and retries a little later.
    File file;
    bool opened = false;
    for (int attempt = 0; attempt < kOpenAttempts && !opened; ++attempt) {
        opened = file.Create(m_path.c_str(), kGenericWrite, kFileShareRead, nullptr, kOpenAlways, 0, nullptr);
        if (!opened)
            std::this_thread::sleep_for(kRetryDelay);
    }
    if (!opened)
        return;
    file.SeekToEnd();
    WriteText(file, m_prefix);
    WriteText(file, message);
    WriteText(file, text);
    file.Write("\r\n", 2);
}
