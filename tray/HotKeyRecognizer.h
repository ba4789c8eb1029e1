#pragma once
// Recognises Ctrl+C+C and Ctrl+Ins+Ins from the keyboard hook's events. It runs for every key
// event of the desktop, so it allocates nothing, touches nothing but its own counter and never
// waits.

#include <cstdint>

namespace tray {

constexpr std::uint32_t kKeyUpMessage = 0x0101;  // WM_KEYUP
constexpr std::uint32_t kVirtualKeyInsert = 0x2D;
constexpr std::uint32_t kVirtualKeyC = 0x43;
constexpr std::uint32_t kDoublePressMilliseconds = 1000;

class HotKeyRecognizer {
public:
    // One keyboard event: its message, virtual-key code, whether Ctrl is held and its time stamp
    // (milliseconds since system start, wrapping). True when the main dialog must be told.
    bool OnKeyEvent(std::uint32_t message, std::uint32_t virtualKey, bool ctrlDown, std::uint32_t time) noexcept
    {
        if (message != kKeyUpMessage || (virtualKey != kVirtualKeyInsert && virtualKey != kVirtualKeyC) || !ctrlDown)
            return false;
        // Unsigned difference: the rule holds across the wrap of the time stamps.
        if (static_cast<std::uint32_t>(time - m_lastFirstPress) > kDoublePressMilliseconds) {
            m_lastFirstPress = time;
            return false;
        }
        return true;
    }

private:
    std::uint32_t m_lastFirstPress = 0;
};

}  // namespace tray
