#!/usr/bin/env python3
"""vocabra-tray gets its answer windows ready before the first answer, and nothing more: the answer
window library is loaded a while after the start, or as soon as Ctrl+C (Ctrl+Insert) is pressed
once, since a second press may follow. Neither opens a window, asks the dictionary anything or
starts a process of the web engine, and a lone Ctrl+C, a plain copy, stays a copy. A hot key
switched off prepares nothing; without the library the answers go to the desktop's browser.

Run as: tools/with-display dbus-run-session -- /usr/bin/python3 tests/desktop/answer_prepare_test.py
            --build build/linux --work <empty folder>
"""

import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))

import desktop_e2e as e2e  # noqa: E402
import desktop_session as ds  # noqa: E402
from checks import check  # noqa: E402
from test_program import ANSWER_WINDOW_LIBRARY, QWord, request_path, write_settings  # noqa: E402

# GoldenDict 1.5's resident memory when it idles (measured beside vocabra-tray, benchmarks/desktop):
# before its first answer window vocabra-tray stays below it.
PEER_IDLE_MEMORY = 103 * 1024 * 1024
LONGER_THAN_A_DOUBLE_PRESS = 1.5  # seconds; the second press must come within one


def library_loaded(pid):
    with open("/proc/%d/maps" % pid) as maps:
        return ANSWER_WINDOW_LIBRARY in maps.read()


def helper_processes(pid):
    """Names of the processes the program started that still run (the web engine's)."""
    found = []
    for entry in os.listdir("/proc"):
        try:
            with open("/proc/%s/stat" % entry) as stat:
                text = stat.read()
        except OSError:
            continue
        fields = text[text.rindex(")") + 2:].split()
        if int(fields[1]) == pid and fields[0] != "Z":
            found.append(text[text.index("(") + 1:text.rindex(")")])
    return found


def answer_windows(session):
    return [w for w in ds.find_windows(pid=session.program.pid, visible=True)
            if ds.window_title(w).startswith("Answer")]


def session_for(options, dictionary, host, other, name, prepare_seconds=None, settings=None):
    session = e2e.Session(options, dictionary, host, other, "en", name=name)
    if prepare_seconds is not None:
        session.environment["VOCABRA_PREPARE_SECONDS"] = str(prepare_seconds)
    if settings:
        write_settings(session.folder.settings, dict({"lastCheckForUpdateTime": QWord(int(time.time()))}, **settings))
    return session


def press_once(session, key, word):
    """Ctrl+<key> once over the other program, `word` on the clipboard; the time a second press
    would have had passes."""
    with ds.own_clipboard(word):
        ds.send_keys("ctrl+" + key, session.other)
        session.last_press = time.monotonic()
        time.sleep(LONGER_THAN_A_DOUBLE_PRESS)


def nothing_shown(session, what, word=None):
    """No request for `word` (when given), no answer window, no process of the web engine."""
    if word is not None:
        check(session.dictionary.wait_for(e2e.request_for(word), 0) is None, "%s asks the dictionary nothing" % what)
    check(not answer_windows(session), "%s opens no window" % what)
    check(not helper_processes(session.program.pid), "%s starts no process of the web engine" % what)


def exit_program(session):
    check(session.run("--exit") == 0 and session.program.wait_exit(15) == 0, "--exit ends the program with 0")


def first_key(options, dictionary, host, other):
    session = session_for(options, dictionary, host, other, "first-key")
    program = session.start()
    check(not library_loaded(program.pid), "after the start the answer window library is not loaded")
    press_once(session, "c", "alone")
    check(library_loaded(program.pid), "Ctrl+C pressed once loads it")
    nothing_shown(session, "a Ctrl+C that no second one follows", "alone")
    memory = ds.resident_memory(program.pid)
    print("     resident memory with the library loaded: %.1f MB" % (memory / 1048576), flush=True)
    check(memory < PEER_IDLE_MEMORY, "the program still holds less than GoldenDict's idle 103 MB")

    _, _, answer = e2e.lookup(session, "c", "prepared", "en-ru")
    engine = helper_processes(program.pid)
    check(engine.count("WebKitWebProces") == 1, "the double press after it is answered by one web process (%s)"
          % engine)
    e2e.close_answer(answer)
    exit_program(session)


def hot_key_off(options, dictionary, host, other):
    session = session_for(options, dictionary, host, other, "hot-key-off", settings={"useCtrlCC": 0})
    program = session.start()
    press_once(session, "c", "off")
    check(not library_loaded(program.pid), "with Ctrl+C+C switched off, Ctrl+C pressed once loads nothing")
    press_once(session, "Insert", "on")
    check(library_loaded(program.pid), "while Ctrl+Insert, still on, loads the library")
    nothing_shown(session, "a lone Ctrl+Insert", "on")
    exit_program(session)


def after_a_while(options, dictionary, host, other):
    session = session_for(options, dictionary, host, other, "after-a-while", prepare_seconds=2)
    program = session.start()
    ds.wait_until(lambda: library_loaded(program.pid), 15, "the library loaded")
    check(True, "a while after the start the library is loaded without a key")
    nothing_shown(session, "loading it")
    ds.wait_until(lambda: ds.cpu_time_over(program.pid, 2) == 0, 15, "the program rests")
    check(True, "after it the program rests again (no CPU time over 2 s)")
    memory = ds.resident_memory(program.pid)
    print("     resident memory with the library loaded: %.1f MB" % (memory / 1048576), flush=True)
    check(memory < PEER_IDLE_MEMORY, "it holds less than GoldenDict's idle 103 MB")
    e2e.close_answer(e2e.lookup(session, "c", "later", "en-ru")[2])
    exit_program(session)


def without_library(options, dictionary, host, other):
    session = session_for(options, dictionary, host, other, "no-library", prepare_seconds=1)
    os.remove(os.path.join(session.folder.folder, ANSWER_WINDOW_LIBRARY))
    program = session.start()
    program.wait_output("answer windows unavailable", 15)
    check(program.running(), "without the library the preparation says why and the program runs on")
    press_once(session, "c", "copied")
    with ds.own_clipboard("browser"):
        session.press_double("c")
        ds.wait_until(lambda: os.path.exists(session.browser_log), 10, "the browser is started")
    with open(session.browser_log, encoding="utf-8") as opened:
        address = "http://127.0.0.1:%d%s?text=browser" % (dictionary.port, request_path("Fake", "en-ru"))
        check(opened.read().splitlines() == [address], "a double press hands the address to the desktop's browser")
    nothing_shown(session, "that", "browser")
    check(program.output().count("answer windows unavailable") == 1, "the library is looked for once")
    exit_program(session)


def run(options, dictionary, host):
    other = ds.start_program(["xlogo"], os.path.join(options.work, "xlogo.log"))
    e2e.STARTED.append(other)
    other_window = ds.wait_window(10, name="^xlogo$", visible=True)
    for part in (first_key, hot_key_off, after_a_while, without_library):
        part(options, dictionary, host, other_window)
    return True


def main():
    options = e2e.parse_options()
    return 0 if e2e.run_in_desktop(options, lambda dictionary, host: run(options, dictionary, host)) else 1


if __name__ == "__main__":
    sys.exit(main())
