#include "tray/gtk/HotKeyListener.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>
#include <glib-unix.h>

#include "foundation/glib/CallbackGuard.h"

namespace tray::gtk {
namespace {
// Every key code that gives the key symbol at the first level of any group, up to four.
RawKeyTracker::KeyCodes KeyCodesOf(Display* display, std::initializer_list<KeySym> symbols)
{
    RawKeyTracker::KeyCodes codes{};
    std::size_t count = 0;
    int first = 0;
    int last = 0;
    XDisplayKeycodes(display, &first, &last);
    for (int code = first; code <= last && count < codes.size(); ++code) {
        for (int group = 0; group < 4 && count < codes.size(); ++group) {
            const KeySym symbol = XkbKeycodeToKeysym(display, static_cast<KeyCode>(code), group, 0);
            bool wanted = false;
            for (const KeySym candidate : symbols)
                wanted = wanted || symbol == candidate;
            if (wanted) {
                codes[count++] = static_cast<std::uint32_t>(code);
                break;
            }
        }
    }
    return codes;
}
}  // namespace

HotKeyListener::HotKeyListener(std::function<void(std::uint32_t)> doublePress,
                               std::function<void(std::uint32_t)> firstKey)
    : m_doublePress(std::move(doublePress)), m_firstKey(std::move(firstKey))
{
}

HotKeyListener::~HotKeyListener()
{
    Stop();
}

bool HotKeyListener::Start(const char* displayName)
{
    if (m_display)
        return true;
    std::unique_ptr<Display, DisplayClose> display(XOpenDisplay(displayName));
    if (!display)
        return false;
    int event = 0;
    int error = 0;
    int major = 2;
    int minor = 0;
    if (!XQueryExtension(display.get(), "XInputExtension", &m_opcode, &event, &error) ||
        XIQueryVersion(display.get(), &major, &minor) != Success)
        return false;

    unsigned char mask[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(mask, XI_RawKeyPress);
    XISetMask(mask, XI_RawKeyRelease);
    XIEventMask events{XIAllMasterDevices, static_cast<int>(sizeof mask), mask};
    XISelectEvents(display.get(), DefaultRootWindow(display.get()), &events, 1);
    XFlush(display.get());

    RawKeyTracker::Keys keys;
    keys.control = KeyCodesOf(display.get(), {XK_Control_L, XK_Control_R});
    keys.c = KeyCodesOf(display.get(), {XK_c, XK_C});
    keys.insert = KeyCodesOf(display.get(), {XK_Insert, XK_KP_Insert});
    m_tracker.emplace(keys);

    m_watch = g_unix_fd_add(ConnectionNumber(display.get()), G_IO_IN, &HotKeyListener::OnReadable, this);
    m_display = std::move(display);
    return true;
}

void HotKeyListener::Stop()
{
    if (m_watch)
        g_source_remove(m_watch);
    m_watch = 0;
    m_display.reset();
    m_tracker.reset();
}

gboolean HotKeyListener::OnReadable(gint, GIOCondition condition, gpointer self)
{
    auto* listener = static_cast<HotKeyListener*>(self);
    if (condition & (G_IO_HUP | G_IO_ERR)) {
        // The display went away; a watch left on a dead connection would fire forever.
        listener->m_watch = 0;
        listener->Stop();
        return G_SOURCE_REMOVE;
    }
    // A failed handler loses one double press; the keys after it still count.
    return glib::GuardCallback(
        "the hot keys",
        [listener] {
            listener->ReadEvents();
            return G_SOURCE_CONTINUE;
        },
        G_SOURCE_CONTINUE);
}

void HotKeyListener::ReadEvents()
{
    Display* display = m_display.get();
    std::uint32_t begun = 0;
    std::uint32_t translate = 0;
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        XGenericEventCookie* cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != m_opcode || !XGetEventData(display, cookie))
            continue;
        if (cookie->evtype == XI_RawKeyPress || cookie->evtype == XI_RawKeyRelease) {
            const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
            const auto keyCode = static_cast<std::uint32_t>(raw->detail);
            const bool pressed = cookie->evtype == XI_RawKeyPress;
            if (const std::uint32_t first = m_tracker->PressWithControl(keyCode, pressed))
                begun = first;
            const std::uint32_t key = m_tracker->OnRawKey(keyCode, pressed, static_cast<std::uint32_t>(raw->time));
            if (key != 0)
                translate = key;
        }
        XFreeEventData(display, cookie);
    }
    // Told after the batch is read: a handler may stop this listener. The first key is told before
    // a double press that the same batch completed.
    if (begun != 0 && m_firstKey)
        m_firstKey(begun);
    if (translate != 0 && m_display)
        m_doublePress(translate);
}

}  // namespace tray::gtk
