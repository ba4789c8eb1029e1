#include "foundation/http/Connection.h"

#include <algorithm>
#include <array>

#include "foundation/http/UrlParts.h"
#include "foundation/log/Log.h"

namespace Win32::API {
namespace {
constexpr char16_t kUserAgent[] = u"Vocabra";
constexpr std::uint32_t kRequestFlags =
    kInternetFlagReload | kInternetFlagNoCacheWrite | kInternetFlagKeepConnection | kInternetFlagPragmaNoCache;
constexpr std::uint32_t kReadChunk = 1024;
constexpr std::uint32_t kStatusOk = 200;

Log& ConnectionLog()
{
    static Log log("Connection");
    return log;
}

// Best effort: a handle that refuses an option keeps the system's default.
void SetTimeouts(TOptionable<InternetHandle>& handle, std::uint32_t milliseconds)
{
    handle.SetOption(kInternetOptionConnectTimeout, milliseconds);
    handle.SetOption(kInternetOptionSendTimeout, milliseconds);
    handle.SetOption(kInternetOptionReceiveTimeout, milliseconds);
}

// A reply of nothing at all is no reply, even where the system reports the request as sent
// (Wine's WinINet does, with status 0).
bool HasReply(const InternetHttpRequest& request)
{
    std::uint32_t status = kStatusOk;
    return !request.QueryNumber(kHttpQueryStatusCode, status) || status != 0;
}

// A body shorter or longer than its announced length was cut off or is not the one announced;
// WinINet does not always say so itself.
bool HasAnnouncedLength(const InternetHttpRequest& request, std::size_t size)
{
    std::uint32_t length = 0;
    return !request.QueryNumber(kHttpQueryContentLength, length) || length == size;
}

bool IsSecure(const http::UrlParts& parts)
{
    return parts.scheme == u"https";
}
}  // namespace

bool Connection::Open(const std::u16string& url, const char16_t* verb)
{
    Log& log = ConnectionLog();
    log.Write("URL: ", url.c_str());

    request.Close();
    connection.Close();
    internet.Close();

    if (!internet.Open(kUserAgent, kInternetOpenTypePreconfig)) {
        log.Write("Cannot open internet connection");
        return false;
    }
    SetTimeouts(internet, m_timeoutMs);

    http::UrlParts parts;
    if (!http::SplitUrl(url, parts) || parts.host.empty()) {
        log.Write("Invalid URL", url.c_str());
        return false;
    }

    // Credentials in the URL are not sent.
    if (!connection.Connect(internet, parts.host.c_str(), parts.port, nullptr, nullptr, kInternetServiceHttp, 0,
                            reinterpret_cast<std::uintptr_t>(this))) {
        log.Write("Cannot connect to server");
        return false;
    }

    const std::u16string target = http::RequestTarget(parts);
    const std::uint32_t flags = kRequestFlags | (IsSecure(parts) ? kInternetFlagSecure : 0);
    if (!request.Open(connection, verb, target.c_str(), flags, reinterpret_cast<std::uintptr_t>(this))) {
        log.Write("Cannot open HTTP connection");
        return false;
    }
    SetTimeouts(request, m_timeoutMs);
    if (m_deadline)
        request.SetDeadline(*m_deadline);
    return true;
}

bool Connection::BoundNextWait()
{
    if (!m_deadline)
        return true;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*m_deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
        ConnectionLog().Write("Time limit reached");
        return false;
    }
    SetTimeouts(request, static_cast<std::uint32_t>(std::min<std::int64_t>(left.count(), m_timeoutMs)));
    return true;
}

bool Connection::Get(const std::u16string& url)
{
    if (!Open(url, u"GET") || !BoundNextWait())
        return false;
    if (!request.Send() || !HasReply(request)) {
        ConnectionLog().Write("Cannot open GET stream");
        return false;
    }
    return true;
}

bool Connection::ReadResponse(std::string& body)
{
    Log& log = ConnectionLog();
    // A server that gives no status is taken at its word that the body follows.
    std::uint32_t status = kStatusOk;
    if (request.QueryNumber(kHttpQueryStatusCode, status) && status != kStatusOk) {
        log.WriteFormat("Invalid status: %i", static_cast<int>(status));
        return false;
    }

    body.clear();
    std::array<char, kReadChunk> buffer;
    for (;;) {
        // Asked first, so that the read takes what has arrived: a read of a whole chunk waits
        // for the whole chunk, and a slow server would hold it past every bound.
        std::uint32_t available = 0;
        if (!BoundNextWait() || !request.QueryDataAvailable(available)) {
            log.Write("Cannot read data");
            return false;
        }
        std::uint32_t read = 0;
        if (available != 0 && !request.Read(buffer.data(), std::min(available, kReadChunk), read)) {
            log.Write("Cannot read data");
            return false;
        }
        if (read == 0) {
            if (!HasAnnouncedLength(request, body.size())) {
                log.Write("Cannot read data");
                return false;
            }
            break;
        }
        if (read > kMaxBodySize - body.size()) {
            log.WriteFormat("Response larger than %i bytes", static_cast<int>(kMaxBodySize));
            return false;
        }
        body.append(buffer.data(), read);
    }
    log.Write("Response: ", body.c_str());
    return true;
}

}  // namespace Win32::API
