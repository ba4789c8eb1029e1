#!/usr/bin/python3
"""The fake global-shortcut portal as a service of its own, for tests that run the whole program.

Owns org.freedesktop.portal.Desktop on the session bus, binds whatever it is asked to, and answers
commands read from stdin, one per line, each with one line on stdout:
    bound        -> "bound <description>" of the last shortcut bound, or "none"
    activate     -> emits Activated for every bound shortcut to its client; "activated <count>"
It prints "ready" once it owns the name.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from portal_test import SHORTCUTS, PORTAL_PATH, FakePortal, Gio, GLib  # noqa: E402


def bound_shortcuts(portal):
    """(client, session, id, description) of every shortcut bound so far."""
    for _method, sender, (session, shortcuts, _parent, _options) in portal.calls_of("BindShortcuts"):
        for shortcut_id, properties in shortcuts:
            yield sender, session, shortcut_id, properties.get("description", "")


def answer(portal, command):
    if command == "bound":
        shortcuts = list(bound_shortcuts(portal))
        return "bound " + shortcuts[-1][3] if shortcuts else "none"
    if command == "activate":
        count = 0
        for sender, session, shortcut_id, _description in bound_shortcuts(portal):
            for signal in ("Activated", "Deactivated"):
                portal.bus.emit_signal(sender, PORTAL_PATH, SHORTCUTS, signal,
                                       GLib.Variant("(osta{sv})", (session, shortcut_id, 0, {})))
            count += 1
        return "activated %d" % count
    return "unknown " + command


def main():
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    portal = FakePortal(bus)
    portal.export()
    portal.own_name()
    print("ready", flush=True)
    loop = GLib.MainLoop()

    def on_input(channel, condition):
        line = sys.stdin.readline()
        if not line:
            loop.quit()
            return False
        print(answer(portal, line.strip()), flush=True)
        return True

    GLib.io_add_watch(sys.stdin.fileno(), GLib.IO_IN | GLib.IO_HUP, on_input)
    loop.run()


if __name__ == "__main__":
    main()
