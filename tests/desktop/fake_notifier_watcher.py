#!/usr/bin/python3
"""A StatusNotifierWatcher of the test's own, as a desktop with StatusNotifierItem icons runs.

Owns org.kde.StatusNotifierWatcher on the session bus, says a host is registered, and prints
"ready" once it owns the name, then "registered <bus name> <object path>" for every item that
registers (an item may pass its object path or its bus name). It ends when stdin closes.
With --refuse it answers every item with an error instead, and prints "refused <bus name>".
"""

import sys

import gi

gi.require_version("Gio", "2.0")
gi.require_version("GLib", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

from bus_stand_in import serve_as  # noqa: E402

WATCHER_NAME = "org.kde.StatusNotifierWatcher"
WATCHER_PATH = "/StatusNotifierWatcher"
DEFAULT_ITEM_PATH = "/StatusNotifierItem"

INTERFACE = Gio.DBusNodeInfo.new_for_xml("""
<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg type="s" name="service" direction="in"/></method>
    <method name="RegisterStatusNotifierHost"><arg type="s" name="service" direction="in"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
    <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
    <signal name="StatusNotifierHostRegistered"/>
  </interface>
</node>
""").interfaces[0]


def main():
    refuse = sys.argv[1:] == ["--refuse"]
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    items = []

    def on_call(connection, sender, path, interface, method, parameters, invocation):
        if method == "RegisterStatusNotifierItem" and refuse:
            print("refused %s" % sender, flush=True)
            invocation.return_dbus_error("org.kde.StatusNotifierWatcher.Error.Refused", "no room for items")
            return
        if method == "RegisterStatusNotifierItem":
            service = parameters.unpack()[0]
            name, item_path = (sender, service) if service.startswith("/") else (service, DEFAULT_ITEM_PATH)
            items.append("%s%s" % (name, item_path))
            connection.emit_signal(None, WATCHER_PATH, WATCHER_NAME, "StatusNotifierItemRegistered",
                                   GLib.Variant("(s)", (items[-1],)))
            print("registered %s %s" % (name, item_path), flush=True)
        invocation.return_value(None)

    def on_property(connection, sender, path, interface, name):
        return {"RegisteredStatusNotifierItems": GLib.Variant("as", items),
                "IsStatusNotifierHostRegistered": GLib.Variant("b", True),
                "ProtocolVersion": GLib.Variant("i", 0)}[name]

    bus.register_object(WATCHER_PATH, INTERFACE, on_call, on_property, None)
    serve_as(bus, WATCHER_NAME)


if __name__ == "__main__":
    main()
