#!/usr/bin/env python3
"""vocabra-tray on a display of two monitors side by side: the answer to a double press opens in
the middle of the monitor that holds the focused window (another program's, an xlogo), whichever
monitor the pointer is on.

Run as: tools/with-two-monitors dbus-run-session -- /usr/bin/python3 tests/desktop/answer_monitor_test.py
            --build build/linux --work <empty folder>
"""

import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))

import desktop_e2e as e2e  # noqa: E402
import desktop_session as ds  # noqa: E402
from checks import check  # noqa: E402
from test_program import SERVICES  # noqa: E402


def monitors():
    """(left, top, right, bottom) of each monitor, as the X server's RandR reports them; with no
    panels on this display, a monitor's work area is the whole of it."""
    text = subprocess.run(["xrandr", "--listmonitors"], stdin=subprocess.DEVNULL, capture_output=True, text=True,
                          timeout=10, check=True).stdout
    found = []
    for width, height, left, top in re.findall(r"(\d+)/\d+x(\d+)/\d+\+(\d+)\+(\d+)", text):
        width, height, left, top = int(width), int(height), int(left), int(top)
        found.append((left, top, left + width, top + height))
    return found


def middle(area):
    left, top, right, bottom = area
    return (left + right) / 2, (top + bottom) / 2


def answer_on(session, other, areas, chosen, word):
    """The focused window moved onto monitor `chosen` and the pointer parked on another one; a
    double press there. Where the answer window opens."""
    left, top, _, _ = areas[chosen]
    subprocess.run(["xdotool", "windowmove", "--sync", str(other), str(left + 40), str(top + 40)], check=True,
                   timeout=10)
    def on_chosen():
        x, y, width, height = ds.window_geometry(other)
        return left <= x and x + width <= areas[chosen][2] and top <= y and y + height <= areas[chosen][3]
    try:
        ds.wait_until(on_chosen, 10, "the xlogo window moved")
    except ds.WaitTimedOut:
        pass  # the check below says where it is
    check(on_chosen(), "the xlogo window is on monitor %d: %s" % (chosen, ds.window_geometry(other)))
    # The pointer is elsewhere, so that its monitor, the fallback, would give a wrong answer.
    elsewhere = middle(areas[(chosen + 1) % len(areas)])
    subprocess.run(["xdotool", "mousemove", str(int(elsewhere[0])), str(int(elsewhere[1]))], check=True, timeout=10)
    # Not e2e.lookup: how fast the request goes is not this test's business.
    with ds.own_clipboard(word):
        session.press_double("c")
        check(session.dictionary.wait_for(e2e.request_for(word), 15) is not None,
              "Ctrl+C+C over the xlogo window sends the request for %r" % word)
    window = session.answer_window(word)
    wanted = middle(areas[chosen])
    size = SERVICES["Fake"].size

    def in_the_middle():
        x, y, width, height = ds.window_geometry(window)
        return (width, height) == size and abs(x + width / 2 - wanted[0]) <= 1 and abs(y + height / 2 - wanted[1]) <= 1
    try:
        ds.wait_until(in_the_middle, 10, "the answer window placed")
    except ds.WaitTimedOut:
        pass  # the check below says where it is
    placed = ds.window_geometry(window)
    check(in_the_middle(),
          "with the focused window on monitor %d (%s), the answer opens at the service's size in its middle %s: %s"
          % (chosen, areas[chosen], wanted, placed))
    e2e.close_answer(window)
    return placed


def run(options, dictionary, host):
    areas = monitors()
    check(len(areas) == 2 and middle(areas[0]) != middle(areas[1]),
          "the display has two monitors with different middles: %s" % (areas,))
    other = ds.start_program(["xlogo"], os.path.join(options.work, "xlogo.log"))
    e2e.STARTED.append(other)
    other_window = ds.wait_window(10, name="^xlogo$", visible=True)
    session = e2e.Session(options, dictionary, host, other_window, "en", name="two-monitors")
    session.start()
    # The second monitor first: a program that always takes the primary one fails at once.
    figures = [(chosen, areas[chosen], answer_on(session, other_window, areas, chosen, word))
               for chosen, word in ((1, "second"), (0, "first"))]
    session.choose_from_menu("Up", "Return")  # Exit
    check(session.program.wait_exit(15) == 0, "Exit ends the program with 0")
    return figures


def main():
    options = e2e.parse_options()
    figures = e2e.run_in_desktop(options, lambda dictionary, host: run(options, dictionary, host))
    if figures is None:
        return 1
    for chosen, area, placed in figures:
        print("monitor %d, work area %s: answer window at %s" % (chosen, area, placed))
    return 0


if __name__ == "__main__":
    sys.exit(main())
