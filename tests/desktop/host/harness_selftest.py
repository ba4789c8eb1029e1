#!/usr/bin/python3
"""Checks the desktop test harness (the tray host and desktop_session.py) against a small GTK 3
program with the parts vocabra-tray has: a GtkStatusIcon with a popup menu, and a window.

usage: harness_selftest.py --host <vocabra_test_tray_host> --work <folder>
       (run as `tools/with-display dbus-run-session -- /usr/bin/python3 harness_selftest.py ...`)

The same file is that GTK program when started with --stand-in: it reports on standard output
what reached it (docking, menu, keys, clipboard text, the close request), so that each check
compares what the harness claims with what a real GTK client saw.
"""

import argparse
import ctypes
import os
import sys
import time
import urllib.parse
import urllib.request

sys.dont_write_bytecode = True  # nothing written into the source tree

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir, "e2e"))
from checks import check, run_or_exit  # noqa: E402

WINDOW_TITLE = "Harness stand-in"
COPIED_TEXT = "словарь \"Vocabra\" \\ 100%"


def run_stand_in():
    import gi
    gi.require_version("Gdk", "3.0")
    gi.require_version("Gtk", "3.0")
    from gi.repository import Gdk, GdkPixbuf, Gtk

    def report(*words):
        print(*words, flush=True)

    # An icon of two colours drawn here, so that no icon theme is needed.
    pixbuf = GdkPixbuf.Pixbuf.new(GdkPixbuf.Colorspace.RGB, True, 8, 32, 32)
    pixbuf.fill(0x2060c0ff)
    pixbuf.new_subpixbuf(8, 8, 16, 16).fill(0xf0c020ff)
    icon = Gtk.StatusIcon.new_from_pixbuf(pixbuf)
    icon.connect("notify::embedded", lambda *_: report("embedded", icon.is_embedded()))
    icon.connect("activate", lambda *_: report("activate"))

    menu = Gtk.Menu()
    for label in ("Translate", "Settings", "Exit"):
        menu.append(Gtk.MenuItem.new_with_label(label))
    menu.show_all()
    menu.connect("hide", lambda *_: report("menu hidden"))

    def popup(status_icon, button, activate_time):
        report("popup-menu", button)
        menu.popup(None, None, Gtk.StatusIcon.position_menu, status_icon, button, activate_time)
    icon.connect("popup-menu", popup)

    # A bare XEmbed plug, which unlike the status icon keeps its window when hidden and shows
    # again through _XEMBED_INFO alone; the test docks it itself.
    plug = Gtk.Plug.new(0)
    plug.add(Gtk.Image.new_from_pixbuf(pixbuf))

    window = Gtk.Window(title=WINDOW_TITLE)
    window.set_default_size(300, 120)
    window.add(Gtk.Label(label="stand-in"))

    def key(widget, event):
        control = bool(event.state & Gdk.ModifierType.CONTROL_MASK)
        pressed = event.type == Gdk.EventType.KEY_PRESS
        # CLOCK_MONOTONIC is the machine's, so the test can compare its own readings with these.
        report("key", "press" if pressed else "release", Gdk.keyval_name(event.keyval), "ctrl" if control else "-",
               "at %.6f" % time.monotonic())
        if pressed and event.keyval == Gdk.KEY_F5:
            clipboard = Gtk.Clipboard.get(Gdk.SELECTION_CLIPBOARD)
            clipboard.request_text(lambda _, text: report("clipboard:" + (text if text is not None else "<none>")))
        elif pressed and event.keyval == Gdk.KEY_F6:
            icon.set_visible(not icon.get_visible())
        elif pressed and event.keyval == Gdk.KEY_F7:
            plug.show_all()
            report("plug 0x%x" % plug.get_id())
        elif pressed and event.keyval == Gdk.KEY_F8:
            plug.set_visible(not plug.get_visible())
        return False
    window.connect("key-press-event", key)
    window.connect("key-release-event", key)

    def delete(*_):
        report("delete-event")
        Gtk.main_quit()
        return False
    window.connect("delete-event", delete)
    window.show_all()
    report("ready")
    Gtk.main()


# ---------------------------------------------------------------------------------------------

def inside(inner, outer):
    x, y, w, h = inner
    ox, oy, ow, oh = outer
    return ox <= x and oy <= y and x + w <= ox + ow and y + h <= oy + oh


def check_tray_and_menu(session, tray, stand_in, work):
    icon, x, y, w, h = tray.wait_docked(30)
    host = session.window_geometry(tray.window)
    check(w == h and w > 0, "the icon is docked as a square (%dx%d)" % (w, h))
    check(inside((x, y, w, h), host), "the docked icon %s lies inside the tray %s" % ((x, y, w, h), host))
    check(session.window_geometry(icon) == (x, y, w, h), "the server has the icon where the host reported it")
    check(session.is_visible(icon), "the docked icon is viewable")
    stand_in.wait_output(r"^embedded True$", 10)
    check(True, "GTK knows its icon is embedded")
    check(tray.icons() == {icon: (x, y, w, h)}, "the host lists the one docked icon")

    shot = session.screenshot(os.path.join(work, "tray.png"))
    check(not session.is_flat(shot, (x, y, w, h)), "the icon drew itself in the tray")
    check(session.is_flat(shot, (host[0] + host[2] - w, host[1], w, h)), "the tray's empty end is one flat colour")

    before = session.toplevel_windows()
    session.click(x + w // 2, y + h // 2, 3)
    popup = session.wait_new_popup(before, 10, pid=stand_in.pid)
    stand_in.wait_output(r"^popup-menu 3$", 10)
    check(session.is_override_redirect(popup), "a right click on the icon pops up the menu 0x%x" % popup)
    menu_shot = session.screenshot(os.path.join(work, "menu.png"), window=popup)
    check(not session.is_flat(menu_shot), "the menu drew its items")
    session.send_keys("Escape")
    session.wait_window_gone(popup, 10)
    stand_in.wait_output(r"^menu hidden$", 10)
    check(True, "Escape closes the menu")

    session.click(x + w // 2, y + h // 2, 1)
    stand_in.wait_output(r"^activate$", 10)
    check(True, "a left click on the icon activates it")
    return icon, (x, y, w, h)


def key_events(output, start):
    """[(event, time)] of the key lines written after `start`, e.g. ("key press c ctrl", 12.5)."""
    events = []
    for line in output[start:].splitlines():
        if line.startswith("key "):
            event, at = line.split(" at ")
            events.append((event, float(at)))
    return events


def check_keys_and_clipboard(session, tray, stand_in, icon, place):
    window = session.wait_window(10, name="^%s$" % WINDOW_TITLE, pid=stand_in.pid, visible=True)
    check(session.window_title(window) == WINDOW_TITLE, "the stand-in's window is found by title and pid")
    for key, name in (("c", "c"), ("Insert", "Insert")):
        start = len(stand_in.output())
        released = session.press_double(key, window)
        expected = ["key press Control_L -", "key press %s ctrl" % name, "key release %s ctrl" % name,
                    "key press %s ctrl" % name, "key release %s ctrl" % name, "key release Control_L ctrl"]
        session.wait_until(lambda: len(key_events(stand_in.output(), start)) >= len(expected), 10,
                           "the stand-in saw Ctrl+%s+%s" % (key, key))
        seen = key_events(stand_in.output(), start)
        check([event for event, _ in seen] == expected, "Ctrl+%s+%s arrives as %s" % (key, key, expected))
        # Ctrl's release is sent after the time is taken, so it cannot arrive before it.
        check(seen[-1][1] >= released, "press_double's time is taken before Ctrl is released")

    with session.own_clipboard(COPIED_TEXT, requests=1) as owner:
        check(session.read_clipboard() == COPIED_TEXT, "the clipboard serves the text")
        owner.wait_released(10)
        check(session.read_clipboard() is None, "and stops after the one request asked for")
    with session.own_clipboard(COPIED_TEXT, requests=1) as owner:
        session.send_keys("F5", window)
        stand_in.wait_output(r"^clipboard:", 10)
        check("clipboard:" + COPIED_TEXT in stand_in.output().splitlines(),
              "a GTK client reads the Cyrillic clipboard text intact")
        owner.wait_released(10)
        check(not owner.owning(), "the one request asked for was the GTK client's")

    session.send_keys("F6", window)
    tray.wait_undocked(icon, 10)
    check(tray.icons() == {}, "a hidden status icon is undocked")
    session.send_keys("F6", window)
    # GTK makes a new plug window for an icon shown again; it takes the place that became free.
    icon, *again = tray.wait_docked(10)
    check(tuple(again) == place, "shown again, it docks at the same place (%s, was %s)" % (tuple(again), place))
    return window, icon


def check_plug(session, tray, stand_in, window, place):
    """Docking side by side, and mapping that follows _XEMBED_INFO on a plug that stays."""
    session.send_keys("F7", window)
    plug = int(stand_in.wait_output(r"^plug (0x[0-9a-f]+)$", 10).group(1), 16)
    session.send_client_message(tray.window, "_NET_SYSTEM_TRAY_OPCODE", [0, 0, plug])  # REQUEST_DOCK
    docked = tray.wait_docked(10)
    x, y, w, h = place
    check(docked == (plug, x + w, y, w, h), "a second icon docks beside the first (%s)" % (docked[1:],))
    session.send_keys("F8", window)
    tray.wait_undocked(plug, 10)
    check(not session.is_visible(plug), "a plug that hides is undocked and unmapped")
    session.send_keys("F8", window)
    check(tray.wait_docked(10) == docked, "shown again (_XEMBED_INFO), it docks at its place")
    check(session.is_visible(plug), "and the host maps it")
    return plug


def send_bad_dock_request(session, tray):
    """A dock request for a window that does not exist. The host handles events in order, so once
    a later icon has docked, the host has survived this one."""
    session.send_client_message(tray.window, "_NET_SYSTEM_TRAY_OPCODE", [0, 0, 0x7ffffff0])  # REQUEST_DOCK


class BareIcons:
    """Plain X windows with _XEMBED_INFO, docked by the test itself: icons that can be destroyed,
    unmapped or taken away at will, through the session module's own libX11 connection."""

    def __init__(self, session, tray):
        self.session = session
        self.tray = tray
        self.x = session._X().__enter__()
        lib, ulong, ptr = self.x.lib, ctypes.c_ulong, ctypes.c_void_p
        lib.XCreateSimpleWindow.restype = ulong
        lib.XCreateSimpleWindow.argtypes = [ptr, ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                                            ctypes.c_uint, ulong, ulong]
        lib.XChangeProperty.argtypes = [ptr, ulong, ulong, ulong, ctypes.c_int, ctypes.c_int, ptr, ctypes.c_int]
        for name in ("XDestroyWindow", "XUnmapWindow"):
            getattr(lib, name).argtypes = [ptr, ulong]
        lib.XReparentWindow.argtypes = [ptr, ulong, ulong, ctypes.c_int, ctypes.c_int]

    def close(self):
        self.x.__exit__()

    def dock(self):
        lib, info = self.x.lib, self.x.atom("_XEMBED_INFO")
        window = lib.XCreateSimpleWindow(self.x.display, self.x.root(), 0, 0, 10, 10, 0, 0, 0)
        lib.XChangeProperty(self.x.display, window, info, info, 32, 0, (ctypes.c_long * 2)(0, 1), 2)  # mapped
        lib.XSync(self.x.display, 0)
        self.session.send_client_message(self.tray.window, "_NET_SYSTEM_TRAY_OPCODE", [0, 0, window])
        return window

    def do(self, request, window, *args):
        getattr(self.x.lib, request)(self.x.display, window, *args)
        self.x.lib.XSync(self.x.display, 0)


def check_many_icons(session, tray):
    host = session.window_geometry(tray.window)
    icons = BareIcons(session, tray)
    try:
        windows = [icons.dock() for _ in range(host[2] // host[3] + 1)]
        docked = sorted((tray.wait_docked(10) for _ in windows[:-1]), key=lambda icon: icon[1])
        check([icon[0] for icon in docked] == windows[:-1] and
              all(icon[1:] == (host[0] + i * host[3], host[1], host[3], host[3]) for i, icon in enumerate(docked)),
              "%d icons fill the tray side by side" % len(docked))
        icons.do("XReparentWindow", windows[0], icons.x.root(), 0, 0)
        tray.wait_undocked(windows[0], 10)
        check(True, "an icon reparented elsewhere is undocked")
        # The host handles events in order: the last dock request came before that reparenting.
        check(windows[-1] not in tray.icons(), "an icon without room stays outside")
        icons.do("XUnmapWindow", windows[1])
        tray.wait_undocked(windows[1], 10)
        check(True, "an icon unmapped by its client is undocked")
        for window in windows:
            icons.do("XDestroyWindow", window)
        for window in windows[2:-1]:
            tray.wait_undocked(window, 10)
        check(tray.icons() == {} and tray.running(), "destroyed icons are undocked")
    finally:
        icons.close()


def check_processes(session):
    used = session.cpu_time(os.getpid())
    times = os.times()
    check(abs(used - (times.user + times.system)) < 0.1, "cpu_time agrees with the kernel's times() (%.2f s)" % used)
    while os.times().user + os.times().system < times.user + times.system + 0.3:
        pass
    check(session.cpu_time(os.getpid()) >= used + 0.25, "cpu_time counts 0.3 s of computing")

    before = session.resident_memory(os.getpid())
    block = bytearray(64 * 1024 * 1024)
    for offset in range(0, len(block), 4096):
        block[offset] = 1
    grown = session.resident_memory(os.getpid()) - before
    check(grown >= 60 * 1024 * 1024, "resident_memory sees 64 MiB touched (grew by %d MiB)" % (grown // 2**20))
    del block


def check_settings(session, work):
    path = os.path.join(work, "settings", "registry.reg")
    other = "HKEY_CURRENT_USER\\Software\\Other"
    values = {
        "Word": (session.REG_SZ, "слово \"в кавычках\" C:\\path"),
        "Count": (session.REG_DWORD, 0xfffffffe),
        "Blob": (session.REG_BINARY, bytes(range(60))),
        "List": (session.REG_MULTI_SZ, ["a", "б"]),
        "": (session.REG_SZ, "default"),
    }
    session.write_settings(path, {"Keep": "me"}, key=other)
    session.write_settings(path, values)
    check(session.read_settings(path) == values, "settings read back as written")
    check(session.read_settings(path, key=other) == {"Keep": (session.REG_SZ, "me")},
          "writing the program's key keeps other keys")
    session.write_settings(path, {"Plain": "text", "Number": 7})
    check(session.read_settings(path) == {"Plain": (session.REG_SZ, "text"), "Number": (session.REG_DWORD, 7)},
          "plain str and int values become REG_SZ and REG_DWORD, replacing the key's old values")

    # As the program's own writer lays a store out: hex lists continued on indented lines, names
    # spelled in other cases, a repeated section merging into the first.
    sample = os.path.join(work, "settings", "sample.reg")
    with open(sample, "w", encoding="utf-8") as out:
        out.write("\ufeffWindows Registry Editor Version 5.00\n\n; comment\n"
                  "[hkey_current_user\\software\\microsoft\\internet explorer\\lowregistry\\corvane\\vocabra]\n"
                  "\"Direction\"=\"en-ru\"\n"
                  "\"Data\"=hex(3):00,01,\\\n  02,03\n"
                  "\"Big\"=hex(b):01,00,00,00,00,00,00,00\n\n"
                  "[%s]\n\"direction\"=\"ru-en\"\n\"Flag\"=dword:0000000A\n" % session.SETTINGS_KEY)
    check(session.read_settings(sample) == {"Direction": (session.REG_SZ, "ru-en"),
                                            "Data": (session.REG_BINARY, b"\x00\x01\x02\x03"),
                                            "Big": (session.REG_QWORD, 1), "Flag": (session.REG_DWORD, 10)},
          "a store in the program's layout reads as the program reads it")


def check_fake_dictionary(session):
    with session.FakeDictionary(title=lambda request: "слово: " + request.query["word"][0]) as dictionary:
        address = "http://127.0.0.1:%d/translate?word=%s" % (dictionary.port, urllib.parse.quote("кот"))
        page = urllib.request.urlopen(address, timeout=10).read().decode("utf-8")
        check("<title>слово: кот</title>" in page, "the fake dictionary titles its page after the request")
        check(dictionary.wait_for(lambda request: request.path == "/translate", 5) is not None,
              "and records the request")


def run_checks(options):
    import desktop_session as session
    session.check_environment()
    work = os.path.abspath(options.work)
    os.makedirs(work, exist_ok=True)
    check(not session.bus_name_has_owner("org.kde.StatusNotifierWatcher"),
          "the private session bus has no StatusNotifier watcher, so icons dock in the XEmbed tray")
    check_processes(session)
    check_settings(session, work)
    check_fake_dictionary(session)

    with session.TrayHost(options.host) as tray:
        check(session.is_visible(tray.window), "the tray host shows its window")
        send_bad_dock_request(session, tray)
        check_many_icons(session, tray)
        stand_in = session.start_program(["/usr/bin/python3", os.path.abspath(__file__), "--stand-in"],
                                         os.path.join(work, "stand-in.log"), env={"PYTHONIOENCODING": "utf-8"})
        try:
            stand_in.wait_output(r"^ready$", 30)
            icon, place = check_tray_and_menu(session, tray, stand_in, work)
            check(tray.running(), "the host survived a dock request for a window that does not exist")
            window, icon = check_keys_and_clipboard(session, tray, stand_in, icon, place)
            plug = check_plug(session, tray, stand_in, window, place)
            session.close_window(window)
            stand_in.wait_output(r"^delete-event$", 10)
            check(stand_in.wait_exit(10) == 0, "WM_DELETE_WINDOW reaches the window, and the program ends")
            tray.wait_undocked(icon, 10)
            tray.wait_undocked(plug, 10)
            check(tray.icons() == {}, "the icons of a program that ended are undocked")
        except BaseException:
            session.screenshot(os.path.join(work, "failure.png"))
            print("stand-in output:\n" + stand_in.output(), flush=True)
            raise
        finally:
            stand_in.stop()
    check(tray.exit_code == 0, "the host ends cleanly on SIGTERM")


def main():
    if sys.argv[1:] == ["--stand-in"]:
        run_stand_in()
        return
    arguments = argparse.ArgumentParser()
    arguments.add_argument("--host", required=True)
    arguments.add_argument("--work", required=True)
    options = arguments.parse_args()
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir))
    run_or_exit(run_checks, options)


if __name__ == "__main__":
    main()
