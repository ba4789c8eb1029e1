// One HTTP request over libcurl's multi interface, driven only while the caller waits, so that
// the head, the body and any failure show up in the same calls as with WinINet.
#include <algorithm>
#include <cstring>
#include <limits>

#include "foundation/http/InternetHandles.h"
#include "foundation/http/InternetObjects_posix.h"
#include "foundation/text/AsciiCase.h"

namespace Win32::API::internet {
namespace {
// Redirects are followed, as WinINet follows them, but not without end.
constexpr long kMaxRedirects = 10;
// Body bytes held before libcurl is asked to stop delivering until the reader catches up.
constexpr std::size_t kMaxPendingBytes = std::size_t{64} * 1024;
constexpr int kLongestPollMs = 100;

// "HTTP/1.1 404 Not Found" gives 404; anything unreadable gives 0.
long StatusOfLine(std::string_view line)
{
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos || line.size() < space + 4)
        return 0;
    long status = 0;
    for (std::size_t i = space + 1; i < space + 4; ++i) {
        if (line[i] < '0' || line[i] > '9')
            return 0;
        status = status * 10 + (line[i] - '0');
    }
    return status;
}

bool IsRedirect(long status)
{
    return status >= 300 && status < 400 && status != 304;
}
}  // namespace

Transfer::Transfer(const Server& server, const std::string& verb, const std::string& target, std::uint32_t flags)
    : m_easy(curl_easy_init()), m_multi(curl_multi_init())
{
    settings = server.settings;
    m_configured = m_easy && m_multi && Configure(server, verb, target, flags);
}

Transfer::~Transfer()
{
    if (m_added)
        curl_multi_remove_handle(m_multi.get(), m_easy.get());
}

bool Transfer::Configure(const Server& server, const std::string& verb, const std::string& target, std::uint32_t flags)
{
    CURL* easy = m_easy.get();
    // Secure exactly when asked; libcurl then checks the certificate and the host name itself.
    std::string url = (flags & kInternetFlagSecure) ? "https://" : "http://";
    url += server.host;
    if (server.port != 0)
        url += ":" + std::to_string(server.port);
    url += target;

    bool ok = curl_easy_setopt(easy, CURLOPT_URL, url.c_str()) == CURLE_OK;
    // The object name goes out as given, like WinINet's.
    ok = ok && curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects) == CURLE_OK;
    // Signals are no way to time out in a program with threads.
    ok = ok && curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_USERAGENT, settings.userAgent.c_str()) == CURLE_OK;

    // Preconfigured access takes the proxy from the environment, libcurl's default.
    if (settings.accessType == kInternetOpenTypeDirect) {
        ok = ok && curl_easy_setopt(easy, CURLOPT_PROXY, "") == CURLE_OK;
    } else if (settings.accessType == kInternetOpenTypeProxy) {
        ok = ok && curl_easy_setopt(easy, CURLOPT_PROXY, settings.proxy.c_str()) == CURLE_OK;
        ok = ok && curl_easy_setopt(easy, CURLOPT_NOPROXY, settings.proxyBypass.c_str()) == CURLE_OK;
    }

    if (verb == "GET")
        ok = ok && curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L) == CURLE_OK;
    else
        ok = ok && curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, verb.c_str()) == CURLE_OK;

    // The head WinINet sends: no Accept line, and the flags' own lines.
    ok = ok && AddHeader("Accept:");
    if (flags & kInternetFlagPragmaNoCache)
        ok = ok && AddHeader("Pragma: no-cache");
    if (flags & kInternetFlagKeepConnection)
        ok = ok && AddHeader("Connection: Keep-Alive");
    ok = ok && curl_easy_setopt(easy, CURLOPT_HTTPHEADER, m_headers.get()) == CURLE_OK;

    ok = ok && curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Transfer::HeaderCallback) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_HEADERDATA, this) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Transfer::BodyCallback) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_WRITEDATA, this) == CURLE_OK;
    return ok;
}

bool Transfer::AddHeader(const char* line)
{
    // Appending keeps the head of a list that exists, and starts one otherwise.
    curl_slist* list = curl_slist_append(m_headers.get(), line);
    if (!list)
        return false;
    if (!m_headers)
        m_headers.reset(list);
    return true;
}

bool Transfer::Send()
{
    // A request is sent once.
    if (!m_configured || m_added)
        return false;
    // Options set on the request after it was opened count too.
    if (settings.connectTimeoutMs != 0 && curl_easy_setopt(m_easy.get(), CURLOPT_CONNECTTIMEOUT_MS,
                                                           static_cast<long>(settings.connectTimeoutMs)) != CURLE_OK)
        return false;
    if (curl_multi_add_handle(m_multi.get(), m_easy.get()) != CURLM_OK)
        return false;
    m_added = true;
    m_lastActivity = Clock::now();
    Pump(&Transfer::HasHead);
    return m_headComplete;
}

bool Transfer::WaitForData()
{
    if (!m_added)
        return false;
    if (!HasData() && m_paused) {
        m_paused = false;
        m_lastActivity = Clock::now();
        curl_easy_pause(m_easy.get(), CURLPAUSE_CONT);
    }
    Pump(&Transfer::HasData);
    // Everything has been read: the end of the data, unless the transfer broke off.
    return HasData() || m_result == CURLE_OK;
}

bool Transfer::Read(void* buffer, std::uint32_t size, std::uint32_t& read)
{
    read = 0;
    if (!WaitForData())
        return false;
    const std::size_t count = std::min<std::size_t>(size, m_pending.size() - m_offset);
    std::memcpy(buffer, m_pending.data() + m_offset, count);
    m_offset += count;
    if (m_offset == m_pending.size()) {
        m_pending.clear();
        m_offset = 0;
    }
    read = static_cast<std::uint32_t>(count);
    return true;
}

bool Transfer::QueryDataAvailable(std::uint32_t& available)
{
    available = 0;
    if (!WaitForData())
        return false;
    available = static_cast<std::uint32_t>(
        std::min<std::size_t>(m_pending.size() - m_offset, std::numeric_limits<std::uint32_t>::max()));
    return true;
}

bool Transfer::QueryNumber(std::uint32_t infoLevel, std::uint32_t& value) const
{
    if (!m_headComplete)
        return false;
    if (infoLevel == kHttpQueryStatusCode) {
        long status = 0;
        if (curl_easy_getinfo(m_easy.get(), CURLINFO_RESPONSE_CODE, &status) != CURLE_OK || status <= 0)
            return false;
        value = static_cast<std::uint32_t>(status);
        return true;
    }
    if (infoLevel == kHttpQueryContentLength) {
        curl_off_t length = -1;
        if (curl_easy_getinfo(m_easy.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK || length < 0 ||
            length > std::numeric_limits<std::uint32_t>::max())
            return false;
        value = static_cast<std::uint32_t>(length);
        return true;
    }
    return false;
}

void Transfer::Pump(bool (Transfer::*ready)() const)
{
    while (!m_finished && !(this->*ready)()) {
        int running = 0;
        if (curl_multi_perform(m_multi.get(), &running) != CURLM_OK) {
            Finish(CURLE_RECV_ERROR);
            return;
        }
        CollectResult();
        if (m_finished || (this->*ready)())
            return;

        int waitMs = kLongestPollMs;
        if (m_deadline) {
            const Clock::duration left = *m_deadline - Clock::now();
            if (left <= Clock::duration::zero()) {
                Finish(CURLE_OPERATION_TIMEDOUT);
                return;
            }
            const auto leftMs = std::chrono::ceil<std::chrono::milliseconds>(left).count();
            waitMs = static_cast<int>(std::min<decltype(leftMs)>(leftMs, kLongestPollMs));
        }
        const Clock::duration limit = IdleLimit();
        if (limit != Clock::duration::zero()) {
            const Clock::duration idle = Clock::now() - m_lastActivity;
            if (idle >= limit) {
                Finish(CURLE_OPERATION_TIMEDOUT);
                return;
            }
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(limit - idle).count();
            waitMs = static_cast<int>(std::min<decltype(left)>(left, waitMs));
        }
        curl_multi_poll(m_multi.get(), nullptr, 0, waitMs, nullptr);
    }
}

void Transfer::CollectResult()
{
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(m_multi.get(), &left)) {
        if (message->msg == CURLMSG_DONE)
            Finish(message->data.result);
    }
}

void Transfer::Finish(CURLcode result)
{
    if (m_finished)
        return;
    m_finished = true;
    m_result = result;
    if (result == CURLE_OK)
        m_headComplete = true;
}

// Until the head arrives the server has the connect and the receive allowance; after that, each
// wait for more data has the receive allowance. The request itself is one small write.
Transfer::Clock::duration Transfer::IdleLimit() const
{
    const std::uint32_t receive = settings.receiveTimeoutMs;
    if (receive == 0)
        return Clock::duration::zero();
    const std::uint32_t ms = m_headComplete ? receive : receive + settings.connectTimeoutMs;
    return std::chrono::milliseconds(ms);
}

void Transfer::OnHeaderLine(std::string_view line)
{
    m_lastActivity = Clock::now();
    if (text::StartsWithIgnoringAsciiCase(line, "http/")) {
        m_blockStatus = StatusOfLine(line);
        m_blockHasLocation = false;
    } else if (text::StartsWithIgnoringAsciiCase(line, "location:")) {
        m_blockHasLocation = true;
    } else if (line == "\r\n" || line == "\n") {
        // The end of a head. Interim answers and redirects that will be followed are not the
        // response the caller waits for.
        if (m_blockStatus >= 200 && !(IsRedirect(m_blockStatus) && m_blockHasLocation))
            m_headComplete = true;
    }
}

std::size_t Transfer::OnBody(const char* data, std::size_t length)
{
    if (m_pending.size() - m_offset >= kMaxPendingBytes) {
        m_paused = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    m_lastActivity = Clock::now();
    m_headComplete = true;
    m_pending.append(data, length);
    return length;
}

std::size_t Transfer::HeaderCallback(char* data, std::size_t size, std::size_t count, void* self)
{
    static_cast<Transfer*>(self)->OnHeaderLine(std::string_view(data, size * count));
    return size * count;
}

std::size_t Transfer::BodyCallback(char* data, std::size_t size, std::size_t count, void* self)
{
    return static_cast<Transfer*>(self)->OnBody(data, size * count);
}

}  // namespace Win32::API::internet
