"""The StatusNotifierItem side of a desktop test: the test's own watcher (fake_notifier_watcher.py)
in a process of its own, and an item as a panel sees it on the session bus, with its menu
published as dbusmenu.

    with NotifierWatcher(log_path) as watcher:
        item = NotifierItem(*watcher.wait_registered(15))
        item.properties()["Status"], item.menu_items(), item.click(item_id)
"""

import gi

gi.require_version("Gio", "2.0")
gi.require_version("GLib", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

from stand_in_process import StandInProcess  # noqa: E402

WATCHER_NAME = "org.kde.StatusNotifierWatcher"


class NotifierWatcher(StandInProcess):
    """org.kde.StatusNotifierWatcher on the session bus until stop(): a desktop whose panel shows
    StatusNotifierItems. Each item that registers is read from the watcher's output."""

    def __init__(self, log_path, refuse=False, timeout=10):
        """refuse: the watcher answers every item with an error, as one that has no room for it."""
        super().__init__("fake_notifier_watcher.py", ["--refuse"] if refuse else [], log_path)
        if not self.ready(timeout):
            self.stop()
            raise RuntimeError("the fake StatusNotifierWatcher did not take its name on the bus")

    def _next_words(self, timeout):
        return (self.next_line(timeout) or "").split()

    def wait_registered(self, timeout):
        """(bus name, object path) of the next item that registers; None when none does in time."""
        words = self._next_words(timeout)
        return tuple(words[1:3]) if words and words[0] == "registered" else None

    def wait_refused(self, timeout):
        """Whether an item asked to register, and was refused, within `timeout` seconds."""
        words = self._next_words(timeout)
        return bool(words) and words[0] == "refused"


def menu_items(layout):
    """(id, properties) of the items of a dbusmenu layout's top level, separators left out."""
    _id, _properties, children = layout
    return [(child[0], child[1]) for child in children if child[1].get("type") != "separator"]


class NotifierItem:
    """An item registered with the watcher, called as the panel calls it."""

    def __init__(self, name, path):
        self.name = name
        self.path = path
        self._bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)

    def call(self, object_path, interface, method, parameters):
        return self._bus.call_sync(self.name, object_path, interface, method, parameters, None,
                                   Gio.DBusCallFlags.NONE, 10000, None).unpack()

    def properties(self):
        return self.call(self.path, "org.freedesktop.DBus.Properties", "GetAll",
                         GLib.Variant("(s)", ("org.kde.StatusNotifierItem",)))[0]

    def menu_items(self):
        """(id, properties) of the published menu's top-level items."""
        _revision, layout = self.call(self.properties()["Menu"], "com.canonical.dbusmenu", "GetLayout",
                                      GLib.Variant("(iias)", (0, -1, [])))
        return menu_items(layout)

    def labels(self):
        return [properties.get("label", "") for _id, properties in self.menu_items()]

    def item_id(self, label):
        return next(item_id for item_id, properties in self.menu_items() if properties.get("label") == label)

    def click(self, item_id):
        """A click on the menu item, as the panel reports it."""
        self.call(self.properties()["Menu"], "com.canonical.dbusmenu", "Event",
                  GLib.Variant("(isvu)", (item_id, "clicked", GLib.Variant("i", 0), 0)))

    def middle_click(self):
        self.call(self.path, "org.kde.StatusNotifierItem", "SecondaryActivate", GLib.Variant("(ii)", (0, 0)))
