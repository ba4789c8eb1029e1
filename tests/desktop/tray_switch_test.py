#!/usr/bin/python3
"""vocabra-tray's icon follows the desktop's StatusNotifierWatcher for as long as it runs: started
before the panel's watcher, it shows an XEmbed icon; once a watcher appears the icon becomes a
StatusNotifierItem, with the same image, tip and menu; when the watcher goes, an XEmbed icon
docks again. Never two icons at once.

Run as: tools/with-display dbus-run-session -- /usr/bin/python3 tests/desktop/tray_switch_test.py
            --build build/linux --work <empty folder>
"""

import os
import sys

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import desktop_session as ds  # noqa: E402
from checks import check  # noqa: E402
from desktop_e2e import Session, parse_options, run_in_desktop  # noqa: E402
from notifier_item import WATCHER_NAME, NotifierItem, NotifierWatcher  # noqa: E402
from test_program import SERVICES, direction_name  # noqa: E402


def check_item(session, item):
    """The item shows what the XEmbed icon showed: the service's image, the tip, and the menu with
    the switch the user turned off there."""
    properties = item.properties()
    icon = properties.get("IconName", "")
    check(properties.get("Status") == "Active" and os.path.isfile(icon) and
          os.path.basename(icon) == SERVICES["Fake"].icon,
          "the item is active and shows the current service's icon (%s)" % icon)
    tip = "Dictionary: %s (%s)" % (direction_name("en-ru"), SERVICES["Fake"].name)
    check(properties.get("Title") == tip, "its title is the icon's tip %r (%r)" % (tip, properties.get("Title")))
    states = {properties.get("label"): properties.get("toggle-state") for _id, properties in item.menu_items()}
    check(states.get("Use Ctrl+Ins+Ins") == 1 and states.get("Use Ctrl+C+C") == 0,
          "its menu shows the hot-key switches as set in the XEmbed icon's menu (%s)" % states)


def run(options, dictionary, host):
    session = Session(options, dictionary, host, None, "en", name="switch")
    check(not ds.bus_name_has_owner(WATCHER_NAME), "no StatusNotifierWatcher runs at first")
    program = session.start()
    check(True, "started before the desktop's watcher, the program docks an XEmbed icon")
    session.choose_from_menu("Down", "Down", "Return")
    session.wait_setting("useCtrlCC", 0)
    xembed_icon = session.icon[0]

    with NotifierWatcher(os.path.join(session.work, "watcher.log")) as watcher:
        registered = watcher.wait_registered(15)
        check(registered is not None, "when a watcher appears, the program registers a StatusNotifierItem")
        host.wait_undocked(xembed_icon, 10)
        check(not host.icons(), "and its XEmbed icon leaves the tray")
        item = NotifierItem(*registered)
        check_item(session, item)
        item.click(item.item_id("Use Ctrl+C+C"))
        session.wait_setting("useCtrlCC", 1)
        check(True, "the item's published menu works")

    session.icon = host.wait_docked(15)
    check(True, "when the watcher goes, an XEmbed icon docks again")
    session.open_menu()
    ds.send_keys("Escape")
    check(list(host.icons()) == [session.icon[0]],
          "one icon only, whose menu opens (icons docked: %d)" % len(host.icons()))
    session.choose_from_menu("Up", "Return")
    check(program.wait_exit(15) == 0, "and whose Exit ends the program with 0")


def refused_run(options, dictionary, host):
    """A watcher that refuses the item shows nothing: the program's own XEmbed icon stands in, the
    one whose double click opens the dialog, not an icon AppIndicator makes by itself."""
    session = Session(options, dictionary, host, None, "en", name="refused")
    os.makedirs(session.work, exist_ok=True)
    with NotifierWatcher(os.path.join(session.work, "watcher.log"), refuse=True) as watcher:
        program = session.start()
        check(watcher.wait_refused(15), "the program asks a watcher that refuses it to show its item")
        check(True, "and docks an XEmbed icon instead")
        window, x, y, width, height = session.icon
        ds.double_click(x + width // 2, y + height // 2)
        check(ds.is_visible(session.dialog()), "whose double click opens the dialog")
        check(len(host.icons()) == 1, "one icon only")
        session.choose_from_menu("Up", "Return")
        check(program.wait_exit(15) == 0, "and whose Exit ends the program with 0")


def runs(options, dictionary, host):
    run(options, dictionary, host)
    refused_run(options, dictionary, host)
    return True


def main():
    options = parse_options()
    passed = run_in_desktop(options, lambda dictionary, host: runs(options, dictionary, host))
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main())
