"""What the test's stand-ins for desktop services share: owning a name on the session bus, then
serving until the test closes their stdin.

    bus.register_object(path, interface, on_call, on_property, None)
    serve_as(bus, "org.kde.StatusNotifierWatcher")   # prints "ready" once the name is owned
"""

import sys

import gi

gi.require_version("Gio", "2.0")
gi.require_version("GLib", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

DO_NOT_QUEUE = 4
PRIMARY_OWNER = 1


def serve_as(bus, name):
    """Owns `name` (or exits saying why), prints "ready", and serves the bus until stdin closes."""
    reply = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
                          GLib.Variant("(su)", (name, DO_NOT_QUEUE)), None, Gio.DBusCallFlags.NONE, -1, None)
    if reply.unpack()[0] != PRIMARY_OWNER:
        sys.exit("cannot own %s" % name)
    print("ready", flush=True)
    loop = GLib.MainLoop()
    GLib.io_add_watch(sys.stdin.fileno(), GLib.IO_IN | GLib.IO_HUP, lambda *_: loop.quit() or False)
    loop.run()
