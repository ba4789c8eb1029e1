#!/usr/bin/env python3
"""Answer windows of Vocabra.exe on a display of two monitors side by side, under Wine, observed
from outside: the answer opens in the middle of the work area of the monitor that holds the
window in front (the main dialog, moved there), whichever monitor the pointer is on.

usage: answer_monitor_e2e.py --exe <Vocabra.exe> --browser-window <dll> --monitors <monitor_areas.exe>
       --work <folder>   (needs a DISPLAY of two monitors: run it through tools/with-two-monitors)
"""

import argparse
import os
import shutil
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree

from checks import check, run_or_exit
from tray_e2e import (ANSWER_SIZE, answer_windows, close_answer, exit_program, prepare_work, program_session,
                      start_with_dialog, write_locale)
from wine_session import geometry, wait_until, xdotool


def work_areas(wine, monitors):
    """(left, top, right, bottom) of each monitor's work area, as the system reports them."""
    code, text = wine.output_of(monitors)
    check(code == 0, "the system lists its monitors")
    return [tuple(int(n) for n in line.split()) for line in text.splitlines() if line.strip()]


def middle(area):
    left, top, right, bottom = area
    return (left + right) / 2, (top + bottom) / 2


def answer_on(wine, monitors, dialog, areas, chosen, word):
    """The dialog moved onto monitor `chosen` and the pointer parked on another one; a translation
    typed there. Where its answer window opens."""
    left, top, _, _ = areas[chosen]
    check(wine.run(monitors, "move", "Vocabra", str(left + 40), str(top + 40)) == 0,
          "the main dialog moves onto monitor %d" % chosen)
    check(wait_until(lambda: geometry(dialog)[:2] == (left + 40, top + 40), 10) is not None,
          "and is shown there (%s)" % (geometry(dialog),))
    # The pointer is elsewhere, so that its monitor, the fallback, would give a wrong answer.
    elsewhere = middle(areas[(chosen + 1) % len(areas)])
    xdotool("mousemove", str(int(elsewhere[0])), str(int(elsewhere[1])))
    known = set(answer_windows(set()))
    xdotool("windowraise", str(dialog))
    xdotool("windowfocus", "--sync", str(dialog))
    xdotool("key", "ctrl+a")
    xdotool("type", "--delay", "10", word)
    xdotool("key", "Return")
    found = wait_until(lambda: answer_windows(known), 15)
    check(bool(found), "%r: an answer window opens" % word)
    window = found[0]
    wanted = middle(areas[chosen])

    def in_the_middle():
        x, y, width, height = geometry(window)
        return ((width, height) == ANSWER_SIZE and abs(x + width / 2 - wanted[0]) <= 1
                and abs(y + height / 2 - wanted[1]) <= 1)
    wait_until(in_the_middle, 10)  # the window may be mapped before it is placed
    placed = geometry(window)
    check(in_the_middle(),
          "with the dialog on monitor %d (work area %s), the answer opens at the service's size in its middle %s: %s"
          % (chosen, areas[chosen], wanted, placed))
    check(close_answer(window), "the answer window closes")
    return placed


def main():
    arguments = argparse.ArgumentParser()
    arguments.add_argument("--exe", required=True)
    arguments.add_argument("--browser-window", required=True, help="VocabraVISTAHelper.dll")
    arguments.add_argument("--monitors", required=True, help="monitor_areas.exe")
    arguments.add_argument("--work", required=True)
    options = arguments.parse_args()

    work, app, shots, logs, exe = prepare_work(options.work, options.exe, options.browser_window)
    monitors = os.path.join(app, os.path.basename(options.monitors))
    shutil.copy(options.monitors, monitors)

    figures = []
    with program_session(work, app, shots, logs, write_locale) as (wine, _):
        areas = work_areas(wine, monitors)
        check(len(areas) == 2 and middle(areas[0]) != middle(areas[1]),
              "the system sees two monitors with different middles: %s" % (areas,))
        program, dialog = start_with_dialog(wine, exe)
        # The second monitor first: a program that always takes the primary one fails at once.
        for chosen, word in ((1, "second"), (0, "first")):
            figures.append((chosen, areas[chosen], answer_on(wine, monitors, dialog, areas, chosen, word)))
        exit_program(program, shots, "two-monitors")
    for chosen, area, placed in figures:
        print("monitor %d, work area %s: answer window at %s" % (chosen, area, placed))


if __name__ == "__main__":
    run_or_exit(main)
