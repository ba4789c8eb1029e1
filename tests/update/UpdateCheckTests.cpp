// The whole check against a local server, with the clock in the test's hand.
#include <gtest/gtest.h>

#include "foundation/config/Settings.h"
#include "foundation/text/Utf.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/update/UpdateTestSupport.h"
#include "update/UpdateCheck.h"

namespace {
using testsupport::HttpReply;
using testsupport::LocalHttpServer;

constexpr std::int64_t kNow = 1'800'000'000;

HttpReply Reply(int status, std::string body)
{
    HttpReply reply;
    reply.status = status;
    reply.body = std::move(body);
    return reply;
}

std::string Document(const std::string& version, const std::string& link)
{
    return "<?xml version=\"1.0\"?><vocabra><version>" + version + "</version><update_link>" + link +
           "</update_link></vocabra>";
}

class UpdateCheckTest : public updatetest::UpdateSettingsTest {
protected:
    UpdateCheckTest() { update::SetUpdateLink(u"http://installer.test/original.msi"); }

    static std::uint64_t LastCheck()
    {
        std::uint64_t last = 0;
        Settings().key.GetQWORD(u"lastCheckForUpdateTime", last);
        return last;
    }
};

TEST_F(UpdateCheckTest, FirstCheckFetchesTheDocumentAndOffersAnotherVersion)
{
    LocalHttpServer server(Reply(200, Document("9.9.9.9", "http://installer.test/new.msi")));
    ASSERT_TRUE(server.IsListening());
    EXPECT_FALSE(update::CheckForUpdate(false, server.Url("/tools/VocabraUpdate.xml?x=1"), kNow));
    ASSERT_EQ(server.RequestLines().size(), 1u);
    EXPECT_EQ(server.RequestLines()[0], "GET /tools/VocabraUpdate.xml?x=1 HTTP/1.1");
    EXPECT_EQ(LastCheck(), static_cast<std::uint64_t>(kNow));
    EXPECT_EQ(update::GetUpdateLink(), u"http://installer.test/new.msi");
}

TEST_F(UpdateCheckTest, SameVersionOffersNothingButKeepsTheLink)
{
    LocalHttpServer server(Reply(200, Document(VOCABRA_VERSION_TEXT, "http://installer.test/same.msi")));
    EXPECT_TRUE(update::CheckForUpdate(false, server.Url("/u.xml"), kNow));
    EXPECT_EQ(update::GetUpdateLink(), u"http://installer.test/same.msi");
}

TEST_F(UpdateCheckTest, TheIntervalDecidesWhetherTheServerIsAsked)
{
    LocalHttpServer server(Reply(200, Document("9.9.9.9", "")));
    Settings().key.SetQWORD(u"lastCheckForUpdateTime", kNow - 86399);
    EXPECT_TRUE(update::CheckForUpdate(false, server.Url("/u.xml"), kNow));
    EXPECT_TRUE(server.RequestLines().empty());
    EXPECT_FALSE(update::CheckForUpdate(true, server.Url("/u.xml"), kNow));  // forced
    EXPECT_EQ(server.RequestLines().size(), 1u);

    Settings().key.SetQWORD(u"lastCheckForUpdateTime", kNow - 86400);
    EXPECT_FALSE(update::CheckForUpdate(false, server.Url("/u.xml"), kNow));
    EXPECT_EQ(server.RequestLines().size(), 2u);
    EXPECT_EQ(update::GetUpdateLink(), u"http://installer.test/original.msi");  // an empty link changes nothing

    // The check time moved to now: the clock set back sees nothing due.
    EXPECT_TRUE(update::CheckForUpdate(false, server.Url("/u.xml"), kNow - 1000));
    EXPECT_EQ(server.RequestLines().size(), 2u);

    // An interval of 0 checks every time.
    Settings().key.SetDWORD(u"checkForUpdateInterval", 0);
    EXPECT_FALSE(update::CheckForUpdate(false, server.Url("/u.xml"), kNow));
    EXPECT_FALSE(update::CheckForUpdate(false, server.Url("/u.xml"), kNow));
    EXPECT_EQ(server.RequestLines().size(), 4u);
}

// What the tray program asks on its own thread after every translation: the stored values only.
TEST_F(UpdateCheckTest, WhetherACheckIsDueComesFromTheStoredValues)
{
    Settings settings;
    EXPECT_TRUE(update::IsCheckDue(settings.key, kNow));  // never checked
    settings.key.SetQWORD(u"lastCheckForUpdateTime", kNow - 86399);
    EXPECT_FALSE(update::IsCheckDue(settings.key, kNow));
    settings.key.SetString(u"checkForUpdateInterval", u"0");  // not a DWORD: the default day
    EXPECT_FALSE(update::IsCheckDue(settings.key, kNow));
    settings.key.SetDWORD(u"checkForUpdateInterval", 0);
    EXPECT_TRUE(update::IsCheckDue(settings.key, kNow));
    settings.key.SetDWORD(u"checkForUpdateInterval", 2);
    settings.key.SetQWORD(u"lastCheckForUpdateTime", kNow - 86400);
    EXPECT_FALSE(update::IsCheckDue(settings.key, kNow));
    EXPECT_TRUE(update::IsCheckDue(settings.key, kNow + 86400));
}

TEST_F(UpdateCheckTest, AFailedCheckCountsAsDone)
{
    LocalHttpServer server(Reply(404, Document("9.9.9.9", "http://installer.test/ignored.msi")));
    EXPECT_TRUE(update::CheckForUpdate(false, server.Url("/u.xml"), kNow));
    EXPECT_EQ(server.RequestLines().size(), 1u);
    EXPECT_EQ(LastCheck(), static_cast<std::uint64_t>(kNow));
    EXPECT_EQ(update::GetUpdateLink(), u"http://installer.test/original.msi");
    EXPECT_TRUE(update::CheckForUpdate(false, server.Url("/u.xml"), kNow + 3600));
    EXPECT_EQ(server.RequestLines().size(), 1u);
}

TEST_F(UpdateCheckTest, UnusableDocumentsOfferNothing)
{
    LocalHttpServer server(std::vector<HttpReply>{Reply(200, ""), Reply(200, "<r><other/></r>"), Reply(200, "no xml")});
    Settings().key.SetDWORD(u"checkForUpdateInterval", 0);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(update::CheckForUpdate(false, server.Url("/u.xml"), kNow));
    EXPECT_EQ(server.RequestLines().size(), 3u);
}

TEST(UpdateLink, OnlyAbsoluteWebAddressesAreAccepted)
{
    for (const char16_t* good : {u"https://www.example.com/tools/Vocabra.msi", u"http://installer.test/v.msi",
                                 u"HTTPS://Example.com/x.msi", u"https://[::1]:8443/x.msi"})
        EXPECT_TRUE(update::IsAcceptableUpdateLink(good)) << text::Utf16ToUtf8(good);
    for (const char16_t* bad :
         {u"", u"file:///C:/Windows/System32/calc.exe", u"\\\\host\\share\\x.exe", u"C:\\Windows\\notepad.exe",
          u"c:/x.exe", u"javascript:alert(1)", u"ms-settings:", u"ftp://host/x.msi", u"https:x.msi", u"https:///x.msi",
          u"https://host/a b.msi", u"https://host/x.msi\n", u"x.msi", u"//host/x.msi"})
        EXPECT_FALSE(update::IsAcceptableUpdateLink(bad)) << text::Utf16ToUtf8(bad);
}

TEST_F(UpdateCheckTest, ARefusedLinkLeavesTheHeldOne)
{
    LocalHttpServer server(std::vector<HttpReply>{Reply(200, Document("9.9.9.9", "file:///C:/evil.exe")),
                                                  Reply(200, Document("9.9.9.9", "\\\\evil\\share\\x.exe")),
                                                  Reply(200, Document("9.9.9.9", "https://good.test/v.msi")),
                                                  Reply(200, Document("9.9.9.9", "javascript:alert(1)"))});
    Settings().key.SetDWORD(u"checkForUpdateInterval", 0);
    // The other version is still offered; only the address stays as it was.
    EXPECT_FALSE(update::CheckForUpdate(false, server.Url("/u.xml"), kNow));
    EXPECT_FALSE(update::CheckForUpdate(false, server.Url("/u.xml"), kNow));
    EXPECT_EQ(update::GetUpdateLink(), u"http://installer.test/original.msi");
    EXPECT_FALSE(update::CheckForUpdate(false, server.Url("/u.xml"), kNow));
    EXPECT_EQ(update::GetUpdateLink(), u"https://good.test/v.msi");
    EXPECT_FALSE(update::CheckForUpdate(false, server.Url("/u.xml"), kNow));
    EXPECT_EQ(update::GetUpdateLink(), u"https://good.test/v.msi");
}

}  // namespace
