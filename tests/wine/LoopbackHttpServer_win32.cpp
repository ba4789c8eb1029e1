#include "tests/wine/LoopbackHttpServer_win32.h"

#include <ws2tcpip.h>

#include <algorithm>

namespace wintest {

LoopbackHttpServer::LoopbackHttpServer()
{
    WSADATA data;
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return;
    m_listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int size = sizeof address;
    if (m_listener == INVALID_SOCKET ||
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listener, 8) != 0 || ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return;
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    m_stopping = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_listener != INVALID_SOCKET)
        ::closesocket(m_listener);
    ::WSACleanup();
}

std::u16string LoopbackHttpServer::Url(const std::string& path) const
{
    const std::string url = "http://127.0.0.1:" + std::to_string(m_port) + path;
    return std::u16string(url.begin(), url.end());
}

bool LoopbackHttpServer::WaitForRequest(const std::string& path, std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_arrived.wait_for(lock, timeout,
                              [&] { return std::find(m_paths.begin(), m_paths.end(), path) != m_paths.end(); });
}

void LoopbackHttpServer::Serve()
{
    while (!m_stopping) {
        // Short waits, so that the destructor never waits long for this thread.
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_listener, &readable);
        timeval wait{0, 100 * 1000};
        if (::select(0, &readable, nullptr, nullptr, &wait) <= 0)
            continue;
        const SOCKET connection = ::accept(m_listener, nullptr, nullptr);
        if (connection == INVALID_SOCKET)
            continue;
        Answer(connection);
        ::closesocket(connection);
    }
}

void LoopbackHttpServer::Answer(SOCKET connection)
{
    const DWORD receiveTimeoutMs = 2000;
    ::setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&receiveTimeoutMs),
                 sizeof receiveTimeoutMs);
    std::string request;
    char buffer[1024];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 16384) {
        const int received = ::recv(connection, buffer, sizeof buffer, 0);
        if (received <= 0)
            break;
        request.append(buffer, static_cast<std::size_t>(received));
    }
    // The request line: "GET <path> HTTP/1.1".
    const std::size_t pathStart = request.find(' ');
    const std::size_t pathEnd = request.find(' ', pathStart + 1);
    if (pathStart == std::string::npos || pathEnd == std::string::npos)
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_paths.push_back(request.substr(pathStart + 1, pathEnd - pathStart - 1));
    }
    m_arrived.notify_all();

    const std::string body = "<html><body>vocabra test page</body></html>";
    const std::string response =
        "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
        "\r\nConnection: close\r\n\r\n" + body;
    ::send(connection, response.data(), static_cast<int>(response.size()), 0);
}

}  // namespace wintest
