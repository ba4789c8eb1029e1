// The size the user gave a service's answer window, as the next answer of that service reads it.
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>

#include "foundation/win32api/SystemConstants.h"
#include "tests/support/IsolatedProfile.h"
#include "tray/AnswerSizes.h"

namespace {
using namespace Win32::API;
using translate::target::LogicalSize;

const char16_t kKey[] = u"Software\\Corvane\\AnswerSizesTest";
const std::u16string kService = u"AnswerSizesTestService";
const std::u16string kWidth = kService + u".answerWidth";
const std::u16string kHeight = kService + u".answerHeight";

class AnswerSizes : public testsupport::IsolatedProfileTest {
protected:
    AnswerSizes() { EXPECT_TRUE(m_key.Create(CurrentUserKey(), kKey)); }
    // Under Wine the key is the prefix's own: leave nothing behind.
    ~AnswerSizes() override
    {
        for (const auto& service : {kService, kService + u"2"}) {
            m_key.DeleteValue((service + u".answerWidth").c_str());
            m_key.DeleteValue((service + u".answerHeight").c_str());
        }
    }

    std::string Remembered(const std::u16string& service = kService) const
    {
        const auto size = tray::RememberedAnswerSize(m_key, service);
        return size ? std::to_string(size->width) + "x" + std::to_string(size->height) : "none";
    }

    RegKey m_key;
};

TEST_F(AnswerSizes, ComeBackPerService)
{
    EXPECT_EQ(Remembered(), "none");
    tray::RememberAnswerSize(m_key, kService, {1000, 700});
    tray::RememberAnswerSize(m_key, kService + u"2", {640, 480});
    EXPECT_EQ(Remembered(), "1000x700");
    EXPECT_EQ(Remembered(kService + u"2"), "640x480");

    std::uint32_t stored = 0;
    EXPECT_TRUE(m_key.GetDWORD(kWidth.c_str(), stored));
    EXPECT_EQ(stored, 1000u);

    // The bounds are kept; sizes outside them leave the stored size as it was.
    tray::RememberAnswerSize(m_key, kService, {tray::kSmallestAnswerSide, tray::kLargestAnswerSide});
    EXPECT_EQ(Remembered(), "50x20000");
    for (const LogicalSize bad :
         {LogicalSize{0, 0}, LogicalSize{49, 600}, LogicalSize{800, 20001}, LogicalSize{-160, 600}}) {
        tray::RememberAnswerSize(m_key, kService, bad);
        EXPECT_EQ(Remembered(), "50x20000") << bad.width << "x" << bad.height;
    }
}

TEST_F(AnswerSizes, DamagedValuesReadAsNone)
{
    const std::uint32_t zero = 0;
    const struct {
        const char* what;
        std::function<void(RegKey&)> damage;
    } cases[] = {
        {"width missing", [](RegKey& key) { key.DeleteValue(kWidth.c_str()); }},
        {"height a string", [](RegKey& key) { key.SetString(kHeight.c_str(), u"600"); }},
        {"width a QWORD", [](RegKey& key) { key.SetQWORD(kWidth.c_str(), 800); }},
        {"height a DWORD of no bytes", [&](RegKey& key) { key.SetValue(kHeight.c_str(), kRegDword, &zero, 0); }},
        {"width 0", [](RegKey& key) { key.SetDWORD(kWidth.c_str(), 0); }},
        {"height -1", [](RegKey& key) { key.SetDWORD(kHeight.c_str(), 0xFFFFFFFFu); }},
        {"width one too large", [](RegKey& key) { key.SetDWORD(kWidth.c_str(), tray::kLargestAnswerSide + 1); }},
        {"height one too small", [](RegKey& key) { key.SetDWORD(kHeight.c_str(), tray::kSmallestAnswerSide - 1); }},
    };
    for (const auto& c : cases) {
        tray::RememberAnswerSize(m_key, kService, {800, 600});
        ASSERT_EQ(Remembered(), "800x600");
        c.damage(m_key);
        EXPECT_EQ(Remembered(), "none") << c.what;
    }
}

}  // namespace
