#!/usr/bin/env python3
"""Answer windows of Vocabra.exe on a screen of 144 DPI, under Wine and a virtual display, observed
from outside.

- A service asking for ANSWER_SIZE (in 96-DPI units) gets a window 1.5 times as large, centred on
  the screen's work area.
- A size the user gives an answer window is remembered for the service when the window closes
  (in 96-DPI units), and the service's next answer opens at that size, centred.
- Pictures of the main dialog, the tray menus and the About box at 144 DPI join the others, in
  English and in Russian, and no control of the dialogs sticks out of its dialog.

usage: answer_place_e2e.py --exe <Vocabra.exe> --browser-window <dll> --layout <dialog_layout.exe>
       --work <folder> --screenshots <folder>   (needs DISPLAY: run it through tools/with-display)
"""

import argparse
import os
import sys
import time

sys.dont_write_bytecode = True  # nothing written into the source tree

from checks import check, run_or_exit
from tray_e2e import (ANSWER_SIZE, PRIORITY, about_screenshot, answer_windows, close_answer, close_answers,
                      exit_program, menu_screenshots, prepare_work, program_session, registry_dword, start_with_dialog,
                      write_locale)
from wine_session import geometry, russian_locale, screenshot, wait_until, xdotool

DPI = 144
SERVICE = PRIORITY[0]  # the service of the default direction


def scaled(size):
    return tuple(side * DPI // 96 for side in size)


def centred(size):
    """Where a window of `size` pixels goes on the one screen, which has no task bar."""
    screen_width, screen_height = (int(n) for n in xdotool("getdisplaygeometry").split())
    width, height = size
    return screen_width // 2 - width // 2, screen_height // 2 - height // 2, width, height


def ask(dialog, word):
    """Types `word` into the dialog and presses Return; answer windows may lie over the dialog."""
    xdotool("windowraise", str(dialog))
    xdotool("windowfocus", "--sync", str(dialog))
    xdotool("key", "ctrl+a")
    xdotool("type", "--delay", "10", word)
    xdotool("key", "Return")


def new_answer(dialog, word):
    known = set(answer_windows(set()))
    ask(dialog, word)
    found = wait_until(lambda: answer_windows(known), 15)
    check(bool(found), "%r: an answer window opens" % word)
    return found[0]


def resize_by_keyboard(window, presses):
    """The user's own way without a mouse: the system menu's Size, then Right, which picks the
    right edge and then moves it by 8 pixels a press, and Return."""
    x, y, width, height = geometry(window)
    xdotool("windowraise", str(window))
    xdotool("mousemove", str(x + width // 20), str(y + height - height // 20), "click", "1")
    xdotool("windowfocus", "--sync", str(window))
    xdotool("key", "alt+space")
    time.sleep(0.5)
    xdotool("key", "s")
    time.sleep(0.3)
    xdotool("key", "--delay", "50", *(["Right"] * presses))
    xdotool("key", "Return")


def remembered(wine):
    return registry_dword(wine, SERVICE + ".answerWidth"), registry_dword(wine, SERVICE + ".answerHeight")


def sizes(wine, dialog):
    expected = centred(scaled(ANSWER_SIZE))
    untouched = new_answer(dialog, "untouched")
    check(wait_until(lambda: geometry(untouched) == expected, 10) is not None,
          "a service's %dx%d opens at %d DPI as %s (%s)" % (ANSWER_SIZE + (DPI, expected, geometry(untouched))))
    check(close_answer(untouched), "an answer window left as it opened closes")
    check(remembered(wine) == (None, None), "a window the user did not resize leaves no size behind")

    first = new_answer(dialog, "first")
    check(wait_until(lambda: geometry(first) == expected, 10) is not None, "the next answer opens the same way")
    figures = [("answer window at %d DPI, service size %dx%d" % ((DPI,) + ANSWER_SIZE), geometry(first))]

    resize_by_keyboard(first, 13)
    resized = wait_until(lambda: geometry(first)[2:] if geometry(first)[2:] != expected[2:] else None, 10)
    check(resized is not None, "the user resizes the answer window (%s)" % (geometry(first),))
    check(close_answer(first), "the resized window closes")
    stored = remembered(wine)
    logical = tuple((side * 96 + DPI // 2) // DPI for side in resized)
    check(stored == logical, "the size the user gave, %s, is remembered in 96-DPI units as %s (%s)"
          % (resized, logical, stored))

    second = new_answer(dialog, "second")
    expected = centred(scaled(logical))
    check(wait_until(lambda: geometry(second) == expected, 10) is not None,
          "the service's next answer opens at the user's size, centred: %s (%s)" % (expected, geometry(second)))
    figures.append(("next answer after the user's resize", geometry(second)))
    check(close_answer(second), "the next answer closes")
    return figures


def check_layout(wine, layout, title, what):
    code, text = wine.output_of(layout, title)
    check(code == 0, "%s: every control lies inside its dialog (%s)" % (what, text.strip().replace("\n", "; ")))


def pictures(wine, layout, folder, shots, dialog, about_title):
    """Like the pictures at 96 DPI, named with the DPI, each dialog's layout checked."""
    close_answers({dialog})
    os.makedirs(folder, exist_ok=True)
    xdotool("windowraise", str(dialog))
    xdotool("windowfocus", "--sync", str(dialog))
    time.sleep(0.5)
    check_layout(wine, layout, "Vocabra", "the main dialog at %d DPI" % DPI)
    screenshot(os.path.join(folder, "dialog-%ddpi.png" % DPI))
    menu_folder = os.path.join(folder, "menus")
    os.makedirs(menu_folder)
    menu_screenshots(menu_folder)
    for name in os.listdir(menu_folder):
        os.replace(os.path.join(menu_folder, name),
                   os.path.join(folder, name.replace(".png", "-%ddpi.png" % DPI)))
    os.rmdir(menu_folder)
    about_screenshot(shots, os.path.join(folder, "about-%ddpi.png" % DPI), about_title,
                     lambda: check_layout(wine, layout, about_title, "the About box at %d DPI" % DPI))


def main():
    arguments = argparse.ArgumentParser()
    arguments.add_argument("--exe", required=True)
    arguments.add_argument("--browser-window", required=True, help="VocabraVISTAHelper.dll")
    arguments.add_argument("--layout", required=True, help="dialog_layout.exe")
    arguments.add_argument("--work", required=True)
    arguments.add_argument("--screenshots", required=True, help="the pictures' folder, with en/ and ru/")
    options = arguments.parse_args()

    work, app, shots, logs, exe = prepare_work(options.work, options.exe, options.browser_window)
    gallery = os.path.abspath(options.screenshots)

    with program_session(work, app, shots, logs, write_locale) as (wine, _):
        # Read by each program as it starts: every one of them sees the screen at this DPI.
        code, _ = wine.output_of("reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t",
                                 "REG_DWORD", "/d", str(DPI), "/f")
        check(code == 0, "the prefix's screen has %d DPI" % DPI)
        program, dialog = start_with_dialog(wine, exe)
        figures = sizes(wine, dialog)
        pictures(wine, options.layout, os.path.join(gallery, "en"), shots, dialog, "About Vocabra")
        exit_program(program, shots, "english")
        russian = russian_locale(os.path.join(work, "locales"))
        program, dialog = start_with_dialog(wine, exe, env=russian)
        pictures(wine, options.layout, os.path.join(gallery, "ru"), shots, dialog, "Об Vocabra")
        exit_program(program, shots, "russian")
    for label, figure in figures:
        print("%-48s %s" % (label, figure))


if __name__ == "__main__":
    run_or_exit(main)
