// Loopback sockets over Winsock.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "tests/support/LoopbackSocket.h"

namespace testsupport {
namespace {
// Winsock is started once, before the first socket, and stays up for the process.
bool WinsockReady()
{
    static const bool ready = [] {
        WSADATA data;
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return ready;
}

SOCKET Native(std::intptr_t socket)
{
    return static_cast<SOCKET>(socket);
}

bool WaitReadable(SOCKET socket, std::chrono::milliseconds timeout)
{
    WSAPOLLFD entry{};
    entry.fd = socket;
    entry.events = POLLRDNORM;
    return ::WSAPoll(&entry, 1, static_cast<INT>(timeout.count())) > 0;
}
}  // namespace

void LoopbackSocket::Close()
{
    if (IsValid())
        ::closesocket(Native(m_socket));
    m_socket = kInvalid;
}

LoopbackSocket LoopbackSocket::Listen(std::uint16_t& port)
{
    if (!WinsockReady())
        return LoopbackSocket();
    LoopbackSocket listener(static_cast<std::intptr_t>(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)));
    if (!listener.IsValid())
        return listener;
    const SOCKET socket = Native(listener.m_socket);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(socket, 16) != 0 ||
        ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return LoopbackSocket();
    port = ntohs(address.sin_port);
    return listener;
}

LoopbackSocket LoopbackSocket::Accept(std::chrono::milliseconds timeout) const
{
    if (!IsValid() || !WaitReadable(Native(m_socket), timeout))
        return LoopbackSocket();
    return LoopbackSocket(static_cast<std::intptr_t>(::accept(Native(m_socket), nullptr, nullptr)));
}

int LoopbackSocket::Receive(char* buffer, std::size_t size, std::chrono::milliseconds timeout) const
{
    if (!IsValid())
        return kFailed;
    if (!WaitReadable(Native(m_socket), timeout))
        return kTimedOut;
    const int count = ::recv(Native(m_socket), buffer, static_cast<int>(size), 0);
    return count < 0 ? kFailed : count;
}

bool LoopbackSocket::SendAll(std::string_view data) const
{
    while (IsValid() && !data.empty()) {
        const int sent = ::send(Native(m_socket), data.data(), static_cast<int>(data.size()), 0);
        if (sent <= 0)
            return false;
        data.remove_prefix(static_cast<std::size_t>(sent));
    }
    return data.empty();
}

}  // namespace testsupport
