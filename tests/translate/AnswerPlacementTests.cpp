// Where an answer window opens: scaled to the monitor, inside its work area, centred on it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <random>

#include "translate/target/AnswerPlacement.h"

namespace translate::target {
std::ostream& operator<<(std::ostream& out, const ScreenRect& r)
{
    return out << "{" << r.left << ", " << r.top << ", " << r.width << "x" << r.height << "}";
}

bool operator==(const ScreenRect& a, const ScreenRect& b)
{
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}
}  // namespace translate::target

namespace {
using translate::target::LogicalSize;
using translate::target::PlaceAnswerWindow;
using translate::target::ScreenRect;

struct PlacementCase {
    const char* what;
    LogicalSize size;
    std::uint32_t dpi;
    ScreenRect workArea;
    ScreenRect expected;
};

TEST(AnswerPlacement, ScalesShrinksAndCentresOnTheWorkArea)
{
    const ScreenRect big{0, 0, 3840, 2160};
    const PlacementCase cases[] = {
        {"96 DPI keeps the size", {600, 400}, 96, {0, 0, 1280, 1024}, {340, 312, 600, 400}},
        {"0 DPI counts as 96", {600, 400}, 0, {0, 0, 1280, 1024}, {340, 312, 600, 400}},
        {"120 DPI", {800, 600}, 120, big, {1420, 705, 1000, 750}},
        {"144 DPI", {800, 600}, 144, big, {1320, 630, 1200, 900}},
        {"192 DPI", {800, 600}, 192, big, {1120, 480, 1600, 1200}},
        {"scaling rounds to nearest", {801, 601}, 120, big, {1420, 705, 1001, 751}},
        {"too wide and too high: the whole work area", {800, 600}, 192, {0, 0, 1366, 728}, {0, 0, 1366, 728}},
        {"too high only", {600, 700}, 96, {0, 30, 1024, 600}, {212, 30, 600, 600}},
        {"work area beside the taskbar", {600, 400}, 96, {1920, 40, 1280, 984}, {2260, 332, 600, 400}},
        {"monitor left of and above the primary", {600, 400}, 96, {-1280, -200, 1280, 1024}, {-940, 112, 600, 400}},
        {"second monitor at 200 %", {800, 600}, 192, {2560, 0, 2560, 1400}, {3040, 100, 1600, 1200}},
        {"sides of 0 or less: one pixel", {0, -5}, 96, {0, 0, 100, 100}, {50, 50, 1, 1}},
        {"empty work area: one pixel at its corner", {600, 400}, 96, {10, 20, 0, 0}, {10, 20, 1, 1}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaceAnswerWindow(c.size, c.dpi, c.workArea), c.expected) << c.what;
}

// Whatever the size, the DPI and the odd sides, the window stays inside the work area, and its
// free margins on either side differ by at most one pixel.
TEST(AnswerPlacement, NeverLeavesTheWorkArea)
{
    std::mt19937 random(19);
    std::uniform_int_distribution<std::int32_t> side(1, 5000), origin(-5000, 5000), area(1, 4000);
    const std::uint32_t dpis[] = {96, 120, 144, 168, 192, 240, 288};
    for (int i = 0; i < 20000; ++i) {
        const ScreenRect work{origin(random), origin(random), area(random), area(random)};
        const std::uint32_t dpi = dpis[static_cast<std::size_t>(i) % std::size(dpis)];
        const ScreenRect placed = PlaceAnswerWindow({side(random), side(random)}, dpi, work);
        SCOPED_TRACE(::testing::Message() << "work " << work << " dpi " << dpi << " placed " << placed);
        ASSERT_GE(placed.width, 1);
        ASSERT_GE(placed.height, 1);
        ASSERT_GE(placed.left, work.left);
        ASSERT_GE(placed.top, work.top);
        ASSERT_LE(placed.left + placed.width, work.left + work.width);
        ASSERT_LE(placed.top + placed.height, work.top + work.height);
        const std::int32_t leftMargin = placed.left - work.left;
        const std::int32_t rightMargin = work.left + work.width - placed.left - placed.width;
        ASSERT_LE(std::abs(leftMargin - rightMargin), 1);
    }
}

TEST(AnswerPlacement, PixelsGoBackToTheSameLogicalSize)
{
    for (const std::uint32_t dpi : {96u, 120u, 144u, 192u}) {
        for (const std::int32_t side : {50, 333, 800, 1001}) {
            const std::int32_t pixels = translate::target::ScaleToDpi(side, dpi);
            const LogicalSize back = translate::target::ToLogicalSize(pixels, pixels + 1, dpi);
            EXPECT_EQ(back.width, side) << dpi << " DPI";
            // One pixel more is less than one unit at these DPIs: it rounds to the nearest unit.
            EXPECT_LE(back.height - side, 1) << dpi << " DPI";
        }
    }
    EXPECT_EQ(translate::target::ToLogicalSize(1200, 900, 144).width, 800);
    EXPECT_EQ(translate::target::ToLogicalSize(1200, 900, 0).height, 900);
}

}  // namespace
