#pragma once
// The diagnostic log: off unless the registry DWORD "log" is 1. One line per call, written
// through an open-append-close sequence so that both programs can share one file.

#include <cstddef>
#include <string>

class Log {
public:
    static constexpr std::size_t kPrefixSize = 64;
    static constexpr std::size_t kFormatBufferSize = 512;
    static constexpr std::size_t kPathSize = 324;

    // Reads the "log" switch and settles the file path. A label too long for the prefix is cut.
    explicit Log(const char* label = nullptr);

    // One line: prefix, message, text, CR LF. Nothing when both are null.
    void Write(const char* message, const char* text = nullptr);
    // The wide text converted to 8-bit text; a null wide text writes the message alone.
    void Write(const char* message, const char16_t* wideText);
    void WriteWide(const char16_t* wideText);
    // A printf-style format with one integer, bounded to 511 characters.
    void WriteFormat(const char* format, int value);

    bool IsEnabled() const { return m_enabled; }
    const std::u16string& Path() const { return m_path; }
    const char* Prefix() const { return m_prefix; }

private:
    void WriteLine(const char* message, const char* text);

    char m_prefix[kPrefixSize] = {};
    bool m_enabled = false;
    std::u16string m_path;
};

// The log file's path: beside the program file before Vista, else in the shared folder.
// "" when that folder is unknown or the path would not fit.
std::u16string LogFilePath(bool vistaOrLater, const std::u16string& modulePath, const std::u16string& sharedFolder);

// Platform: the folder shared by both programs (LocalLow\Vocabra; $XDG_STATE_HOME/Vocabra).
std::u16string SharedLogFolder();
// Platform: creates the folder (and on POSIX its parents); failure is ignored by the caller.
void CreateLogFolder(const std::u16string& folder);
