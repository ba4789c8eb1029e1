#!/usr/bin/python3
"""A stand-in for a running vocabra-tray on the session bus: owns the program's bus name, so that a
new start finds a copy running and asks it for its actions (org.gtk.Actions.DescribeAll).

Prints "ready" once it owns the name. Then, by its one argument:
- --ending: a copy that was asked to exit just as the new one started. It leaves the bus at the
  first question, unanswered, and prints "asked" on its way out.
- --refusing: a name owner that is not the program. It answers every question with an error, prints
  "refused" for each, and keeps the name until stdin closes.
"""

import os
import sys

import gi

gi.require_version("Gio", "2.0")
gi.require_version("GLib", "2.0")
from gi.repository import Gio  # noqa: E402

from bus_stand_in import serve_as  # noqa: E402

PROGRAM_NAME = "com.corvane.Vocabra"
PROGRAM_PATH = "/com/corvane/Vocabra"

ACTIONS = Gio.DBusNodeInfo.new_for_xml("""
<node>
  <interface name="org.gtk.Actions">
    <method name="DescribeAll"><arg type="a{s(bgav)}" name="list" direction="out"/></method>
  </interface>
</node>
""").interfaces[0]


def main():
    if sys.argv[1:] not in (["--ending"], ["--refusing"]):
        sys.exit("usage: fake_program_owner.py --ending | --refusing")
    ending = sys.argv[1] == "--ending"
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)

    def on_call(connection, sender, path, interface, method, parameters, invocation):
        if ending:
            print("asked", flush=True)
            os._exit(0)  # the connection closes with the call unanswered, as a copy that ends
        print("refused", flush=True)
        invocation.return_dbus_error("org.freedesktop.DBus.Error.Failed", "not the program")

    bus.register_object(PROGRAM_PATH, ACTIONS, on_call, None, None)
    serve_as(bus, PROGRAM_NAME)


if __name__ == "__main__":
    main()
