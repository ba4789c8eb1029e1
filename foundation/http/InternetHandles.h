#pragma once
// Owners of internet handles: the root handle, the connection to one server and the HTTP request.
// The mix-ins share one handle through the virtual base, so a request that can be read from and
// queried still releases exactly one handle.
//
// One header, two implementations: InternetHandles_win32.cpp calls WinINet; the *_posix.cpp files
// give the same operations and results over libcurl. Nothing here throws.

#include <chrono>
#include <cstdint>

#include "foundation/win32api/Handles.h"

namespace Win32::API {

// WinINet's values, passed through unchanged (the Windows implementation checks that they agree).
constexpr std::uint32_t kInternetOpenTypePreconfig = 0;
constexpr std::uint32_t kInternetOpenTypeDirect = 1;
constexpr std::uint32_t kInternetOpenTypeProxy = 3;
constexpr std::uint32_t kInternetServiceHttp = 3;

constexpr std::uint32_t kInternetFlagReload = 0x80000000u;
constexpr std::uint32_t kInternetFlagNoCacheWrite = 0x04000000u;
constexpr std::uint32_t kInternetFlagSecure = 0x00800000u;
constexpr std::uint32_t kInternetFlagKeepConnection = 0x00400000u;
constexpr std::uint32_t kInternetFlagPragmaNoCache = 0x00000100u;

constexpr std::uint32_t kInternetOptionConnectTimeout = 2;
constexpr std::uint32_t kInternetOptionSendTimeout = 5;
constexpr std::uint32_t kInternetOptionReceiveTimeout = 6;

constexpr std::uint32_t kHttpQueryContentLength = 5;
constexpr std::uint32_t kHttpQueryStatusCode = 19;

class InternetHandle : public THandle<void*> {
public:
    ~InternetHandle() override;
    // InternetCloseHandle.
    bool Close() override;
};

template <class T>
class TOptionable : public virtual T {
public:
    // InternetSetOptionW with a 32-bit value (the time-outs are in milliseconds). Handles opened
    // from this one afterwards inherit the setting (but see InternetHttpRequest).
    bool SetOption(std::uint32_t option, std::uint32_t value);
};

class Internet : public TOptionable<InternetHandle> {
public:
    // InternetOpenW.
    bool Open(const char16_t* userAgent,
              std::uint32_t accessType,
              const char16_t* proxy = nullptr,
              const char16_t* proxyBypass = nullptr,
              std::uint32_t flags = 0);
};

class InternetConnection : public InternetHandle {
public:
    // InternetConnectW. A port of 0 means the service's default.
    bool Connect(const Internet& internet,
                 const char16_t* serverName,
                 std::uint16_t port,
                 const char16_t* userName,
                 const char16_t* password,
                 std::uint32_t service,
                 std::uint32_t flags,
                 std::uintptr_t context);
};

template <class T>
class TReadable : public virtual T {
public:
    // InternetReadFile: at most `size` bytes; `read` is 0 at the end of the data. It waits until
    // `size` bytes have come or the data has ended.
    bool Read(void* buffer, std::uint32_t size, std::uint32_t& read);
    // InternetQueryDataAvailable: waits for data (bounded by the receive time-out); `available`
    // is what can be read without waiting, 0 at the end of the data.
    bool QueryDataAvailable(std::uint32_t& available);
};

// The writing side of a handle. The program only downloads.
template <class T>
class TWritable : public virtual T {
};

template <class T>
class THttpQueryInfo : public virtual T {
public:
    // HttpQueryInfoW of one header as a number. `value` is untouched when the query fails.
    bool QueryNumber(std::uint32_t infoLevel, std::uint32_t& value) const;
};

// The request takes options too: not every WinINet hands the root's send and receive time-outs
// down to its requests (Wine's does not), so they are set on the request as well.
class InternetHttpRequest : public TOptionable<InternetHandle>,
                            public TReadable<InternetHandle>,
                            public TWritable<InternetHandle>,
                            public THttpQueryInfo<InternetHandle> {
public:
    // HttpOpenRequestW with the default HTTP version, no referrer and the default accept types.
    bool Open(const InternetConnection& connection,
              const char16_t* verb,
              const char16_t* objectName,
              std::uint32_t flags,
              std::uintptr_t context);
    // HttpSendRequestW without extra headers or a body: true once the response's head has arrived.
    bool Send();
    // Ends every wait of this request once `deadline` has passed. libcurl can; WinINet cannot,
    // and false says so: there the caller bounds each wait with the time-outs instead.
    bool SetDeadline(std::chrono::steady_clock::time_point deadline);
};

// The mix-ins' operations are defined with the platform's implementation, for this one base.
extern template class TOptionable<InternetHandle>;
extern template class TReadable<InternetHandle>;
extern template class TWritable<InternetHandle>;
extern template class THttpQueryInfo<InternetHandle>;

}  // namespace Win32::API
