#pragma once
// What an internet handle points to on POSIX: a root session, a server to connect to, or a
// request driven by libcurl. Each is released through its base, as InternetCloseHandle releases
// any kind of WinINet handle.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <curl/curl.h>

namespace Win32::API::internet {

// What a handle hands down to the handles opened from it, as WinINet's options are inherited.
// Time-outs are in milliseconds; 0 leaves libcurl's own default (no bound).
struct SessionSettings {
    std::string userAgent;
    std::uint32_t accessType = 0;
    std::string proxy;
    std::string proxyBypass;
    std::uint32_t connectTimeoutMs = 0;
    std::uint32_t sendTimeoutMs = 0;
    std::uint32_t receiveTimeoutMs = 0;
};

class InternetObject {
public:
    InternetObject() = default;
    InternetObject(const InternetObject&) = delete;
    InternetObject& operator=(const InternetObject&) = delete;
    virtual ~InternetObject() = default;

    SessionSettings settings;
};

// The object behind a handle value, or null when the value holds another kind.
template <class Object>
Object* As(void* handle)
{
    return handle ? dynamic_cast<Object*>(static_cast<InternetObject*>(handle)) : nullptr;
}

class Session final : public InternetObject {};

class Server final : public InternetObject {
public:
    std::string host;
    std::uint16_t port = 0;  // 0: the scheme's default
};

// One HTTP request. Send waits for the response's head; Read hands out the body as it arrives.
// Only this thread drives the transfer, and only while the caller waits in Send or Read.
class Transfer final : public InternetObject {
public:
    Transfer(const Server& server, const std::string& verb, const std::string& target, std::uint32_t flags);
    ~Transfer() override;

    bool IsUsable() const { return m_configured; }
    bool Send();
    bool Read(void* buffer, std::uint32_t size, std::uint32_t& read);
    bool QueryDataAvailable(std::uint32_t& available);
    bool QueryNumber(std::uint32_t infoLevel, std::uint32_t& value) const;
    void SetDeadline(std::chrono::steady_clock::time_point deadline) { m_deadline = deadline; }

private:
    using Clock = std::chrono::steady_clock;
    struct EasyCleanup {
        void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
    };
    struct MultiCleanup {
        void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
    };
    struct ListCleanup {
        void operator()(curl_slist* list) const { curl_slist_free_all(list); }
    };

    bool Configure(const Server& server, const std::string& verb, const std::string& target, std::uint32_t flags);
    bool AddHeader(const char* line);
    bool HasHead() const { return m_headComplete; }
    bool HasData() const { return m_offset < m_pending.size(); }
    // Waits for body bytes; false when the transfer broke off before any came.
    bool WaitForData();
    void Pump(bool (Transfer::*ready)() const);
    void CollectResult();
    void Finish(CURLcode result);
    Clock::duration IdleLimit() const;
    void OnHeaderLine(std::string_view line);
    std::size_t OnBody(const char* data, std::size_t length);

    static std::size_t HeaderCallback(char* data, std::size_t size, std::size_t count, void* self);
    static std::size_t BodyCallback(char* data, std::size_t size, std::size_t count, void* self);

    // The header list must outlive the easy handle that points to it.
    std::unique_ptr<curl_slist, ListCleanup> m_headers;
    std::unique_ptr<CURL, EasyCleanup> m_easy;
    std::unique_ptr<CURLM, MultiCleanup> m_multi;
    bool m_configured = false;
    bool m_added = false;

    Clock::time_point m_lastActivity;
    std::optional<Clock::time_point> m_deadline;
    bool m_headComplete = false;
    bool m_finished = false;
    bool m_paused = false;
    CURLcode m_result = CURLE_OK;

    // The status of the head being received, and whether it sends the client elsewhere.
    long m_blockStatus = 0;
    bool m_blockHasLocation = false;

    // Body bytes received but not yet read.
    std::string m_pending;
    std::size_t m_offset = 0;
};

}  // namespace Win32::API::internet
