#pragma once
// A notification area after the freedesktop System Tray Protocol, for tests on a bare X server:
// it owns _NET_SYSTEM_TRAY_S<screen>, docks every icon that asks (XEmbed) into one visible row at
// the top right of the screen, and reports on standard output, one flushed line per change:
//   ready 0x<host window>
//   docked 0x<icon window> <x> <y> <width> <height>    (root coordinates, once the icon is shown)
//   undocked 0x<icon window>                           (hidden, destroyed, or taken elsewhere)
// An icon keeps its place in the row while it is docked, so coordinates once reported stay true.

#include <X11/Xlib.h>

#include <vector>

class TrayHost {
public:
    // Creates the host's window; Start() makes it the screen's tray.
    TrayHost(Display* display, int screen);
    // Hands every icon back to the root window, as XEmbed asks of an embedder that goes away.
    ~TrayHost();
    TrayHost(const TrayHost&) = delete;
    TrayHost& operator=(const TrayHost&) = delete;

    // Shows the window, takes the tray selection and announces it on the root window. False, with
    // the reason on standard error, when another client is the tray already.
    bool Start();

    // False when the host has to end: another client took the selection.
    bool HandleEvent(const XEvent& event);

private:
    struct Icon {
        Window window;
        int slot;
        bool shown;
        // Unmap events with a lower serial answer our own requests, not the icon's doing.
        unsigned long ownRequestsBefore;
    };

    Atom Intern(const char* name) const;
    Time CurrentServerTime();
    void SetTrayProperties();
    void AnnounceManager(Time timestamp);

    void Dock(Window window);
    // Maps or unmaps the icon as its _XEMBED_INFO asks (a missing one means mapped).
    void FollowXEmbedInfo(Icon& icon);
    bool ReadXEmbedInfo(Window window, unsigned long& version, bool& mapped);
    void SendXEmbedMessage(Window window, long message, long detail, long data1, long data2);
    void TellGeometry(const Icon& icon);
    void PassOnConfigureRequest(const XConfigureRequestEvent& request);
    void ReportShown(Icon& icon);
    void ReportHidden(Icon& icon);
    void Forget(Window window);

    Icon* Find(Window window);
    int FreeSlot() const;

    Display* m_display;
    int m_screen;
    Window m_root;
    Window m_window = None;
    int m_width;
    int m_iconSize;
    Atom m_selection;
    Atom m_opcodeAtom;
    Atom m_xembedAtom;
    Atom m_xembedInfoAtom;
    std::vector<Icon> m_icons;
};
