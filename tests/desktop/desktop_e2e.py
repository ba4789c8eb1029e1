#!/usr/bin/env python3
"""vocabra-tray from outside, under a virtual display with a tray host, a clipboard owner and a
fake dictionary of the test's own: the tray icon and the one copy per session, the double press
and --translate-clipboard over another program's clipboard text (Cyrillic included) and the rendered answer window, a hot key
switched off, the choices of the dialog and the tray menu as stored settings, the autostart entry,
Exit, the desktop portal's shortcut under Wayland, and the StatusNotifierItem where the desktop
has a watcher for it. Screenshots of the dialog, the tray menu and an answer window, in English and Russian,
go to the folder given.

Run as: tools/with-display dbus-run-session -- /usr/bin/python3 tests/desktop/desktop_e2e.py
            --build build/linux --work <empty folder> --screenshots <folder>
"""

import argparse
import os
import shutil
import subprocess
import sys
import time
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))

import desktop_session as ds  # noqa: E402
from checks import Failure, check  # noqa: E402
from notifier_item import NotifierItem, NotifierWatcher  # noqa: E402
from test_program import (SERVICES, direction_name, prepare_program_folder, program_environment,  # noqa: E402
                          request_path)
from tray_e2e import pushed_favourites, pushed_priority  # noqa: E402

FAVOURITES = ["en-ru", "ru-en"]  # the locale's default favourites, two of them kept
IDLE_MEMORY_LIMIT = 30 * 1024 * 1024
LOOKUP_LIMIT = 1.0  # seconds from the second key release to the request; the goal is a tenth of it


def requested_word(request):
    for pair in urllib.parse.urlsplit(request.target).query.split("&"):
        if pair.startswith("text="):
            return urllib.parse.unquote(pair[len("text="):])
    return None


def request_for(word):
    return lambda request: request.method == "GET" and requested_word(request) == word


def page_title(request):
    """The fake dictionary titles each page after the word asked for, so that a window's caption
    tells which request it shows."""
    word = requested_word(request)
    return "Answer" if word is None else "Answer: " + word


STARTED = []  # every program started, ended however the test ends


class Session:
    """One run of the program in one language, with what the checks need to reach it."""

    def __init__(self, options, dictionary, host, other, language, name=None):
        self.options = options
        self.other = other  # the window of another program, which holds the focus for the hot keys
        self.dictionary = dictionary
        self.host = host
        self.language = language
        self.work = os.path.join(options.work, name or language)
        self.shots = os.path.join(options.screenshots, language)
        os.makedirs(self.shots, exist_ok=True)
        self.folder = prepare_program_folder(os.path.join(options.build, "tray", "gtk"), os.path.join(self.work, "program"),
                                             dictionary.port, default_directions=FAVOURITES)
        environment = program_environment(self.folder)
        environment.update({
            "LANG": "ru_RU.UTF-8" if language == "ru" else "en_US.UTF-8",
            "LC_ALL": None, "LC_MESSAGES": None,
            "HOME": os.path.join(self.work, "home"),
            "XDG_CONFIG_HOME": os.path.join(self.work, "config"),
            "XDG_STATE_HOME": None,  # the history goes under HOME
            "NO_AT_BRIDGE": "1",
            # The answer window library is loaded by the first key or the first answer, not in the
            # middle of the checks of the idle program; answer_prepare_test.py sets its own moment.
            "VOCABRA_PREPARE_SECONDS": "3600",
        })
        # A stand-in for the desktop's browser, which only notes the addresses it is given.
        stand_ins = os.path.join(self.work, "bin")
        os.makedirs(stand_ins, exist_ok=True)
        self.browser_log = os.path.join(self.work, "xdg-open.log")
        xdg_open = os.path.join(stand_ins, "xdg-open")
        with open(xdg_open, "w", encoding="utf-8") as script:
            script.write('#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' % self.browser_log)
        os.chmod(xdg_open, 0o755)
        environment["PATH"] = stand_ins + os.pathsep + environment.get("PATH", os.defpath)
        self.environment = environment
        self.program = None
        self.icon = None
        self.last_press = 0.0

    def press_double(self, key):
        """A double press over the other program. A release within a second of the last first
        press would count as another second press, so presses start more than a second apart."""
        time.sleep(max(0.0, self.last_press + 1.2 - time.monotonic()))
        self.last_press = time.monotonic()
        return ds.press_double(key, self.other)

    def start(self, *arguments):
        self.program = ds.start_program([self.folder.executable] + list(arguments),
                                        os.path.join(self.work, "vocabra-tray.log"), env=self.environment)
        STARTED.append(self.program)
        self.icon = self.host.wait_docked(15)
        return self.program

    def run(self, *arguments, timeout=15):
        """Another start of the program; its exit code."""
        other = ds.start_program([self.folder.executable] + list(arguments),
                                 os.path.join(self.work, "second-start.log"), env=self.environment)
        STARTED.append(other)
        return other.wait_exit(timeout)

    def settings(self):
        return {name: value for name, (kind, value) in ds.read_settings(self.folder.settings).items()}

    def wait_setting(self, name, expected, timeout=10):
        seen = [None]

        def matches():
            seen[0] = self.settings().get(name)
            return seen[0] == expected
        try:
            ds.wait_until(matches, timeout, "%s = %r" % (name, expected))
        except ds.WaitTimedOut:
            pass
        check(seen[0] == expected, "%s stored as %r (seen %r)" % (name, expected, seen[0]))

    def dialog(self, visible=True):
        return ds.wait_window(10, name="^Vocabra$", pid=self.program.pid, visible=visible)

    def open_menu(self, shot=None):
        before = ds.toplevel_windows()
        window, x, y, width, height = self.icon
        ds.click(x + width // 2, y + height // 2, 3)
        menu = ds.wait_new_popup(before, 10, pid=self.program.pid)
        if shot:
            ds.screenshot(os.path.join(self.shots, shot))
        return menu

    def choose_from_menu(self, *keys):
        """Opens the tray menu and walks it with the keyboard: the menu's own order is the check."""
        menu = self.open_menu()
        for key in keys:
            ds.send_keys(key)
        ds.wait_window_gone(menu, 10)

    def answer_window(self, word, timeout=15):
        title = "Answer: " + word

        def titled():
            return [w for w in ds.find_windows(pid=self.program.pid, visible=True) if ds.window_title(w) == title]
        window = ds.wait_until(titled, timeout, "a window captioned %r" % title)[0]
        check(True, "the answer window's caption is the page's title %r" % title)
        return window


def lookup(session, key, word, direction, service="Fake"):
    """Ctrl+<key>+<key> with `word` on the clipboard of another program: the request for it, its
    latency from the second release, and the answer window."""
    with ds.own_clipboard(word):
        released = session.press_double(key)
        request = session.dictionary.wait_for(request_for(word.strip()), 15)
    check(request is not None, "Ctrl+%s+%s sends the request for %r" % (key, key, word.strip()))
    check(request.path == request_path(service, direction), "to %s for %s" % (service, direction))
    latency = request.arrived - released
    print("     from the second key release to the request: %.0f ms" % (latency * 1000), flush=True)
    check(latency < LOOKUP_LIMIT, "the request came within %.1f s" % LOOKUP_LIMIT)
    return request, latency, session.answer_window(word.strip())


def check_answer_window(session, window, size, shot):
    x, y, width, height = ds.window_geometry(window)
    if size:
        check((width, height) == size, "the answer window has the service's size %dx%d" % size)
        screen_width, screen_height = ds.image_size(ds.screenshot(os.path.join(session.work, "screen.png")))
        check(abs(x + width // 2 - screen_width // 2) <= 1 and abs(y + height // 2 - screen_height // 2) <= 1,
              "and is centred on the screen")
    path = os.path.join(session.shots, shot)

    def rendered():
        ds.screenshot(path, window)
        return not ds.is_flat(path)
    ds.wait_until(rendered, 15, "the answer page is drawn")
    check(True, "the answer page is rendered (%s)" % path)


def close_answer(window):
    ds.close_window(window)
    ds.wait_window_gone(window, 10)


def kept_per_service(session, window, service="Fake"):
    """The zoom keys and the size the user gives an answer window are kept for its service: the
    keys change the stored zoom, and closing the window stores its size. Answers the size."""
    ds.send_keys("ctrl+plus", window)
    zoom = ds.wait_until(lambda: session.settings().get(service + ".answerZoom"), 10, "a zoom stored")
    check(zoom > 100, "Ctrl+plus in the answer window stores a larger zoom for %s: %s" % (service, zoom))
    ds.send_keys("ctrl+minus", window)
    session.wait_setting(service + ".answerZoom", 100)
    _, _, width, height = ds.window_geometry(window)
    size = (width + 40, height + 30)
    subprocess.run(["xdotool", "windowsize", "--sync", str(window), str(size[0]), str(size[1])], check=True,
                   timeout=10)
    ds.wait_until(lambda: ds.window_geometry(window)[2:] == size, 10, "the window resized")
    close_answer(window)
    session.wait_setting(service + ".answerWidth", size[0])
    session.wait_setting(service + ".answerHeight", size[1])
    return size


# From the top of the tray menu: the two hot keys, the two favourites, Other, Recent, Service.
RECENT_ITEM = 6
SERVICE_ITEM = 7


def history_entries(session):
    """(word, direction, service id) of each line of the history file, newest first."""
    path = os.path.join(session.environment["HOME"], ".local", "state", "vocabra", "history.tsv")
    if not os.path.exists(path):
        return []
    with open(path, encoding="utf-8") as history:
        return [tuple(line.split("\t")[:3]) for line in history.read().splitlines() if line]


def recent_screenshot(session):
    """The tray menu with its Recent submenu open, pictured."""
    menu = session.open_menu()
    before = ds.toplevel_windows()
    for key in ["Down"] * RECENT_ITEM + ["Right"]:
        ds.send_keys(key)
    ds.wait_new_popup(before, 10, pid=session.program.pid)
    ds.screenshot(os.path.join(session.shots, "menu-recent.png"))
    ds.send_keys("Escape")
    ds.send_keys("Escape")
    ds.wait_window_gone(menu, 10)
    check(True, "the Recent submenu is pictured")


def choose_and_answer(session, keys, key):
    """Chooses a tray menu item whose question (a new window of the program's) `key` answers:
    alt+y, or Escape for no."""
    before = ds.find_windows(pid=session.program.pid, visible=True)
    session.choose_from_menu(*keys)
    question = ds.wait_until(lambda: [w for w in ds.find_windows(pid=session.program.pid, visible=True)
                                      if w not in before], 10, "a question is asked")[0]
    ds.send_keys(key, question)
    ds.wait_until(lambda: not ds.is_visible(question), 10, "the question closes")


def history_from_the_tray(session):
    """Every lookup is remembered; Recent translates a word again with its own direction and
    service, Export writes the flash-card file, the off switch adds nothing, Clear empties it."""
    dictionary = session.dictionary
    entries = history_entries(session)
    check(entries[:2] == [("Haus", "de-ru", "Fake"), ("still", "en-ru", "Fake")],
          "the history's newest entries are the last lookups, with direction and service (%s)" % entries[:2])
    check(("hello", "en-ru", "Fake") in entries and ("привет", "en-ru", "Fake") in entries,
          "the hot keys' words are in it")
    recent_screenshot(session)

    # The word box offers the earlier words as the user types.
    check(session.run() == 0, "another start shows the dialog")
    dialog = session.dialog()
    # GTK makes the list's window early and maps it as the user types: shown windows only.
    before = [w for w in ds.toplevel_windows() if ds.is_visible(w)]
    ds.send_keys("ctrl+a", dialog)
    ds.type_text("Ha")
    ds.wait_new_popup(before, 10)
    ds.screenshot(os.path.join(session.shots, "word-suggestions.png"))
    check(True, "typing into the word box opens the earlier words' list")
    ds.send_keys("Escape")
    ds.close_window(dialog)
    ds.wait_until(lambda: not ds.is_visible(dialog), 10, "the dialog hides")

    # The second item, "still", asked for en-ru although the current direction is de-ru.
    session.choose_from_menu(*(["Down"] * RECENT_ITEM + ["Right", "Down", "Return"]))
    again = ds.wait_until(lambda: [r for r in dictionary.requests() if request_for("still")(r)][1:], 15,
                          "the Recent item's request")
    check(again[0].path == request_path("Fake", "en-ru"), "Recent translates 'still' again with en-ru and Fake")
    close_answer(session.answer_window("still"))

    # Export: the desktop's Save dialog, told a path of the test's own.
    exported = os.path.join(session.work, "exported words.txt")
    session.choose_from_menu(*(["Down"] * RECENT_ITEM + ["Right", "End", "Up", "Return"]))
    chooser = ds.wait_window(15, name="^Export the history$", pid=session.program.pid, visible=True)
    ds.send_keys("ctrl+a", chooser)
    ds.type_text(exported)
    ds.send_keys("Return")
    ds.wait_until(lambda: os.path.exists(exported), 15, "the export is written")
    with open(exported, encoding="utf-8") as export:
        lines = export.read().splitlines()
    check(lines[:4] == ["#separator:tab", "#html:false", "#columns:Word\tDirection\tService\tTime"] + lines[3:4]
          and lines[3].startswith("still\ten-ru\tFake Dictionary\t"),
          "Export writes the flash-card file: header lines, then the newest word first (%r)" % lines[:4])

    # Keep a history off (answered No: the words stay), then a lookup that is not kept.
    keep = ["Down"] * RECENT_ITEM + ["Right", "End", "Up", "Up", "Return"]
    choose_and_answer(session, keep, "Escape")
    session.wait_setting("keepHistory", 0)
    close_answer(lookup(session, "c", "unkept", "de-ru")[2])
    session.choose_from_menu(*keep)
    session.wait_setting("keepHistory", 1)
    # The next write holds everything kept since: "unkept" is not in it.
    close_answer(lookup(session, "c", "kept again", "de-ru")[2])
    ds.wait_until(lambda: history_entries(session)[:1] == [("kept again", "de-ru", "Fake")], 10,
                  "the next lookup is kept")
    check([e[0] for e in history_entries(session)][:2] == ["kept again", "still"],
          "with the history off nothing was added")

    # Clear history, answered Yes.
    choose_and_answer(session, ["Down"] * RECENT_ITEM + ["Right", "End", "Return"], "alt+y")
    ds.wait_until(lambda: not history_entries(session), 10, "the history file is emptied")
    check(True, "Clear history empties the history")


def english_run(options, dictionary, host, other):
    session = Session(options, dictionary, host, other, "en")
    program = session.start()
    check(program.running(), "vocabra-tray starts and its icon docks in the tray")
    window, x, y, width, height = session.icon
    icon_shot = os.path.join(session.work, "icon.png")
    ds.wait_until(lambda: not ds.is_flat(ds.screenshot(icon_shot), (x, y, width, height)), 10, "the icon is drawn")
    check(True, "the tray icon shows an image")

    memory = ds.resident_memory(program.pid)
    print("     resident memory while idle: %.1f MB" % (memory / 1048576), flush=True)
    check(memory < IDLE_MEMORY_LIMIT, "the idle tray program holds less than 30 MB")
    cpu = ds.cpu_time_over(program.pid, 5)
    check(cpu == 0, "and uses no CPU time while idle (5 s)")

    check(session.run() == 0, "a second start exits with 0")
    dialog = session.dialog()
    check(ds.is_visible(dialog), "and shows the first copy's dialog")
    ds.close_window(dialog)
    ds.wait_until(lambda: not ds.is_visible(dialog), 10, "the dialog hides")
    check(program.running(), "closing the dialog hides it; the program keeps running")

    # A desktop shortcut's command: the running copy translates the clipboard, and shows no dialog.
    with ds.own_clipboard("command"):
        check(session.run("--translate-clipboard") == 0, "a second start with --translate-clipboard exits with 0")
        request = dictionary.wait_for(request_for("command"), 15)
    check(request is not None, "and the running copy translates the clipboard's text")
    close_answer(session.answer_window("command"))
    check(not ds.is_visible(dialog), "without showing its dialog")

    # The double press over another program's text, Latin and Cyrillic, each key.
    first, first_latency, answer = lookup(session, "c", "hello", "en-ru")
    check_answer_window(session, answer, SERVICES["Fake"].size, "answer-window.png")
    close_answer(answer)
    _, later_latency, answer = lookup(session, "Insert", "  привет\n", "en-ru")
    kept_size = kept_per_service(session, answer)

    # A hot key switched off in the tray menu does nothing; the other still works. The second
    # request arriving alone shows that the first double press was seen and dropped.
    session.choose_from_menu("Down", "Down", "Return")
    session.wait_setting("useCtrlCC", 0)
    with ds.own_clipboard("switched"):
        session.press_double("c")
    _, _, answer = lookup(session, "Insert", "still", "en-ru")
    check(dictionary.wait_for(request_for("switched"), 0) is None, "Ctrl+C+C switched off sent nothing")
    check(ds.window_geometry(answer)[2:] == kept_size,
          "the service's next answer opens at the size the user gave: %s" % (ds.window_geometry(answer),))
    close_answer(answer)
    session.choose_from_menu("Down", "Down", "Return")
    session.wait_setting("useCtrlCC", 1)

    # The tray menu: the second favourite, then the second service.
    session.open_menu("tray-menu.png")
    ds.send_keys("Escape")
    session.choose_from_menu("Down", "Down", "Down", "Down", "Return")
    session.wait_setting("dictionaryDirection", "ru-en")
    favourites = pushed_favourites("ru-en", FAVOURITES, 2)
    session.wait_setting("dictionaryDefaultDirections", favourites)
    session.choose_from_menu(*(["Down"] * SERVICE_ITEM + ["Right", "Down", "Return"]))
    priority = pushed_priority("Second", list(SERVICES))
    session.wait_setting("dictionaryPriority", priority)

    # "Open Vocabra", the third item from the end, shows the dialog.
    session.choose_from_menu(*(["Up"] * 3 + ["Return"]))
    dialog = session.dialog()
    ds.close_window(dialog)
    ds.wait_until(lambda: not ds.is_visible(dialog), 10, "the dialog hides")

    # The dialog's lists, sorted by name, and its Translate button, from the keyboard.
    check(session.run() == 0, "another start shows the dialog")
    dialog = session.dialog()
    dialog_height = ds.window_geometry(dialog)[3]
    ds.focus(dialog)
    ds.send_keys("Tab")
    ds.send_keys("Tab")
    ds.send_keys("Up")  # from "Russian → English" to "German → Russian", one above it by name
    session.wait_setting("dictionaryDirection", "de-ru")
    favourites = pushed_favourites("de-ru", favourites.split(","), 2)
    session.wait_setting("dictionaryDefaultDirections", favourites)
    ds.send_keys("Tab")
    ds.send_keys("Down")  # the second of Second and Fake, the services of de-ru
    session.wait_setting("dictionaryPriority", pushed_priority("Fake", priority.split(",")))
    ds.screenshot(os.path.join(session.shots, "dialog.png"), dialog)
    ds.send_keys("shift+Tab")
    ds.send_keys("shift+Tab")
    ds.send_keys("shift+Tab")
    ds.send_keys("ctrl+a")
    for key in ("H", "a", "u", "s", "Return"):
        ds.send_keys(key)
    request = dictionary.wait_for(request_for("Haus"), 15)
    check(request is not None and request.path == request_path("Fake", "de-ru"),
          "Translate in the dialog asks the chosen service for the chosen direction")
    close_answer(session.answer_window("Haus"))
    history_from_the_tray(session)

    # The current service (Fake, for de-ru) opens its answers in the desktop's browser: the check
    # item after the services in "Service". The double press then opens no answer window.
    session.choose_from_menu(*(["Down"] * SERVICE_ITEM + ["Right"] + ["Down"] * len(SERVICES) + ["Return"]))
    session.wait_setting("Fake.openInBrowser", 1)
    with ds.own_clipboard("browser"):
        session.press_double("c")
        address = "http://127.0.0.1:%d%s?text=browser" % (dictionary.port, request_path("Fake", "de-ru"))
        ds.wait_until(lambda: os.path.exists(session.browser_log), 10, "the browser is started")
    with open(session.browser_log, encoding="utf-8") as opened:
        check(opened.read().splitlines() == [address], "the answer's address goes to xdg-open")
    check(dictionary.wait_for(request_for("browser"), 2) is None, "and no answer window asks for it")
    check(not [w for w in ds.find_windows(pid=program.pid, visible=True) if ds.window_title(w).startswith("Answer")],
          "no answer window is open")
    # The dialog's check box shows the choice and takes it back.
    check(session.run() == 0, "another start shows the dialog")
    dialog = session.dialog()
    ds.focus(dialog)
    ds.send_keys("alt+o")  # the check box's access key
    session.wait_setting("Fake.openInBrowser", 0)
    ds.close_window(dialog)
    ds.wait_until(lambda: not ds.is_visible(dialog), 10, "the dialog hides")

    # Exit, the menu's last item.
    session.choose_from_menu("Up", "Return")
    check(program.wait_exit(15) == 0, "Exit in the tray menu ends the program with 0")
    host.wait_undocked(window, 10)
    check(True, "and its icon leaves the tray")
    return first_latency, later_latency, dialog_height


def russian_run(options, dictionary, host, other):
    session = Session(options, dictionary, host, other, "ru")
    program = session.start("--visible")
    dialog = session.dialog()
    ds.wait_until(lambda: not ds.is_flat(ds.screenshot(os.path.join(session.shots, "dialog.png"), dialog)), 10,
                  "the dialog is drawn")
    session.open_menu("tray-menu.png")
    ds.send_keys("Escape")
    check(True, "the Russian dialog and tray menu are pictured in %s" % session.shots)
    _, _, answer = lookup(session, "c", "словарь", "en-ru")
    check_answer_window(session, answer, SERVICES["Fake"].size, "answer-window.png")
    close_answer(answer)
    recent_screenshot(session)

    # Starting with the session: the entry names this program, and a fresh copy is started,
    # which finds this one running.
    check(session.run("--install") == 0, "--install exits with 0")
    entry_path = os.path.join(session.environment["XDG_CONFIG_HOME"], "autostart", "vocabra-tray.desktop")
    check(os.path.isfile(entry_path), "and writes the XDG autostart entry")
    with open(entry_path, encoding="utf-8") as entry:
        check("\nExec=%s\n" % session.folder.executable in entry.read(), "which starts this program")

    check(session.run("--exit") == 0, "--exit exits with 0")
    check(program.wait_exit(15) == 0, "and the running copy ends with 0")
    # The copy --install started may come up only after --exit, find no copy running, and stay:
    # it is ended too, so that no copy of this run meets the next runs on the session bus.
    ds.wait_until(lambda: no_copy_left(session), 20, "no copy of the Russian run is left")


def copies_of(session):
    """Process ids running this run's program with this run's configuration folder."""
    found = []
    executable = os.path.realpath(session.folder.executable)
    marker = ("XDG_CONFIG_HOME=" + session.environment["XDG_CONFIG_HOME"]).encode()
    for entry in os.listdir("/proc"):
        try:
            with open("/proc/%s/cmdline" % entry, "rb") as cmdline:
                program = cmdline.read().split(b"\0")[0]
            with open("/proc/%s/environ" % entry, "rb") as environ:
                environment = environ.read().split(b"\0")
        except (OSError, ValueError):
            continue
        if program and os.path.realpath(program.decode()) == executable and marker in environment:
            found.append(int(entry))
    return found


def no_copy_left(session):
    """True once no copy runs; a copy still running is asked to exit."""
    if not copies_of(session):
        return True
    session.run("--exit")
    return False


class PortalService:
    """The fake desktop portal in a process of its own, asked one line at a time."""

    def __init__(self, log_path):
        self._log = open(log_path, "w")
        self._process = subprocess.Popen(
            ["/usr/bin/python3", os.path.join(HERE, "portal", "fake_portal_service.py")],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=self._log, text=True)
        check(self._process.stdout.readline().strip() == "ready", "the fake desktop portal is on the bus")

    def ask(self, command):
        self._process.stdin.write(command + "\n")
        self._process.stdin.flush()
        return self._process.stdout.readline().strip()

    def stop(self):
        self._process.stdin.close()
        self._process.wait(10)
        self._process.stdout.close()
        self._log.close()


def wayland_run(options, dictionary, host, other, x11_dialog_height):
    """Under Wayland the program asks the desktop's portal for a shortcut that translates the
    clipboard, and says in the dialog that the double press cannot work there."""
    session = Session(options, dictionary, host, other, "en", name="wayland")
    session.environment["XDG_SESSION_TYPE"] = "wayland"
    portal = PortalService(os.path.join(session.work, "portal.log"))
    try:
        program = session.start("--visible")
        dialog = session.dialog()
        bound = [None]

        def asked():
            bound[0] = portal.ask("bound")
            return bound[0] != "none"
        ds.wait_until(asked, 15, "the program asks the portal for its shortcut")
        check(bound[0] == "bound Translate the clipboard with Vocabra",
              "under Wayland the program binds the portal's shortcut (%s)" % bound[0])
        ds.wait_until(lambda: ds.window_geometry(dialog)[3] > x11_dialog_height, 10, "the dialog grows")
        check(True, "and the dialog shows the note the X11 dialog does not")
        ds.screenshot(os.path.join(session.work, "dialog.png"), dialog)
        with ds.own_clipboard("shortcut"):
            check(portal.ask("activate") == "activated 1", "the desktop reports the shortcut pressed")
            request = dictionary.wait_for(request_for("shortcut"), 15)
        check(request is not None, "which translates the clipboard's text")
        close_answer(session.answer_window("shortcut"))
        check(session.run("--exit") == 0 and program.wait_exit(15) == 0, "--exit ends the program with 0")
    finally:
        portal.stop()


def notifier_item_run(options, dictionary, host, other):
    """Where the desktop runs a StatusNotifierWatcher, the icon is a StatusNotifierItem: its menu
    is published on the session bus (dbusmenu), a middle click opens the dialog, and the menu's
    Exit ends the program."""
    session = Session(options, dictionary, host, other, "en", name="notifier-item")
    os.makedirs(session.work, exist_ok=True)
    with NotifierWatcher(os.path.join(session.work, "watcher.log")) as watcher:
        check(True, "a StatusNotifierWatcher is on the session bus")
        session.program = program = ds.start_program([session.folder.executable],
                                                     os.path.join(session.work, "vocabra-tray.log"),
                                                     env=session.environment)
        STARTED.append(program)
        registered = watcher.wait_registered(15)
        check(registered is not None, "the program registers a StatusNotifierItem")
        item = NotifierItem(*registered)
        properties = item.properties()
        check(properties.get("Status") == "Active" and os.path.isfile(properties.get("IconName", "")),
              "the item is active and names an icon file (%s)" % properties.get("IconName"))
        labels = item.labels()
        check(labels[:2] == ["Use Ctrl+Ins+Ins", "Use Ctrl+C+C"] and labels[-6:] ==
              ["Other", "Recent", "Service", "Open Vocabra", "About...", "Exit"],
              "its menu is published with the tray menu's items: %s" % labels)
        item.middle_click()
        check(ds.is_visible(session.dialog()), "a middle click on the item opens the dialog")
        item.click(item.item_id("Exit"))
        check(program.wait_exit(15) == 0, "the published menu's Exit ends the program with 0")


def run_in_desktop(options, runs):
    """runs(dictionary, host) with the fake dictionary and the tray host of a fresh work folder.
    Its result; None after a failed check or wait, which leaves a screenshot in the work folder.
    Every program started is stopped however it ends."""
    ds.check_environment()
    shutil.rmtree(options.work, ignore_errors=True)
    os.makedirs(options.work)
    host_path = os.path.join(options.build, "tests", "desktop", "host", "vocabra_test_tray_host")
    with ds.FakeDictionary(title=page_title) as dictionary, ds.TrayHost(host_path) as host:
        try:
            return runs(dictionary, host)
        except (Failure, ds.WaitTimedOut) as failure:
            ds.screenshot(os.path.join(options.work, "failure.png"))
            dictionary.print_requests()
            print("FAIL " + str(failure), flush=True)
            return None
        finally:
            for program in STARTED:
                program.stop()


def all_runs(options, dictionary, host):
    # Another X11 program holds the focus while the keys are pressed, as the program the user
    # copies from would: the keys go to it, not to one of vocabra-tray's windows.
    other = ds.start_program(["xlogo"], os.path.join(options.work, "xlogo.log"))
    STARTED.append(other)
    other_window = ds.wait_window(10, name="^xlogo$", visible=True)
    first, later, dialog_height = english_run(options, dictionary, host, other_window)
    russian_run(options, dictionary, host, other_window)
    wayland_run(options, dictionary, host, other_window, dialog_height)
    notifier_item_run(options, dictionary, host, other_window)
    return first, later


def parse_options():
    """--build, --work and --screenshots (the work folder's screenshots/ when not given), as every
    desktop end-to-end test takes them."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True, help="the native build folder (build/linux)")
    parser.add_argument("--work", required=True)
    parser.add_argument("--screenshots")
    options = parser.parse_args()
    if options.screenshots is None:
        options.screenshots = os.path.join(options.work, "screenshots")
    return options


def main():
    options = parse_options()
    lookups = run_in_desktop(options, lambda dictionary, host: all_runs(options, dictionary, host))
    if lookups is None:
        return 1
    print("     lookups: first %.0f ms, later %.0f ms" % (lookups[0] * 1000, lookups[1] * 1000))
    return 0


if __name__ == "__main__":
    sys.exit(main())
