#include "translate/target/AnswerPlacement.h"

#include <algorithm>

#include "translate/target/DisplaySettings.h"

namespace translate::target {
namespace {
constexpr std::int64_t kBaseDpi = 96;

std::int64_t EffectiveDpi(std::uint32_t dpi)
{
    return dpi == 0 ? kBaseDpi : static_cast<std::int64_t>(dpi);
}

// value * numerator / denominator rounded half away from zero, without overflow on the way.
std::int32_t Rescale(std::int32_t value, std::int64_t numerator, std::int64_t denominator)
{
    const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
    const std::int64_t half = denominator / 2;
    const std::int64_t result = product >= 0 ? (product + half) / denominator : (product - half) / denominator;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(result, INT32_MIN, INT32_MAX));
}

// One side: scaled, at least one pixel, at most the work area's side (itself at least one pixel).
std::int32_t FitSide(std::int32_t logical, std::uint32_t dpi, std::int32_t available)
{
    const std::int32_t scaled = std::max(ScaleToDpi(logical, dpi), 1);
    return std::min(scaled, std::max(available, 1));
}
}  // namespace

std::int32_t ScaleToDpi(std::int32_t logical, std::uint32_t dpi)
{
    return Rescale(logical, EffectiveDpi(dpi), kBaseDpi);
}

LogicalSize ToLogicalSize(std::int32_t width, std::int32_t height, std::uint32_t dpi)
{
    return {Rescale(width, kBaseDpi, EffectiveDpi(dpi)), Rescale(height, kBaseDpi, EffectiveDpi(dpi))};
}

ScreenRect PlaceAnswerWindow(LogicalSize size, std::uint32_t dpi, ScreenRect workArea)
{
    const std::int32_t width = FitSide(size.width, dpi, workArea.width);
    const std::int32_t height = FitSide(size.height, dpi, workArea.height);
    // A side no larger than the area's starts at or after its start and ends at or before its end.
    return {workArea.left + std::max(CentredStart(workArea.width, width), 0),
            workArea.top + std::max(CentredStart(workArea.height, height), 0), width, height};
}

}  // namespace translate::target
