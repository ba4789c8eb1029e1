// The zoom the user chose in a service's answer window, as the next answer of that service reads it.
#include <gtest/gtest.h>

#include <string>

#include "foundation/win32api/SystemConstants.h"
#include "tests/support/IsolatedProfile.h"
#include "tray/AnswerZoom.h"

namespace {
using namespace Win32::API;

const char16_t kKey[] = u"Software\\Corvane\\AnswerZoomTest";
const std::u16string kService = u"AnswerZoomTestService";
const std::u16string kZoom = kService + u".answerZoom";

class AnswerZoom : public testsupport::IsolatedProfileTest {
protected:
    AnswerZoom() { EXPECT_TRUE(m_key.Create(CurrentUserKey(), kKey)); }
    // Under Wine the key is the prefix's own: leave nothing behind.
    ~AnswerZoom() override
    {
        m_key.DeleteValue(kZoom.c_str());
        m_key.DeleteValue((kService + u"2.answerZoom").c_str());
    }

    std::string Remembered(const std::u16string& service = kService) const
    {
        const auto zoom = tray::RememberedAnswerZoom(m_key, service);
        return zoom ? std::to_string(*zoom) : "none";
    }

    RegKey m_key;
};

TEST_F(AnswerZoom, ComesBackPerServiceWithinItsBounds)
{
    EXPECT_EQ(Remembered(), "none");
    tray::RememberAnswerZoom(m_key, kService, 125);
    tray::RememberAnswerZoom(m_key, kService + u"2", 80);
    EXPECT_EQ(Remembered(), "125");
    EXPECT_EQ(Remembered(kService + u"2"), "80");

    tray::RememberAnswerZoom(m_key, kService, tray::kSmallestAnswerZoom);
    EXPECT_EQ(Remembered(), std::to_string(tray::kSmallestAnswerZoom));
    tray::RememberAnswerZoom(m_key, kService, tray::kLargestAnswerZoom);
    EXPECT_EQ(Remembered(), std::to_string(tray::kLargestAnswerZoom));
    for (const std::uint32_t bad : {0u, tray::kSmallestAnswerZoom - 1, tray::kLargestAnswerZoom + 1}) {
        tray::RememberAnswerZoom(m_key, kService, bad);
        EXPECT_EQ(Remembered(), std::to_string(tray::kLargestAnswerZoom)) << bad;
    }
}

// Values edited by hand or left by another version: only a DWORD within the bounds counts.
TEST_F(AnswerZoom, DamagedValuesReadAsNone)
{
    struct Case {  // NOLINT(clang-analyzer-optin.performance.Padding): cases read in this order
        const char* what;
        std::uint32_t type;
        std::u16string text;
        std::uint32_t number;
    };
    const Case cases[] = {
        {"a string", kRegSz, u"150", 0},
        {"zero", kRegDword, u"", 0},
        {"too small", kRegDword, u"", tray::kSmallestAnswerZoom - 1},
        {"too large", kRegDword, u"", tray::kLargestAnswerZoom + 1},
    };
    for (const Case& c : cases) {
        if (c.type == kRegSz)
            ASSERT_TRUE(m_key.SetString(kZoom.c_str(), c.text));
        else
            ASSERT_TRUE(m_key.SetDWORD(kZoom.c_str(), c.number));
        EXPECT_EQ(Remembered(), "none") << c.what;
    }
}

}  // namespace
