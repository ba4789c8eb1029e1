#pragma once
// A TCP socket on the loopback interface, owned once and closed on destruction. Just what a local
// test server needs: listen, accept, receive and send, each bounded in time.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace testsupport {

class LoopbackSocket {
public:
    // Receive results besides a byte count.
    static constexpr int kPeerClosed = 0;
    static constexpr int kFailed = -1;
    static constexpr int kTimedOut = -2;

    LoopbackSocket() = default;
    ~LoopbackSocket();
    LoopbackSocket(LoopbackSocket&& other) noexcept;
    LoopbackSocket& operator=(LoopbackSocket&& other) noexcept;
    LoopbackSocket(const LoopbackSocket&) = delete;
    LoopbackSocket& operator=(const LoopbackSocket&) = delete;

    // Listens on 127.0.0.1 at a port the system picks; invalid when that fails.
    static LoopbackSocket Listen(std::uint16_t& port);

    bool IsValid() const { return m_socket != kInvalid; }
    // The next connection, or an invalid socket when none arrives within `timeout`.
    LoopbackSocket Accept(std::chrono::milliseconds timeout) const;
    // A byte count, kPeerClosed, kFailed or kTimedOut.
    int Receive(char* buffer, std::size_t size, std::chrono::milliseconds timeout) const;
    bool SendAll(std::string_view data) const;
    void Close();

private:
    static constexpr std::intptr_t kInvalid = -1;
    explicit LoopbackSocket(std::intptr_t socket) : m_socket(socket) {}

    std::intptr_t m_socket = kInvalid;
};

}  // namespace testsupport
