#pragma once
// The double press from the raw key events of X11's input extension: they carry a key code and a
// time but no modifier state, so Ctrl is followed from its own presses and releases. Runs for
// every key of the desktop: no allocation, no waiting.

#include <array>
#include <cstdint>

#include "tray/HotKeyRecognizer.h"

namespace tray {

class RawKeyTracker {
public:
    // Up to four key codes each (0: unused); a keyboard may give a key more than one code.
    using KeyCodes = std::array<std::uint32_t, 4>;
    struct Keys {
        KeyCodes control{};
        KeyCodes c{};
        KeyCodes insert{};
    };

    explicit RawKeyTracker(const Keys& keys) noexcept : m_keys(keys) {}

    // One raw event. Returns the virtual-key code to translate with (kVirtualKeyC or
    // kVirtualKeyInsert) when this release completes a double press, else 0.
    std::uint32_t OnRawKey(std::uint32_t keyCode, bool pressed, std::uint32_t time) noexcept
    {
        const int control = IndexOf(m_keys.control, keyCode);
        if (control >= 0) {
            const unsigned bit = 1u << control;
            m_controlsDown = pressed ? (m_controlsDown | bit) : (m_controlsDown & ~bit);
            return 0;
        }
        const std::uint32_t virtualKey = VirtualKeyOf(keyCode);
        if (virtualKey == 0 || pressed)
            return 0;
        return m_recognizer.OnKeyEvent(kKeyUpMessage, virtualKey, m_controlsDown != 0, time) ? virtualKey : 0;
    }

    // The virtual-key code when the raw event is a press of C or Insert with Ctrl held, the first
    // key of what may become a double press, else 0. Changes nothing: OnRawKey still takes the
    // event.
    std::uint32_t PressWithControl(std::uint32_t keyCode, bool pressed) const noexcept
    {
        return pressed && m_controlsDown != 0 ? VirtualKeyOf(keyCode) : 0;
    }

    // Forgets the held Ctrl keys: events were missed while nobody listened.
    void Reset() noexcept { m_controlsDown = 0; }

private:
    std::uint32_t VirtualKeyOf(std::uint32_t keyCode) const noexcept
    {
        if (IndexOf(m_keys.c, keyCode) >= 0)
            return kVirtualKeyC;
        if (IndexOf(m_keys.insert, keyCode) >= 0)
            return kVirtualKeyInsert;
        return 0;
    }

    static int IndexOf(const KeyCodes& codes, std::uint32_t keyCode) noexcept
    {
        for (std::size_t i = 0; i < codes.size(); ++i) {
            if (codes[i] != 0 && codes[i] == keyCode)
                return static_cast<int>(i);
        }
        return -1;
    }

    Keys m_keys;
    unsigned m_controlsDown = 0;
    HotKeyRecognizer m_recognizer;
};

}  // namespace tray
