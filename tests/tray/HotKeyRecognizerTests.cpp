#include <gtest/gtest.h>

#include "tray/HotKeyRecognizer.h"

namespace {
using tray::HotKeyRecognizer;
using tray::kKeyUpMessage;
using tray::kVirtualKeyC;
using tray::kVirtualKeyInsert;

constexpr std::uint32_t kKeyDown = 0x0100;
constexpr std::uint32_t kSysKeyUp = 0x0105;

TEST(HotKeyRecognizer, SecondReleaseWithinASecondTranslates)
{
    HotKeyRecognizer recognizer;
    EXPECT_FALSE(recognizer.OnKeyEvent(kKeyUpMessage, kVirtualKeyC, true, 10000));  // first press
    EXPECT_TRUE(recognizer.OnKeyEvent(kKeyUpMessage, kVirtualKeyC, true, 10800));
    EXPECT_TRUE(recognizer.OnKeyEvent(kKeyUpMessage, kVirtualKeyC, true, 10900));       // a triple press posts twice
    EXPECT_TRUE(recognizer.OnKeyEvent(kKeyUpMessage, kVirtualKeyInsert, true, 11000));  // exactly 1000 ms, other key
    EXPECT_FALSE(recognizer.OnKeyEvent(kKeyUpMessage, kVirtualKeyC, true, 11200));      // a new first press
    EXPECT_TRUE(recognizer.OnKeyEvent(kKeyUpMessage, kVirtualKeyC, true, 11300));
}

TEST(HotKeyRecognizer, IgnoresPressesOtherKeysAndReleasesWithoutCtrl)
{
    HotKeyRecognizer recognizer;
    EXPECT_FALSE(recognizer.OnKeyEvent(kKeyUpMessage, kVirtualKeyC, true, 5000));
    EXPECT_FALSE(recognizer.OnKeyEvent(kKeyDown, kVirtualKeyC, true, 5100));
    EXPECT_FALSE(recognizer.OnKeyEvent(kSysKeyUp, kVirtualKeyC, true, 5100));
    EXPECT_FALSE(recognizer.OnKeyEvent(kKeyUpMessage, 0x56, true, 5100));           // V
    EXPECT_FALSE(recognizer.OnKeyEvent(kKeyUpMessage, kVirtualKeyC, false, 5200));  // Ctrl let go
    // None of those moved the first press.
    EXPECT_TRUE(recognizer.OnKeyEvent(kKeyUpMessage, kVirtualKeyC, true, 5900));
}

TEST(HotKeyRecognizer, WorksAcrossTheWrapOfTheClock)
{
    HotKeyRecognizer recognizer;
    EXPECT_FALSE(recognizer.OnKeyEvent(kKeyUpMessage, kVirtualKeyC, true, 0xFFFFFF00u));
    EXPECT_TRUE(recognizer.OnKeyEvent(kKeyUpMessage, kVirtualKeyC, true, 0x00000100u));  // 512 ms later

    // Right after start-up (time below one second) the first release already posts.
    HotKeyRecognizer fresh;
    EXPECT_TRUE(fresh.OnKeyEvent(kKeyUpMessage, kVirtualKeyC, true, 400));
}

}  // namespace
