#pragma once
// A minimal synchronous HTTP client: one GET, the whole body as bytes. Failures are logged under
// "Connection" and reported as false; nothing is thrown and nothing is shown to the user.
//
//     Connection connection;
//     if (connection.Get(url)) connection.ReadResponse(body);

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "foundation/http/InternetHandles.h"

namespace Win32::API {

class Connection {
public:
    // A body larger than this is refused rather than held in memory.
    static constexpr std::size_t kMaxBodySize = std::size_t{1} << 20;
    // Bound on connecting, sending and each wait for data, so that a server that accepts the
    // connection and never answers cannot hold the caller for long.
    static constexpr std::uint32_t kDefaultTimeoutMs = 15000;

    Connection() = default;

    // Root handle, connection and request for `url` with `verb`. Handles of an earlier call are
    // released first.
    bool Open(const std::u16string& url, const char16_t* verb);
    // Open(url, "GET") and send the request.
    bool Get(const std::u16string& url);
    // Checks that the status is 200 and reads the whole body (bytes as received).
    bool ReadResponse(std::string& body);

    // Applies to the next Open.
    void SetTimeout(std::uint32_t milliseconds) { m_timeoutMs = milliseconds; }
    // The whole request, from Get to the end of the body, is over by then: the time-outs bound
    // single waits only, and a server that drips a byte now and then would never meet them.
    // Applies to the next Open.
    void SetDeadline(std::chrono::steady_clock::time_point deadline) { m_deadline = deadline; }

    // Destroyed in reverse order: the request first, the root handle last.
    Internet internet;
    InternetConnection connection;
    InternetHttpRequest request;

private:
    // False once the deadline has passed; otherwise the next wait gets at most the time left.
    bool BoundNextWait();

    std::uint32_t m_timeoutMs = kDefaultTimeoutMs;
    std::optional<std::chrono::steady_clock::time_point> m_deadline;
};

}  // namespace Win32::API
