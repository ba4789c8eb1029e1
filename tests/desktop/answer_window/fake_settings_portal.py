#!/usr/bin/python3
"""The settings portal's appearance as a desktop publishes it, on the session bus.

Owns org.freedesktop.portal.Desktop and answers Read of org.freedesktop.appearance color-scheme
(0 no preference, 1 dark, 2 light). Commands on stdin, one a line, each answered on stdout:
    scheme N  -> sets the scheme and emits SettingChanged; "scheme N"
It prints "ready" once it owns the name. usage: fake_settings_portal.py <first scheme>
"""

import os
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "portal"))

from portal_test import PORTAL_NAME as NAME, PORTAL_PATH as PATH, SETTINGS, Gio, GLib  # noqa: E402

NODE = Gio.DBusNodeInfo.new_for_xml("""
<node>
  <interface name="org.freedesktop.portal.Settings">
    <method name="Read">
      <arg type="s" name="namespace" direction="in"/>
      <arg type="s" name="key" direction="in"/>
      <arg type="v" name="value" direction="out"/>
    </method>
    <signal name="SettingChanged">
      <arg type="s" name="namespace"/>
      <arg type="s" name="key"/>
      <arg type="v" name="value"/>
    </signal>
    <property name="version" type="u" access="read"/>
  </interface>
</node>
""")


def main():
    scheme = [int(sys.argv[1])]
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    loop = GLib.MainLoop()

    def on_call(_connection, _sender, _path, _interface, method, parameters, invocation):
        if method == "Read" and tuple(parameters.unpack()) == ("org.freedesktop.appearance", "color-scheme"):
            # The Read method wraps the value once more, as the portal does.
            invocation.return_value(GLib.Variant("(v)", (GLib.Variant("v", GLib.Variant("u", scheme[0])),)))
        else:
            invocation.return_dbus_error("org.freedesktop.portal.Error.NotFound", "no such setting")

    def on_property(*_arguments):
        return GLib.Variant("u", 1)

    bus.register_object(PATH, NODE.interfaces[0], on_call, on_property, None)

    def on_input(_channel, _condition):
        line = sys.stdin.readline()
        if not line:
            loop.quit()
            return False
        words = line.split()
        if len(words) == 2 and words[0] == "scheme":
            scheme[0] = int(words[1])
            bus.emit_signal(None, PATH, SETTINGS, "SettingChanged",
                            GLib.Variant("(ssv)", ("org.freedesktop.appearance", "color-scheme",
                                                   GLib.Variant("u", scheme[0]))))
            bus.flush_sync(None)
            print("scheme %d" % scheme[0], flush=True)
        else:
            print("unknown " + line.strip(), flush=True)
        return True

    def on_name(*_arguments):
        print("ready", flush=True)

    Gio.bus_own_name_on_connection(bus, NAME, Gio.BusNameOwnerFlags.NONE, on_name, lambda *a: loop.quit())
    GLib.io_add_watch(sys.stdin.fileno(), GLib.IO_IN | GLib.IO_HUP, on_input)
    loop.run()


if __name__ == "__main__":
    main()
