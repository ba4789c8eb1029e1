#pragma once
// A minimal HTTP server on 127.0.0.1 for the browser tests: answers every request with a tiny
// page and remembers the request paths.

#include <winsock2.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace wintest {

class LoopbackHttpServer {
public:
    // Listens on a free port; Port() is 0 when that failed.
    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    int Port() const { return m_port; }
    // "http://127.0.0.1:<port><path>"
    std::u16string Url(const std::string& path) const;
    // Whether a request for `path` (with its query) has arrived or arrives within `timeout`.
    bool WaitForRequest(const std::string& path, std::chrono::milliseconds timeout);

private:
    void Serve();
    void Answer(SOCKET connection);

    SOCKET m_listener = INVALID_SOCKET;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::vector<std::string> m_paths;
    std::thread m_thread;
};

}  // namespace wintest
