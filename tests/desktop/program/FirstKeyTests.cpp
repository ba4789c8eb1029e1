// The first key of a possible double press, which the desktop program acts on before the double
// press is complete (it loads its answer windows then).
#include <gtest/gtest.h>

#include <cstdint>

#include "tray/RawKeyTracker.h"

namespace {
constexpr std::uint32_t kControlLeft = 37, kControlRight = 105, kC = 54, kInsert = 118, kKeypadInsert = 90, kOther = 38;

tray::RawKeyTracker Tracker()
{
    tray::RawKeyTracker::Keys keys;
    keys.control = {kControlLeft, kControlRight, 0, 0};
    keys.c = {kC, 0, 0, 0};
    keys.insert = {kInsert, kKeypadInsert, 0, 0};
    return tray::RawKeyTracker(keys);
}

TEST(FirstKey, OnlyAPressOfCOrInsertWithCtrlHeld)
{
    tray::RawKeyTracker tracker = Tracker();
    EXPECT_EQ(tracker.PressWithControl(kC, true), 0u);  // no Ctrl yet: plain typing
    tracker.OnRawKey(kControlRight, true, 100);
    EXPECT_EQ(tracker.PressWithControl(kC, true), tray::kVirtualKeyC);
    EXPECT_EQ(tracker.PressWithControl(kInsert, true), tray::kVirtualKeyInsert);
    EXPECT_EQ(tracker.PressWithControl(kKeypadInsert, true), tray::kVirtualKeyInsert);
    EXPECT_EQ(tracker.PressWithControl(kC, false), 0u);  // a release is too late to be first
    EXPECT_EQ(tracker.PressWithControl(kOther, true), 0u);
    EXPECT_EQ(tracker.PressWithControl(kControlLeft, true), 0u);
    EXPECT_EQ(tracker.PressWithControl(0, true), 0u);  // the unused slots' code is no key
    tracker.OnRawKey(kControlRight, false, 200);
    EXPECT_EQ(tracker.PressWithControl(kC, true), 0u);
}
}  // namespace
