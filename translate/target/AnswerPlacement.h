#pragma once
// Where an answer window opens and how large it is: the rules both desktops share. Sizes that
// services and users give are in 96-DPI units; the window itself is placed in the pixels of the
// monitor it opens on.

#include <cstdint>

namespace translate::target {

struct ScreenRect {
    std::int32_t left, top, width, height;
};

struct LogicalSize {
    std::int32_t width, height;  // 96-DPI units
};

// 96-DPI units in pixels of a monitor of `dpi` dots per inch (0 counts as 96), rounded to nearest.
std::int32_t ScaleToDpi(std::int32_t logical, std::uint32_t dpi);
// Pixels of a monitor of `dpi` dots per inch back in 96-DPI units, rounded to nearest.
LogicalSize ToLogicalSize(std::int32_t width, std::int32_t height, std::uint32_t dpi);

// `size` scaled to `dpi`, shrunk to fit `workArea` and centred on it: the window never extends
// past the work area, wherever that lies on the virtual screen. A side of 0 or less gives 1 pixel.
ScreenRect PlaceAnswerWindow(LogicalSize size, std::uint32_t dpi, ScreenRect workArea);

}  // namespace translate::target
