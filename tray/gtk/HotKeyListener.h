#pragma once
// Ctrl+C+C and Ctrl+Ins+Ins in any X11 program, from the raw key events of the X input extension
// on the root window: no focus and no grab, so every key still reaches its program.

#include <X11/Xlib.h>
#include <glib.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "tray/RawKeyTracker.h"

namespace tray::gtk {

class HotKeyListener {
public:
    // `doublePress` gets the virtual-key code (tray::kVirtualKeyC or kVirtualKeyInsert) of a
    // double press. `firstKey` (may be empty) gets it earlier, for every press of that key with
    // Ctrl held: a double press may be beginning, or it may be a plain copy.
    explicit HotKeyListener(std::function<void(std::uint32_t)> doublePress,
                            std::function<void(std::uint32_t)> firstKey = {});
    ~HotKeyListener();
    HotKeyListener(const HotKeyListener&) = delete;
    HotKeyListener& operator=(const HotKeyListener&) = delete;

    // Opens a connection of its own to the X display named (null: $DISPLAY) and selects the raw
    // key events. False when there is no X display or no input extension 2.0 on it.
    bool Start(const char* displayName);
    void Stop();
    bool IsListening() const { return m_display != nullptr; }

private:
    struct DisplayClose {
        void operator()(Display* display) const noexcept { XCloseDisplay(display); }
    };

    static gboolean OnReadable(gint fd, GIOCondition condition, gpointer self);
    void ReadEvents();

    std::function<void(std::uint32_t)> m_doublePress;
    std::function<void(std::uint32_t)> m_firstKey;
    std::unique_ptr<Display, DisplayClose> m_display;
    int m_opcode = 0;
    guint m_watch = 0;
    std::optional<RawKeyTracker> m_tracker;
};

}  // namespace tray::gtk
