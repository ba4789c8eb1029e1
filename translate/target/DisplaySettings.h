#pragma once
// How a service wants its answer shown, handed to the display procedure with every request.

#include <cstdint>
#include <string>

#include "translate/target/ClassId.h"

namespace translate::target {

struct DisplaySettings {
    std::u16string displayType;  // "popup", "tab" or "dialog"
    std::int32_t width = 0;      // 96-DPI units, scaled to the monitor; 0 or less: not set
    std::int32_t height = 0;
    ClassId dialogClsid;  // the dialog class, for "dialog" only
};

struct Bounds {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// A window of the given size centred on a screen of the given size (divisions truncate).
inline std::int32_t CentredStart(std::int32_t screenSize, std::int32_t windowSize)
{
    return screenSize / 2 - windowSize / 2;
}

}  // namespace translate::target
