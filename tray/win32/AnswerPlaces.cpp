#include "tray/win32/AnswerPlaces.h"

#include <cstdlib>

#include "tray/AnswerSizes.h"

namespace tray::win32 {
namespace {
using translate::target::LogicalSize;

HWND WindowOf(translate::target::Target& target)
{
    return translate::target::EmbeddingWindow(target.GetBrowser());
}

// The restored size, so that a window closed maximised or minimised gives the size it had before.
std::optional<LogicalSize> UserSize(HWND window)
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!window || !::GetWindowPlacement(window, &placement))
        return std::nullopt;
    const RECT& normal = placement.rcNormalPosition;
    return translate::target::ToLogicalSize(normal.right - normal.left, normal.bottom - normal.top,
                                            translate::target::WindowDpi(window));
}

// Rounding to and from pixels may move a side by one unit without the user doing anything.
bool Differ(const LogicalSize& a, const LogicalSize& b)
{
    return std::abs(a.width - b.width) > 1 || std::abs(a.height - b.height) > 1;
}
}  // namespace

void AnswerView::SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height)
{
    if (!m_keepSize)
        m_window.SetBounds(left, top, width, height);
}

bool AnswerPlaces::Open(translate::target::Target& window,
                        const std::u16string& serviceId,
                        const translate::target::MonitorArea& monitor,
                        const Win32::API::RegKey& settings)
{
    const HWND handle = WindowOf(window);
    const std::optional<LogicalSize> remembered = RememberedAnswerSize(settings, serviceId);
    std::optional<LogicalSize> size = remembered;
    if (!size && handle) {
        RECT own{};
        ::GetWindowRect(handle, &own);
        size = translate::target::ToLogicalSize(own.right - own.left, own.bottom - own.top,
                                                translate::target::WindowDpi(handle));
    }
    if (size) {
        const translate::target::ScreenRect placed =
            translate::target::PlaceAnswerWindow(*size, monitor.dpi, monitor.workArea);
        window.SetBounds(placed.left, placed.top, placed.width, placed.height);
    }
    m_open[&window] = OpenWindow{serviceId, UserSize(handle)};
    return remembered.has_value();
}

void AnswerPlaces::Placed(translate::target::Target& window)
{
    const auto found = m_open.find(&window);
    if (found != m_open.end())
        found->second.placed = UserSize(WindowOf(window));
}

void AnswerPlaces::Closing(translate::target::Target& window, Win32::API::RegKey& settings)
{
    const auto found = m_open.find(&window);
    if (found == m_open.end())
        return;
    const OpenWindow closing = std::move(found->second);
    m_open.erase(found);
    const std::optional<LogicalSize> now = UserSize(WindowOf(window));
    if (now && (!closing.placed || Differ(*now, *closing.placed)))
        RememberAnswerSize(settings, closing.serviceId, *now);
}

}  // namespace tray::win32
