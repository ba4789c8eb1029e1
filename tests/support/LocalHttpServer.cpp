#include "tests/support/LocalHttpServer.h"

#include <algorithm>

#include "foundation/text/Utf.h"

namespace testsupport {
namespace {
constexpr auto kAcceptSlice = std::chrono::milliseconds(50);
constexpr auto kRequestDeadline = std::chrono::seconds(10);
constexpr std::size_t kMaxRequestBytes = std::size_t{64} * 1024;
constexpr char kHeadEnd[] = "\r\n\r\n";

const char* Reason(int status)
{
    switch (status) {
        case 200:
            return "OK";
        case 301:
            return "Moved Permanently";
        case 302:
            return "Found";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        default:
            return "Status";
    }
}

bool LooksLikeHttp(const std::string& received)
{
    return received.empty() || (received[0] >= 'A' && received[0] <= 'Z');
}
}  // namespace

LocalHttpServer::LocalHttpServer(std::vector<HttpReply> replies) : m_replies(std::move(replies))
{
    if (m_replies.empty())
        m_replies.emplace_back();
    std::uint16_t port = 0;
    m_listener = LoopbackSocket::Listen(port);
    if (!m_listener.IsValid())
        return;
    m_port = port;
    m_thread = std::thread([this] { Serve(); });
}

LocalHttpServer::~LocalHttpServer()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

std::u16string LocalHttpServer::Url(const std::string& target) const
{
    return text::Utf8ToUtf16("http://127.0.0.1:" + std::to_string(m_port) + target);
}

std::vector<std::string> LocalHttpServer::Requests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

std::vector<std::string> LocalHttpServer::RequestLines() const
{
    std::vector<std::string> lines;
    for (const std::string& request : Requests())
        lines.push_back(request.substr(0, request.find("\r\n")));
    return lines;
}

bool LocalHttpServer::WaitForGet(const std::string& target, std::chrono::milliseconds timeout) const
{
    const std::string line = "GET " + target + " HTTP/1.1";
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        const std::vector<std::string> lines = RequestLines();
        if (std::find(lines.begin(), lines.end(), line) != lines.end())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void LocalHttpServer::Serve()
{
    const auto end = std::chrono::steady_clock::now() + kLifetime;
    // Silent connections stay open until the server stops.
    std::vector<LoopbackSocket> held;
    int connections = 0;
    while (!m_stop && connections < kMaxConnections && std::chrono::steady_clock::now() < end) {
        LoopbackSocket client = m_listener.Accept(kAcceptSlice);
        if (!client.IsValid())
            continue;
        ++connections;
        const HttpReply& reply = NextReply();
        const std::string request = ReadRequest(client);
        if (!request.empty()) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_requests.push_back(request);
        }
        if (!LooksLikeHttp(request) || reply.ending == HttpReply::Ending::CloseWithoutReply)
            continue;
        if (reply.ending != HttpReply::Ending::NeverReply)
            Reply(client, reply);
        if (reply.ending == HttpReply::Ending::NeverReply || reply.ending == HttpReply::Ending::StallBody)
            held.push_back(std::move(client));
    }
    while (!m_stop && std::chrono::steady_clock::now() < end && !held.empty())
        std::this_thread::sleep_for(kAcceptSlice);
}

const HttpReply& LocalHttpServer::NextReply()
{
    const HttpReply& reply = m_replies[m_next];
    if (m_next + 1 < m_replies.size())
        ++m_next;
    return reply;
}

std::string LocalHttpServer::ReadRequest(const LoopbackSocket& client) const
{
    const auto deadline = std::chrono::steady_clock::now() + kRequestDeadline;
    std::string received;
    char buffer[4096];
    while (!m_stop && std::chrono::steady_clock::now() < deadline && received.size() < kMaxRequestBytes) {
        const int count = client.Receive(buffer, sizeof buffer, kAcceptSlice);
        if (count == LoopbackSocket::kTimedOut)
            continue;
        if (count <= 0)
            break;
        received.append(buffer, static_cast<std::size_t>(count));
        if (!LooksLikeHttp(received))
            break;
        const std::size_t headEnd = received.find(kHeadEnd);
        if (headEnd != std::string::npos) {
            received.resize(headEnd + sizeof kHeadEnd - 1);
            break;
        }
    }
    return received;
}

void LocalHttpServer::Reply(const LoopbackSocket& client, const HttpReply& reply) const
{
    std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " " + Reason(reply.status) + "\r\n";
    head += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
    head += "Connection: close\r\n";
    head += reply.extraHeaders;
    head += "\r\n";
    const std::size_t bodyBytes =
        reply.ending == HttpReply::Ending::CutBody || reply.ending == HttpReply::Ending::StallBody
            ? std::min(reply.bytesBeforeCut, reply.body.size())
            : reply.body.size();
    const std::string_view body = std::string_view(reply.body).substr(0, bodyBytes);
    if (reply.ending == HttpReply::Ending::DripHead) {
        Drip(client, head + reply.body, reply.dripInterval);
    } else if (reply.ending == HttpReply::Ending::DripBody) {
        if (client.SendAll(head))
            Drip(client, body, reply.dripInterval);
    } else if (client.SendAll(head)) {
        client.SendAll(body);
    }
}

void LocalHttpServer::Drip(const LoopbackSocket& client,
                           std::string_view bytes,
                           std::chrono::milliseconds interval) const
{
    for (std::size_t i = 0; i < bytes.size() && !m_stop; ++i) {
        if (!client.SendAll(bytes.substr(i, 1)))
            return;
        std::this_thread::sleep_for(interval);
    }
}

}  // namespace testsupport
