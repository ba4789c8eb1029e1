#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "tray/gtk/PortalRequestPath.h"

namespace {
using tray::gtk::IsObjectPathElement;
using tray::gtk::MakeHandleToken;
using tray::gtk::RequestPath;
using tray::gtk::SenderPathElement;
using tray::gtk::SessionPath;

TEST(PortalRequestPath, PathsNameTheSenderWithoutColonAndWithUnderscoresForDots)
{
    struct Case {
        const char* uniqueName;
        const char* element;
    };
    const Case cases[] = {
        {":1.42", "1_42"},
        {":1.2048", "1_2048"},
        {":12.3.4", "12_3_4"},  // every dot, not only the first
        {":1", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.uniqueName);
        EXPECT_EQ(SenderPathElement(c.uniqueName), c.element);
        EXPECT_EQ(RequestPath(c.uniqueName, "vocabra_1_0000abcd"),
                  std::string("/org/freedesktop/portal/desktop/request/") + c.element + "/vocabra_1_0000abcd");
        EXPECT_EQ(SessionPath(c.uniqueName, "vocabra_2_ffff0000"),
                  std::string("/org/freedesktop/portal/desktop/session/") + c.element + "/vocabra_2_ffff0000");
    }
}

TEST(PortalRequestPath, ObjectPathElementsAreLettersDigitsAndUnderscores)
{
    EXPECT_TRUE(IsObjectPathElement("vocabra_1_0a"));
    EXPECT_TRUE(IsObjectPathElement("A"));
    EXPECT_TRUE(IsObjectPathElement("_"));
    for (const char* invalid : {"", "a-b", "a.b", "a/b", "a b", "\xC3\xA4", "tok:1"}) {
        SCOPED_TRACE(invalid);
        EXPECT_FALSE(IsObjectPathElement(invalid));
    }
}

TEST(PortalRequestPath, TokensAreValidPathElementsWithOurPrefixAndNeverRepeat)
{
    // 1 with 0x10 and 11 with 0 would give one token if the two parts ran together.
    const std::uint32_t samples[] = {0u, 1u, 11u, 0x10u, 0xABCDu, 0x7FFFFFFFu, 0xFFFFFFFFu};
    std::set<std::string> tokens;
    std::size_t made = 0;
    for (std::uint32_t sequence : samples) {
        for (std::uint32_t random : samples) {
            const std::string token = MakeHandleToken(sequence, random);
            SCOPED_TRACE(token);
            EXPECT_TRUE(IsObjectPathElement(token));
            EXPECT_EQ(token.rfind("vocabra_", 0), 0u);
            tokens.insert(token);
            ++made;
        }
    }
    EXPECT_EQ(tokens.size(), made);
}

}  // namespace
