#pragma once
// A scripted HTTP server on 127.0.0.1 for tests, on its own thread. Each connection gets the next
// scripted reply (the last one again once the script runs out) and is then closed; the request
// heads are recorded. It stops on destruction, and by itself after a bounded number of
// connections or a bounded time, so that a faulty client cannot keep a test run alive.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tests/support/LoopbackSocket.h"

namespace testsupport {

struct HttpReply {
    enum class Ending {
        Complete,           // the head and the whole body
        CutBody,            // the head announcing the whole body, then only `bytesBeforeCut` of it
        StallBody,          // as CutBody, but the connection is held open, silent
        CloseWithoutReply,  // the request is read and the connection closed
        NeverReply,         // the request is read and the connection held open, silent
        DripHead,           // the whole reply, one byte every `dripInterval`, the head included
        DripBody,           // the head at once, then the body one byte every `dripInterval`
    };

    int status = 200;
    std::string body;
    std::string extraHeaders;  // whole lines, each ending in CR LF
    Ending ending = Ending::Complete;
    std::size_t bytesBeforeCut = 0;
    std::chrono::milliseconds dripInterval{100};
};

class LocalHttpServer {
public:
    static constexpr int kMaxConnections = 32;
    static constexpr std::chrono::seconds kLifetime{60};

    explicit LocalHttpServer(std::vector<HttpReply> replies);
    explicit LocalHttpServer(HttpReply reply) : LocalHttpServer(std::vector<HttpReply>{std::move(reply)}) {}
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    bool IsListening() const { return m_port != 0; }
    std::uint16_t Port() const { return m_port; }
    // "http://127.0.0.1:<port>" followed by `target`.
    std::u16string Url(const std::string& target) const;

    // What each connection sent, up to the end of its head. A client that does not speak HTTP
    // (a TLS handshake, say) is recorded with the bytes of its first message.
    std::vector<std::string> Requests() const;
    // The first line of each request, without its line end: "GET /path?query HTTP/1.1".
    std::vector<std::string> RequestLines() const;
    // Whether a GET of `target` (path and query) has arrived or arrives within `timeout`.
    bool WaitForGet(const std::string& target, std::chrono::milliseconds timeout) const;

private:
    void Serve();
    const HttpReply& NextReply();
    std::string ReadRequest(const LoopbackSocket& client) const;
    void Reply(const LoopbackSocket& client, const HttpReply& reply) const;
    // One byte at a time, until the bytes or the server's life end.
    void Drip(const LoopbackSocket& client, std::string_view bytes, std::chrono::milliseconds interval) const;

    std::vector<HttpReply> m_replies;
    std::size_t m_next = 0;
    std::uint16_t m_port = 0;
    LoopbackSocket m_listener;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::vector<std::string> m_requests;
    std::thread m_thread;
};

}  // namespace testsupport
