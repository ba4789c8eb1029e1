// libcurl ends a request at its deadline by itself, also while the head is still arriving a byte
// at a time. (WinINet cannot: there the tray program stops waiting for the check instead.)
#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "foundation/http/Connection.h"
#include "tests/support/LocalHttpServer.h"

namespace {
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testsupport::HttpReply;

TEST(HttpClientDeadline, EndsAHeadThatTrickles)
{
    HttpReply trickle;
    trickle.body = std::string(100, 'x');
    trickle.ending = HttpReply::Ending::DripHead;
    trickle.dripInterval = 50ms;  // the head alone takes seconds, each byte well within every time-out
    testsupport::LocalHttpServer server(trickle);

    Win32::API::Connection connection;
    const auto start = Clock::now();
    connection.SetDeadline(start + 1s);
    EXPECT_FALSE(connection.Get(server.Url("/slow-head")));
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, 900ms);
    EXPECT_LT(waited, 3s);
}

}  // namespace
