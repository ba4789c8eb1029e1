#include "TrayHost.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "XErrorTrap.h"

namespace {

// A row at the top right of the screen, as a panel's notification area would be.
constexpr int kPreferredWidth = 240;
constexpr int kHeight = 32;

// System Tray Protocol
constexpr long kRequestDock = 0;
constexpr long kOrientationHorizontal = 0;

// XEmbed
constexpr long kXEmbedEmbeddedNotify = 0;
constexpr unsigned long kXEmbedMapped = 1 << 0;
constexpr unsigned long kXEmbedVersion = 0;

struct XFreeDeleter {
    void operator()(unsigned char* data) const { XFree(data); }
};
using XData = std::unique_ptr<unsigned char, XFreeDeleter>;

// Tests read the lines as they come, so each one is flushed at once.
void Report(const std::string& line)
{
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::string Hex(unsigned long window)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", window);
    return text;
}

}  // namespace

TrayHost::TrayHost(Display* display, int screen)
    : m_display(display),
      m_screen(screen),
      m_root(RootWindow(display, screen)),
      m_width(std::min(kPreferredWidth, DisplayWidth(display, screen))),
      m_iconSize(kHeight),
      m_selection(Intern(("_NET_SYSTEM_TRAY_S" + std::to_string(screen)).c_str())),
      m_opcodeAtom(Intern("_NET_SYSTEM_TRAY_OPCODE")),
      m_xembedAtom(Intern("_XEMBED")),
      m_xembedInfoAtom(Intern("_XEMBED_INFO"))
{
    // A plain background, so that a screenshot tells an icon that drew itself from an empty place.
    XColor grey{};
    unsigned long background = WhitePixel(display, screen);
    if (XParseColor(display, DefaultColormap(display, screen), "grey60", &grey) &&
        XAllocColor(display, DefaultColormap(display, screen), &grey))
        background = grey.pixel;
    m_window = XCreateSimpleWindow(display, m_root, DisplayWidth(display, screen) - m_width, 0, m_width, kHeight, 0, 0,
                                   background);
    // Redirecting the icons' own map and configure requests keeps their size and place the host's
    // to decide, as an XEmbed embedder does; toolkits resize their plugs to their natural size.
    XSelectInput(display, m_window, PropertyChangeMask | StructureNotifyMask | SubstructureRedirectMask);
    XStoreName(display, m_window, "Vocabra test tray");
    XClassHint classHint{const_cast<char*>("vocabra_test_tray_host"), const_cast<char*>("VocabraTestTrayHost")};
    XSetClassHint(display, m_window, &classHint);
}

TrayHost::~TrayHost()
{
    XErrorTrap trap(m_display);
    for (const Icon& icon : m_icons) {
        XSelectInput(m_display, icon.window, NoEventMask);
        XUnmapWindow(m_display, icon.window);
        XReparentWindow(m_display, icon.window, m_root, 0, 0);
    }
    XDestroyWindow(m_display, m_window);
    trap.Failed();  // an icon that went away meanwhile needs nothing more
}

Atom TrayHost::Intern(const char* name) const
{
    return XInternAtom(m_display, name, False);
}

// The server's time, needed to take a selection correctly: the time stamp of a property change.
Time TrayHost::CurrentServerTime()
{
    const Atom stamp = Intern("_VOCABRA_TEST_TRAY_TIMESTAMP");
    XChangeProperty(m_display, m_window, stamp, XA_INTEGER, 32, PropModeAppend, nullptr, 0);
    XEvent event;
    do {
        XWindowEvent(m_display, m_window, PropertyChangeMask, &event);
    } while (event.xproperty.atom != stamp);
    return event.xproperty.time;
}

void TrayHost::SetTrayProperties()
{
    const long orientation = kOrientationHorizontal;
    XChangeProperty(m_display, m_window, Intern("_NET_SYSTEM_TRAY_ORIENTATION"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&orientation), 1);
    // Icons draw in the host's own visual: the screen's default.
    const long visual = static_cast<long>(XVisualIDFromVisual(DefaultVisual(m_display, m_screen)));
    XChangeProperty(m_display, m_window, Intern("_NET_SYSTEM_TRAY_VISUAL"), XA_VISUALID, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&visual), 1);
}

void TrayHost::AnnounceManager(Time timestamp)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = m_root;
    event.xclient.message_type = Intern("MANAGER");
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(timestamp);
    event.xclient.data.l[1] = static_cast<long>(m_selection);
    event.xclient.data.l[2] = static_cast<long>(m_window);
    XSendEvent(m_display, m_root, False, StructureNotifyMask, &event);
}

bool TrayHost::Start()
{
    if (XGetSelectionOwner(m_display, m_selection) != None) {
        std::fprintf(stderr, "tray host: another client owns the system tray of screen %d\n", m_screen);
        return false;
    }
    SetTrayProperties();
    XMapRaised(m_display, m_window);
    const Time timestamp = CurrentServerTime();
    XSetSelectionOwner(m_display, m_selection, m_window, timestamp);
    if (XGetSelectionOwner(m_display, m_selection) != m_window) {
        std::fprintf(stderr, "tray host: could not take the system tray selection of screen %d\n", m_screen);
        return false;
    }
    AnnounceManager(timestamp);
    XSync(m_display, False);
    Report("ready " + Hex(m_window));
    return true;
}

bool TrayHost::HandleEvent(const XEvent& event)
{
    switch (event.type) {
        case ClientMessage:
            if (event.xclient.window == m_window && event.xclient.message_type == m_opcodeAtom &&
                event.xclient.format == 32 && event.xclient.data.l[1] == kRequestDock)
                Dock(static_cast<Window>(event.xclient.data.l[2]));
            break;
        case PropertyNotify:
            if (event.xproperty.atom == m_xembedInfoAtom) {
                if (Icon* icon = Find(event.xproperty.window))
                    FollowXEmbedInfo(*icon);
            }
            break;
        case UnmapNotify:
            if (Icon* icon = Find(event.xunmap.window)) {
                if (icon->shown && event.xunmap.serial >= icon->ownRequestsBefore)
                    ReportHidden(*icon);
            }
            break;
        case ConfigureRequest:
            if (Icon* icon = Find(event.xconfigurerequest.window))
                TellGeometry(*icon);
            else
                PassOnConfigureRequest(event.xconfigurerequest);
            break;
        case MapRequest:
            if (Icon* icon = Find(event.xmaprequest.window))
                FollowXEmbedInfo(*icon);
            else
                XMapWindow(m_display, event.xmaprequest.window);
            break;
        case ReparentNotify:
            // Our own reparenting goes to the host window; anything else takes the icon away.
            if (event.xreparent.parent != m_window)
                Forget(event.xreparent.window);
            break;
        case DestroyNotify:
            Forget(event.xdestroywindow.window);
            break;
        case SelectionClear:
            if (event.xselectionclear.selection == m_selection) {
                std::fprintf(stderr, "tray host: another client took the system tray selection\n");
                return false;
            }
            break;
        default:
            break;
    }
    return true;
}

void TrayHost::Dock(Window window)
{
    // The root and the host itself cannot be reparented into the host.
    if (window == None || window == m_root || window == m_window || Find(window))
        return;
    const int slot = FreeSlot();
    if (slot < 0) {
        std::fprintf(stderr, "tray host: no room for icon 0x%lx\n", window);
        return;
    }
    unsigned long version = kXEmbedVersion;
    bool mapped = true;
    if (!ReadXEmbedInfo(window, version, mapped))
        return;
    XErrorTrap trap(m_display);
    // Events first, so that nothing the icon does from here on goes unseen.
    XSelectInput(m_display, window, StructureNotifyMask | PropertyChangeMask);
    // Should the host die, the server hands the icon back to the root window instead of destroying it.
    XAddToSaveSet(m_display, window);
    // Reparenting maps a mapped window again; whether it shows is _XEMBED_INFO's to say.
    XUnmapWindow(m_display, window);
    XReparentWindow(m_display, window, m_window, slot * m_iconSize, 0);
    XResizeWindow(m_display, window, m_iconSize, m_iconSize);
    const unsigned long ownRequestsBefore = NextRequest(m_display);
    SendXEmbedMessage(window, kXEmbedEmbeddedNotify, 0, static_cast<long>(m_window),
                      static_cast<long>(std::min(version, kXEmbedVersion)));
    if (trap.Failed())
        return;  // gone before it could be docked
    m_icons.push_back(Icon{window, slot, false, ownRequestsBefore});
    FollowXEmbedInfo(m_icons.back());
}

bool TrayHost::ReadXEmbedInfo(Window window, unsigned long& version, bool& mapped)
{
    XErrorTrap trap(m_display);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* raw = nullptr;
    const int status = XGetWindowProperty(m_display, window, m_xembedInfoAtom, 0, 2, False, AnyPropertyType, &type,
                                          &format, &count, &remaining, &raw);
    XData data(raw);
    if (status != Success || trap.Failed())
        return false;
    if (type == None || format != 32 || count < 2) {
        // An icon that does not speak XEmbed's mapping protocol is shown as it is.
        version = kXEmbedVersion;
        mapped = true;
        return true;
    }
    const auto* info = reinterpret_cast<const unsigned long*>(data.get());
    version = info[0];
    mapped = (info[1] & kXEmbedMapped) != 0;
    return true;
}

void TrayHost::FollowXEmbedInfo(Icon& icon)
{
    unsigned long version = 0;
    bool mapped = false;
    if (!ReadXEmbedInfo(icon.window, version, mapped)) {
        Forget(icon.window);
        return;
    }
    if (mapped && !icon.shown) {
        XMapRaised(m_display, icon.window);
        // Reported once the server has mapped it (or found it gone): a test may click it at once.
        ReportShown(icon);
    } else if (!mapped && icon.shown) {
        XUnmapWindow(m_display, icon.window);
        icon.ownRequestsBefore = NextRequest(m_display);
        ReportHidden(icon);
    }
}

void TrayHost::SendXEmbedMessage(Window window, long message, long detail, long data1, long data2)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = m_xembedAtom;
    event.xclient.format = 32;
    event.xclient.data.l[0] = CurrentTime;
    event.xclient.data.l[1] = message;
    event.xclient.data.l[2] = detail;
    event.xclient.data.l[3] = data1;
    event.xclient.data.l[4] = data2;
    XSendEvent(m_display, window, False, NoEventMask, &event);
}

// The answer to an icon's wish to move or resize: a synthetic ConfigureNotify with the geometry it
// keeps (in root coordinates, as ICCCM asks of synthetic ones).
void TrayHost::TellGeometry(const Icon& icon)
{
    int x = 0;
    int y = 0;
    Window child = None;
    XErrorTrap trap(m_display);
    XTranslateCoordinates(m_display, m_window, m_root, icon.slot * m_iconSize, 0, &x, &y, &child);
    XEvent event{};
    event.xconfigure.type = ConfigureNotify;
    event.xconfigure.event = icon.window;
    event.xconfigure.window = icon.window;
    event.xconfigure.x = x;
    event.xconfigure.y = y;
    event.xconfigure.width = m_iconSize;
    event.xconfigure.height = m_iconSize;
    XSendEvent(m_display, icon.window, False, StructureNotifyMask, &event);
    trap.Failed();  // an icon gone meanwhile will be forgotten on its DestroyNotify
}

// A child that is no icon (one that got here between two events) configures itself as it likes.
void TrayHost::PassOnConfigureRequest(const XConfigureRequestEvent& request)
{
    XWindowChanges changes{};
    changes.x = request.x;
    changes.y = request.y;
    changes.width = request.width;
    changes.height = request.height;
    changes.border_width = request.border_width;
    changes.sibling = request.above;
    changes.stack_mode = request.detail;
    XErrorTrap trap(m_display);
    XConfigureWindow(m_display, request.window, static_cast<unsigned>(request.value_mask), &changes);
    trap.Failed();
}

// Reports where the server has the icon now, not where the host asked it to go.
void TrayHost::ReportShown(Icon& icon)
{
    XErrorTrap trap(m_display);
    Window root = None;
    Window child = None;
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
    unsigned border = 0;
    unsigned depth = 0;
    XGetGeometry(m_display, icon.window, &root, &x, &y, &width, &height, &border, &depth);
    XTranslateCoordinates(m_display, icon.window, m_root, 0, 0, &x, &y, &child);
    if (trap.Failed()) {
        Forget(icon.window);
        return;
    }
    icon.shown = true;
    Report("docked " + Hex(icon.window) + " " + std::to_string(x) + " " + std::to_string(y) + " " +
           std::to_string(width) + " " + std::to_string(height));
}

void TrayHost::ReportHidden(Icon& icon)
{
    icon.shown = false;
    Report("undocked " + Hex(icon.window));
}

void TrayHost::Forget(Window window)
{
    const auto found =
        std::find_if(m_icons.begin(), m_icons.end(), [window](const Icon& icon) { return icon.window == window; });
    if (found == m_icons.end())
        return;
    if (found->shown)
        ReportHidden(*found);
    XErrorTrap trap(m_display);
    XSelectInput(m_display, window, NoEventMask);
    XRemoveFromSaveSet(m_display, window);
    trap.Failed();  // a destroyed window has no events and no save-set entry left to remove
    m_icons.erase(found);
}

TrayHost::Icon* TrayHost::Find(Window window)
{
    for (Icon& icon : m_icons) {
        if (icon.window == window)
            return &icon;
    }
    return nullptr;
}

int TrayHost::FreeSlot() const
{
    const int slots = m_width / m_iconSize;
    for (int slot = 0; slot < slots; ++slot) {
        const bool taken =
            std::any_of(m_icons.begin(), m_icons.end(), [slot](const Icon& icon) { return icon.slot == slot; });
        if (!taken)
            return slot;
    }
    return -1;
}
