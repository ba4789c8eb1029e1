#pragma once
// Owners of operating-system handles. Each object releases its handle exactly once: when it is
// closed, destroyed, or given a different handle. Nothing here throws; failures are a false
// result with the system's error code (GetLastError, errno) left as the failing call set it.
//
// One header, two implementations: Handles_win32.cpp calls Win32; the *_posix.cpp files map the
// same operations onto file descriptors, flock, dlopen, posix_spawn and a .reg-format text store.

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/win32api/SystemConstants.h"

// The system's own handle types, declared without <windows.h> so that portable code can hold them.
// NOLINTBEGIN(bugprone-reserved-identifier): the names are the system headers' own
struct HKEY__;
struct HINSTANCE__;
struct _SECURITY_ATTRIBUTES;
// NOLINTEND(bugprone-reserved-identifier)

namespace Win32::API {

using SecurityAttributes = ::_SECURITY_ATTRIBUTES;

template <class T>
class THandle {
public:
    THandle() = default;
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    virtual ~THandle() = default;

    // Releases the handle when it is valid and empties the object; false when there was nothing
    // to release or the release call failed.
    virtual bool Close() = 0;

    // Null and all-bits-one (INVALID_HANDLE_VALUE) are invalid, for every kind of handle.
    virtual bool IsValid() const { return m_handle != T{} && m_handle != InvalidValue(); }

    T Get() const { return m_handle; }

    // Takes ownership of `value`. The held handle is closed first unless it is the same value.
    void Attach(T value)
    {
        if (value == m_handle)
            return;
        if (IsValid())
            Close();
        m_handle = value;
    }

    // NOLINTNEXTLINE(performance-no-int-to-ptr): INVALID_HANDLE_VALUE is a number in a pointer type
    static T InvalidValue() { return reinterpret_cast<T>(~std::uintptr_t{0}); }

protected:
    T m_handle{};
};

// A kernel object handle (a file descriptor on POSIX).
class Handle : public THandle<void*> {
public:
    ~Handle() override;
    bool Close() override;
};

class File : public Handle {
public:
    // The arguments are CreateFileW's; the path is remembered.
    bool Create(const char16_t* path,
                std::uint32_t access,
                std::uint32_t shareMode,
                SecurityAttributes* security,
                std::uint32_t disposition,
                std::uint32_t flagsAndAttributes,
                void* templateFile);

    // Each moves at most `size` bytes and records the count in BytesTransferred().
    bool Read(void* buffer, std::uint32_t size);
    bool Write(const void* data, std::uint32_t size);

    bool SeekToEnd();
    // The low 32 bits of the file size; false when it cannot be queried.
    bool GetSize(std::uint32_t& lowPart) const;

    std::uint32_t BytesTransferred() const { return m_bytesTransferred; }
    const std::u16string& Path() const { return m_path; }

private:
    std::uint32_t m_bytesTransferred = 0;
    std::u16string m_path;
};

class WaitableHandle : public Handle {};

class Event : public WaitableHandle {
public:
    // CreateEventW; `alreadyExisted` tells whether another holder had created the named event.
    bool Create(const char16_t* name,
                bool& alreadyExisted,
                bool manualReset = false,
                bool initialState = false,
                SecurityAttributes* security = nullptr);
};

class Thread : public WaitableHandle {};

class Process : public WaitableHandle {
public:
    // Waits up to `milliseconds` for the process to end; `exitCode` receives its exit status.
    bool WaitForExit(std::uint32_t milliseconds, std::uint32_t& exitCode) const;
};

class ProcessEx : public Process {
public:
    ~ProcessEx() override;
    // Closes the primary thread, then the process.
    bool Close() override;

    // CreateProcessW with the object's start-up records. A previously started process and its
    // thread are released first, whatever the outcome.
    bool Create(const char16_t* applicationName,
                const char16_t* commandLine = nullptr,
                const char16_t* currentDirectory = nullptr,
                std::uint32_t creationFlags = 0,
                SecurityAttributes* processSecurity = nullptr,
                SecurityAttributes* threadSecurity = nullptr,
                bool inheritHandles = false,
                void* environment = nullptr);

    const Thread& PrimaryThread() const { return m_thread; }
    std::uint32_t ThreadId() const { return m_threadId; }

private:
    Thread m_thread;
    std::uint32_t m_threadId = 0;
};

using RegistryHandle = ::HKEY__*;

// The predefined root keys, with the values Windows gives them.
RegistryHandle PredefinedKey(std::uint32_t id);
inline RegistryHandle CurrentUserKey()
{
    return PredefinedKey(kHkeyCurrentUser);
}

class RegKey : public THandle<RegistryHandle> {
public:
    ~RegKey() override;
    bool Close() override;

    // RegCreateKeyExW. On failure the held key is closed and the object stays empty.
    bool Create(RegistryHandle root,
                const char16_t* subKey,
                const char16_t* keyClass = nullptr,
                std::uint32_t options = kRegOptionNonVolatile,
                std::uint32_t access = kKeyAllAccess,
                SecurityAttributes* security = nullptr,
                std::uint32_t* disposition = nullptr);

    // A REG_DWORD of non-zero size; `value` is 0 whenever the result is false.
    bool GetDWORD(const char16_t* name, std::uint32_t& value) const;
    // A REG_QWORD of non-zero size; `value` is 0 whenever the result is false.
    bool GetQWORD(const char16_t* name, std::uint64_t& value) const;
    // A value of any type read as text up to its first zero; an existing empty value gives "".
    bool GetString(const char16_t* name, std::u16string& text) const;

    bool SetDWORD(const char16_t* name, std::uint32_t value);
    bool SetQWORD(const char16_t* name, std::uint64_t value);
    // REG_SZ with the terminating zero: (length + 1) * 2 bytes.
    bool SetString(const char16_t* name, const std::u16string& text);
    bool SetValue(const char16_t* name, std::uint32_t type, const void* data, std::uint32_t size);
    bool DeleteValue(const char16_t* name);

    // The raw value: its type and its bytes. False when the value is missing or unreadable.
    bool QueryValue(const char16_t* name, std::uint32_t& type, std::vector<std::uint8_t>& data) const;
};

class Library : public THandle<::HINSTANCE__*> {
public:
    ~Library() override;
    bool Close() override;

    bool Load(const char16_t* path);
    // GetProcAddress / dlsym on the loaded library; null when not loaded or not found.
    void* GetSymbol(const char* name) const;
};

}  // namespace Win32::API
