// Loopback sockets over BSD sockets.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "tests/support/LoopbackSocket.h"

namespace testsupport {
namespace {
bool WaitReadable(int fd, std::chrono::milliseconds timeout)
{
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, static_cast<int>(timeout.count())) > 0;
}
}  // namespace

void LoopbackSocket::Close()
{
    if (IsValid())
        ::close(static_cast<int>(m_socket));
    m_socket = kInvalid;
}

LoopbackSocket LoopbackSocket::Listen(std::uint16_t& port)
{
    LoopbackSocket listener(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!listener.IsValid())
        return listener;
    const int fd = static_cast<int>(listener.m_socket);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 16) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return LoopbackSocket();
    port = ntohs(address.sin_port);
    return listener;
}

LoopbackSocket LoopbackSocket::Accept(std::chrono::milliseconds timeout) const
{
    if (!IsValid() || !WaitReadable(static_cast<int>(m_socket), timeout))
        return LoopbackSocket();
    return LoopbackSocket(::accept4(static_cast<int>(m_socket), nullptr, nullptr, SOCK_CLOEXEC));
}

int LoopbackSocket::Receive(char* buffer, std::size_t size, std::chrono::milliseconds timeout) const
{
    if (!IsValid())
        return kFailed;
    if (!WaitReadable(static_cast<int>(m_socket), timeout))
        return kTimedOut;
    const ssize_t count = ::recv(static_cast<int>(m_socket), buffer, size, 0);
    return count < 0 ? kFailed : static_cast<int>(count);
}

bool LoopbackSocket::SendAll(std::string_view data) const
{
    while (IsValid() && !data.empty()) {
        // A client that hung up must not end the test process with SIGPIPE.
        const ssize_t sent = ::send(static_cast<int>(m_socket), data.data(), data.size(), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data.remove_prefix(static_cast<std::size_t>(sent));
    }
    return data.empty();
}

}  // namespace testsupport
