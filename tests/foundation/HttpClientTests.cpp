#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/config/Settings.h"
#include "foundation/http/Connection.h"
#include "foundation/log/Log.h"
#include "foundation/text/Utf.h"
#include "tests/support/IsolatedProfile.h"
#include "tests/support/LocalHttpServer.h"

namespace {
using testsupport::HttpReply;
using testsupport::LocalHttpServer;
using Win32::API::Connection;
using Ending = HttpReply::Ending;
using Clock = std::chrono::steady_clock;
using namespace std::string_literals;

constexpr std::uint32_t kShortTimeoutMs = 1000;

// Every byte value in turn, zeros included, with a period that no 1,024-byte chunk shares: a
// lost, doubled or reordered chunk shows.
std::string Pattern(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i % 251);
    return bytes;
}

HttpReply Reply(int status, std::string body, Ending ending = Ending::Complete, std::size_t bytesBeforeCut = 0)
{
    HttpReply reply;
    reply.status = status;
    reply.body = std::move(body);
    reply.ending = ending;
    reply.bytesBeforeCut = bytesBeforeCut;
    return reply;
}

struct Outcome {
    bool sent = false;
    bool read = false;
    std::string body = "untouched";
};

Outcome Fetch(const std::u16string& url, std::uint32_t timeoutMs = Connection::kDefaultTimeoutMs)
{
    Outcome outcome;
    Connection connection;
    connection.SetTimeout(timeoutMs);
    outcome.sent = connection.Get(url);
    if (outcome.sent)
        outcome.read = connection.ReadResponse(outcome.body);
    return outcome;
}

long long MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A port where nothing listens (any more).
std::uint16_t ClosedPort()
{
    LocalHttpServer server(Reply(200, ""));
    return server.Port();
}

std::u16string ClosedPortUrl()
{
    return text::Utf8ToUtf16("http://127.0.0.1:" + std::to_string(ClosedPort()) + "/");
}

TEST(HttpClient, ReadsTheWholeBodyOfA200)
{
    const std::string bodies[] = {
        "",
        Pattern(1),
        Pattern(1024),
        Pattern(3000),
        "before\0after"s,
        // Zeros on both sides of the first chunk's end.
        Pattern(1023) + "\0\0after"s,
    };
    for (const std::string& body : bodies) {
        LocalHttpServer server(Reply(200, body));
        ASSERT_TRUE(server.IsListening());
        const Outcome outcome = Fetch(server.Url("/tools/update.xml"));
        EXPECT_TRUE(outcome.sent) << body.size();
        EXPECT_TRUE(outcome.read) << body.size();
        EXPECT_EQ(outcome.body, body) << body.size();
    }
}

TEST(HttpClient, RequestsPathAndQueryOnTheGivenPort)
{
    LocalHttpServer server(Reply(200, "ok"));
    const std::string base = "127.0.0.1:" + std::to_string(server.Port());
    const struct {
        std::string url;
        std::string requestLine;
    } cases[] = {
        {"http://" + base + "/tools/update.xml", "GET /tools/update.xml HTTP/1.1"},
        {"http://" + base + "/find?word=tree&from=en", "GET /find?word=tree&from=en HTTP/1.1"},
        {"http://" + base, "GET / HTTP/1.1"},
        {"http://" + base + "?v=2", "GET /?v=2 HTTP/1.1"},
        {"http://" + base + "/page?v=2#part", "GET /page?v=2 HTTP/1.1"},
        {"HTTP://user:secret@" + base + "/p", "GET /p HTTP/1.1"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = Fetch(text::Utf8ToUtf16(c.url));
        EXPECT_TRUE(outcome.read) << c.url;
        ASSERT_FALSE(server.RequestLines().empty()) << c.url;
        EXPECT_EQ(server.RequestLines().back(), c.requestLine) << c.url;
    }
    const std::string head = server.Requests().front();
    EXPECT_NE(head.find("\r\nHost: " + base + "\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nUser-Agent: Vocabra\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nPragma: no-cache\r\n"), std::string::npos) << head;
    // Credentials in the address are never sent.
    EXPECT_EQ(server.Requests().back().find("Authorization"), std::string::npos) << server.Requests().back();
}

TEST(HttpClient, AStatusOtherThan200IsAFailureAndTheBodyIsNotRead)
{
    for (int status : {404, 500, 204}) {
        LocalHttpServer server(Reply(status, status == 204 ? "" : "error page"));
        const Outcome outcome = Fetch(server.Url("/missing"));
        EXPECT_TRUE(outcome.sent) << status;
        EXPECT_FALSE(outcome.read) << status;
        EXPECT_EQ(outcome.body, "untouched") << status;
    }
}

TEST(HttpClient, FollowsARedirect)
{
    // The second reply answers the address the first one names.
    std::vector<HttpReply> replies{Reply(302, ""), Reply(200, "final")};
    replies[0].extraHeaders = "Location: /final\r\n";
    LocalHttpServer redirecting(replies);
    const Outcome outcome = Fetch(redirecting.Url("/start"));
    EXPECT_TRUE(outcome.read);
    EXPECT_EQ(outcome.body, "final");
    EXPECT_EQ(redirecting.RequestLines(), (std::vector<std::string>{"GET /start HTTP/1.1", "GET /final HTTP/1.1"}));
}

TEST(HttpClient, SendingFailsWhenNoAnswerComes)
{
    LocalHttpServer closing(Reply(200, "never sent", Ending::CloseWithoutReply));
    const struct {
        const char* what;
        std::u16string url;
    } cases[] = {
        {"nothing listens", ClosedPortUrl()},
        {"closed without a reply", closing.Url("/x")},
    };
    for (const auto& c : cases) {
        const auto start = Clock::now();
        const Outcome outcome = Fetch(c.url, kShortTimeoutMs);
        EXPECT_FALSE(outcome.sent) << c.what;
        EXPECT_LT(MillisecondsSince(start), 5000) << c.what;
    }
}

TEST(HttpClient, ABodyCutShortIsAReadFailure)
{
    LocalHttpServer server(Reply(200, Pattern(3000), Ending::CutBody, 1500));
    const Outcome outcome = Fetch(server.Url("/cut"));
    EXPECT_TRUE(outcome.sent);
    EXPECT_FALSE(outcome.read);
    EXPECT_LE(outcome.body.size(), 1500u);
}

TEST(HttpClient, ASilentServerHoldsTheCallerOnlyForTheTimeout)
{
    const struct {
        const char* what;
        HttpReply reply;
        bool sent;
    } cases[] = {
        {"no answer", Reply(200, "", Ending::NeverReply), false},
        {"body stalls", Reply(200, Pattern(3000), Ending::StallBody, 1500), true},
    };
    for (const auto& c : cases) {
        LocalHttpServer server(c.reply);
        const auto start = Clock::now();
        const Outcome outcome = Fetch(server.Url("/slow"), kShortTimeoutMs);
        const long long waited = MillisecondsSince(start);
        EXPECT_EQ(outcome.sent, c.sent) << c.what;
        EXPECT_FALSE(outcome.read) << c.what;
        EXPECT_GE(waited, kShortTimeoutMs * 9 / 10) << c.what;
        EXPECT_LT(waited, 5000) << c.what;
    }
}

// A server that sends a byte now and then meets every time-out of a single wait: only the
// deadline ends the request, with what had arrived read.
TEST(HttpClient, TheDeadlineEndsABodyThatTrickles)
{
    using namespace std::chrono_literals;
    HttpReply trickle = Reply(200, Pattern(600), Ending::DripBody);
    trickle.dripInterval = 50ms;  // half a minute for the whole body
    LocalHttpServer server({Reply(200, Pattern(3000)), trickle});

    Connection prompt;
    prompt.SetDeadline(Clock::now() + 10s);
    std::string body;
    ASSERT_TRUE(prompt.Get(server.Url("/prompt")));
    EXPECT_TRUE(prompt.ReadResponse(body));
    EXPECT_TRUE(body == Pattern(3000));

    Connection slow;
    const auto start = Clock::now();
    slow.SetDeadline(start + 1500ms);
    ASSERT_TRUE(slow.Get(server.Url("/slow")));
    EXPECT_FALSE(slow.ReadResponse(body));
    const long long waited = MillisecondsSince(start);
    EXPECT_GE(waited, 1400);
    EXPECT_LT(waited, 4000);
    EXPECT_GE(body.size(), 5u);
    EXPECT_EQ(body, Pattern(600).substr(0, body.size()));
}

TEST(HttpClient, ABodyOverTheCapIsRefused)
{
    const std::string atCap = Pattern(Connection::kMaxBodySize);
    LocalHttpServer server({Reply(200, atCap), Reply(200, atCap + "x")});
    const Outcome fits = Fetch(server.Url("/fits"));
    EXPECT_TRUE(fits.read);
    EXPECT_TRUE(fits.body == atCap) << fits.body.size();
    const Outcome over = Fetch(server.Url("/over"));
    EXPECT_TRUE(over.sent);
    EXPECT_FALSE(over.read);
    EXPECT_LE(over.body.size(), Connection::kMaxBodySize);
}

TEST(HttpClient, AnInvalidUrlSendsNothing)
{
    LocalHttpServer server(Reply(200, "ok"));
    const std::string port = std::to_string(server.Port());
    const std::string cases[] = {
        "http://" + std::string(257, 'h') + ":" + port + "/", "127.0.0.1:" + port + "/no-scheme", "http:///no-host",
        "http://127.0.0.1:" + port + "/with space",           "http://127.0.0.1:99999/",
    };
    for (const std::string& url : cases) {
        Connection connection;
        EXPECT_FALSE(connection.Get(text::Utf8ToUtf16(url))) << url;
        EXPECT_FALSE(connection.request.IsValid()) << url;
    }
    EXPECT_TRUE(server.Requests().empty());
}

TEST(HttpClient, HttpsIsNeverSentAsPlainHttp)
{
    LocalHttpServer server(Reply(200, "plain"));
    const std::u16string url = u"https://127.0.0.1:" + text::Utf8ToUtf16(std::to_string(server.Port())) + u"/secret";
    const Outcome outcome = Fetch(url, kShortTimeoutMs);
    EXPECT_FALSE(outcome.sent);
    for (const std::string& request : server.Requests())
        EXPECT_NE(request.rfind("GET", 0), 0u) << request;
}

TEST(InternetHandles, ReleasedExactlyOnceAndReplacedOnReopen)
{
    Win32::API::Internet internet;
    EXPECT_FALSE(internet.Close());
    ASSERT_TRUE(internet.Open(u"Vocabra", Win32::API::kInternetOpenTypePreconfig));
    ASSERT_TRUE(internet.Open(u"Vocabra", Win32::API::kInternetOpenTypePreconfig));
    EXPECT_TRUE(internet.Close());
    EXPECT_FALSE(internet.IsValid());
    EXPECT_FALSE(internet.Close());

    // A request reads and answers queries through one handle; before it is sent it does neither.
    Win32::API::InternetHttpRequest request;
    Win32::API::TReadable<Win32::API::InternetHandle>& readable = request;
    Win32::API::THttpQueryInfo<Win32::API::InternetHandle>& queryable = request;
    EXPECT_EQ(static_cast<Win32::API::InternetHandle&>(readable).Get(),
              static_cast<Win32::API::InternetHandle&>(queryable).Get());
    char buffer[16];
    std::uint32_t read = 7;
    EXPECT_FALSE(request.Read(buffer, sizeof buffer, read));
    std::uint32_t available = 0;
    EXPECT_FALSE(request.QueryDataAvailable(available));
    std::uint32_t status = 200;
    EXPECT_FALSE(request.QueryNumber(Win32::API::kHttpQueryStatusCode, status));
    EXPECT_EQ(status, 200u);
}

// The log: each outcome's line, byte for byte, from a process whose log is on from the start.
VOCABRA_CHILD_ROLE(fetch_urls)
{
    for (const std::string& url : args) {
        Connection connection;
        connection.SetTimeout(kShortTimeoutMs);
        std::string body;
        if (connection.Get(text::Utf8ToUtf16(url)))
            connection.ReadResponse(body);
    }
    return 0;
}

using HttpClientLogTest = testsupport::LoggingTest;

TEST_F(HttpClientLogTest, EachOutcomeHasItsLine)
{
    Settings().key.SetDWORD(u"log", 1);
    LocalHttpServer ok(Reply(200, "hello"));
    LocalHttpServer empty(Reply(200, ""));
    LocalHttpServer missing(Reply(404, "not here"));
    LocalHttpServer cut(Reply(200, Pattern(3000), Ending::CutBody, 100));
    LocalHttpServer large(Reply(200, Pattern(Connection::kMaxBodySize + 1)));
    const auto url = [](const LocalHttpServer& server, const char* target) {
        return text::Utf16ToUtf8(server.Url(target));
    };
    const std::string refused = text::Utf16ToUtf8(ClosedPortUrl());
    const std::vector<std::string> urls = {
        url(ok, "/ok"),   url(empty, "/empty"), url(missing, "/missing"),
        url(cut, "/cut"), url(large, "/large"), "no-scheme",
        refused,
    };
    ASSERT_EQ(testsupport::RunChild("fetch_urls", urls), 0);

    const std::string prefix = "Connection\t- ";
    std::string expected;
    const char* outcomes[] = {
        "Response: hello",
        "Response: ",
        "Invalid status: 404",
        "Cannot read data",
        "Response larger than 1048576 bytes",
        "Invalid URLno-scheme",
        "Cannot open GET stream",
    };
    for (std::size_t i = 0; i < urls.size(); ++i) {
        expected.append(prefix).append("URL: ").append(urls[i]).append("\r\n");
        expected.append(prefix).append(outcomes[i]).append("\r\n");
    }
    EXPECT_EQ(testsupport::ReadFileBytes(LogFile()), expected);
}

}  // namespace
