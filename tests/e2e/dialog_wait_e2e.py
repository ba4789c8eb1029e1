#!/usr/bin/env python3
"""Vocabra.exe while it waits for a dialog server, under Wine and a virtual display, observed from
outside. The dialog service's class is the test dialog server's (vocabra_test_dialog_server.exe),
which answers a request whose address says "slow" only after SLOW seconds, and whose object does
not return from Detach for a long time when the address says "stuck". Every call it receives is
written to dialog-calls.txt beside it.

- The answer window closed at any moment of the wait, the server's start included: the program
  lives, and the next translation works.
- A translation asked for during the wait runs once the first is over, with its own word.
- Closing a window whose server hangs in Detach leaves the program answering, and Exit still ends
  it about as fast as the least tray program.

usage: dialog_wait_e2e.py --exe <Vocabra.exe> --browser-window <dll> --test-server <exe>
       --minimal <exe> --work <folder>   (needs DISPLAY: run it through tools/with-display)
"""

import argparse
import os
import shutil
import sys
import time

sys.dont_write_bytecode = True  # nothing written into the source tree

from checks import check, run_or_exit
from tray_e2e import (ANSWER_SIZE, EXIT, answer_windows, choose_from_menu, close_answer, ended_after, minimal_exit_time,
                      prepare_work, program_session, set_registry_dword, start_with_dialog, type_into_dialog)
from wine_session import geometry, visible_windows_of, wait_until, xdotool

SLOW = 3.0  # the test dialog server's kSlowMs
# The test dialog server's class that answers by name only, under the ProgID the service names.
TEST_CLASS = "{4300B894-49FF-4E25-B8EE-52D6EF2A0F11}"
PROG_ID = r"HKCR\Vocabra.Dialog.SlowTest\CLSID"


def write_locale(app, port):
    """One service, shown through the test dialog server, for both languages."""
    configuration = ("dictionaries=Slow\nfavour.dictionary.count=1\n"
                     "dictionary.Slow.type=simple\ndictionary.Slow.config=slow.properties\n")
    service = ("service.name=Slow Dictionary\n"
               "service.home.url=http://127.0.0.1:%d/\n"
               "supported.directions=en-ru\n"
               "dictionary.service.url=http://127.0.0.1:%d/slow/%%direction%%?text=%%words%%\n"
               "dictionary.direction.to.parameter=en-ru\n"
               "dictionary.display.type=dialog\n"
               "dictionary.dialog=SlowTest\n"
               "dictionary.window.width=%d\n"
               "dictionary.window.height=%d\n" % ((port, port) + ANSWER_SIZE))
    directions = "en-=English\n-en=→ English\nru-=Russian\n-ru=→ Russian\ndefault.directions=en-ru\n"
    for language in ("en", "ru"):
        folder = os.path.join(app, "locale", language)
        os.makedirs(folder)
        for name, text in (("Configuration.properties", configuration), ("slow.properties", service),
                           ("translate_direction.properties", directions)):
            with open(os.path.join(folder, name), "w", encoding="utf-8") as out:
                out.write(text)


class Calls:
    """The calls the test dialog server has received, from its file."""

    def __init__(self, app):
        self.path = os.path.join(app, "dialog-calls.txt")

    def lines(self):
        try:
            with open(self.path, encoding="utf-8") as calls:
                return calls.read().splitlines()
        except OSError:
            return []

    def shown(self, word):
        """The server's line for the request of `word`, once it has arrived."""
        return next((line for line in self.lines() if "text=%s " % word in line), None)


def windows_before(dialog):
    """The program's windows that a new answer window is told apart from. The dialog bears the
    answer windows' caption, so it is named even when the list of visible windows missed it (as
    when the previous answer window was being destroyed while xdotool walked the windows): taken
    for the new answer, it would be the window that the test closes."""
    return set(answer_windows(set())) | {dialog}


def new_answer(known):
    found = wait_until(lambda: answer_windows(known), 15)
    check(bool(found), "an answer window opens for the request")
    return found[0]


def closing_during_the_wait(program, dialog, calls):
    """The window closed while the server starts and at moments of its slow answer."""
    for delay, word in ((0.0, "first"), (0.2, "second"), (1.0, "third"), (SLOW - 0.5, "fourth")):
        known = windows_before(dialog)
        detaches = calls.lines().count("dispatch Detach")
        type_into_dialog(dialog, word)
        window = new_answer(known)
        time.sleep(delay)
        check(close_answer(window), "%r: the answer window closes %.1f s after it opened, during the wait"
              % (word, delay))
        check(dialog in visible_windows_of("vocabra.exe"), "%r: the dialog stays open" % word)
        check(bool(wait_until(lambda: calls.shown(word), 15)), "%r: the request reached the server" % word)
        # The server's answer comes back to a window that is gone; the program then lets the
        # server's object go, which the server notes as a Detach.
        wait_until(lambda: calls.lines().count("dispatch Detach") > detaches or program.poll() is not None, 20)
        check(program.poll() is None, "%r: the program lives after the server answered" % word)


def second_request_during_the_wait(dialog, calls):
    """A Return while the first request waits: the second word is asked for after the first."""
    known = windows_before(dialog)
    type_into_dialog(dialog, "waiting")
    new_answer(known)
    asked = time.monotonic()
    type_into_dialog(dialog, "queued")
    check(bool(wait_until(lambda: calls.shown("waiting"), 15)), "the first request reached the server")
    check(bool(wait_until(lambda: calls.shown("queued"), 20)), "the request asked for during the wait follows")
    lines = calls.lines()
    check(lines.index(calls.shown("waiting")) < lines.index(calls.shown("queued")),
          "the requests reached the server in the order they were asked for")
    # The first call takes SLOW seconds; the second one started only after it.
    check(time.monotonic() - asked >= SLOW - 0.5, "the second request waited for the first")
    check(bool(wait_until(lambda: len(answer_windows(known)) == 2, 15)), "each request has its answer window")


def next_translation_works(dialog, calls):
    known = windows_before(dialog)
    type_into_dialog(dialog, "after")
    new_answer(known)
    line = wait_until(lambda: calls.shown("after"), 15)
    # The window's browser control reaches the server as an object (VT_DISPATCH); unlike Internet
    # Explorer, it has no window handle of its own to report.
    check(line is not None and line.endswith(" vt:9"), "the next translation lends its answer window's browser")


def exit_with_a_server_stuck_in_detach(program, dialog, calls, shots, yardstick):
    """A server that does not return from Detach: the program answers while it waits, and Exit
    ends it about as fast as the least tray program."""
    known = windows_before(dialog)
    type_into_dialog(dialog, "stuck")
    window = new_answer(known)
    check(bool(wait_until(lambda: calls.shown("stuck"), 15)), "the stuck request reached the server")
    time.sleep(SLOW + 1.0)
    detaches = calls.lines().count("dispatch Detach")
    check(close_answer(window), "the window whose server hangs in Detach closes")
    check(bool(wait_until(lambda: calls.lines().count("dispatch Detach") > detaches, 10)),
          "the server was asked to detach")
    chosen = choose_from_menu(shots, "stuck-detach", EXIT)
    seconds = ended_after(lambda: program.poll() is not None, chosen)
    check(seconds is not None and program.returncode == 0, "Exit while the server hangs ends the program with 0")
    check(seconds <= yardstick + 2.0, "Exit took %.2f s, at most 2 s more than the minimal program's %.2f s"
          % (seconds, yardstick))


def main():
    arguments = argparse.ArgumentParser()
    arguments.add_argument("--exe", required=True)
    arguments.add_argument("--browser-window", required=True, help="VocabraVISTAHelper.dll")
    arguments.add_argument("--test-server", required=True, help="vocabra_test_dialog_server.exe")
    arguments.add_argument("--minimal", required=True, help="the least tray program, the yardstick for Exit")
    arguments.add_argument("--work", required=True)
    options = arguments.parse_args()

    work, app, shots, logs, exe = prepare_work(options.work, options.exe, options.browser_window)
    server = os.path.join(app, os.path.basename(options.test_server))
    shutil.copy(options.test_server, server)

    with program_session(work, app, shots, logs, write_locale) as (wine, _):
        check(wine.run(server, "/RegServer") == 0, "the test dialog server registers itself")
        code, _ = wine.output_of("reg", "add", PROG_ID, "/ve", "/d", TEST_CLASS, "/f")
        check(code == 0, "the service's dialog class names the test dialog server")
        # No update check: its request, held 30 s at the proxy, would end at a moment that differs
        # from machine to machine, in the middle of the waits this test times. The tray test
        # covers translations during the check.
        set_registry_dword(wine, "checkForUpdateInterval", 36500)
        yardstick = minimal_exit_time(wine, options.minimal, "visible")
        calls = Calls(app)
        program, dialog = start_with_dialog(wine, exe)
        closing_during_the_wait(program, dialog, calls)
        second_request_during_the_wait(dialog, calls)
        next_translation_works(dialog, calls)
        exit_with_a_server_stuck_in_detach(program, dialog, calls, shots, yardstick)


if __name__ == "__main__":
    run_or_exit(main)
