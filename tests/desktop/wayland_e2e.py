#!/usr/bin/python3
"""vocabra-tray as a native Wayland client of a real compositor (Weston): its environment names
no X display, GDK is told to talk Wayland, and Weston runs without XWayland. The dialog shows and
its Translate opens a rendered answer window; the clipboard that another Wayland client (wl-copy)
set is what the desktop portal's shortcut and --translate-clipboard translate, with the dialog
shown and hidden; the tray icon follows a StatusNotifierWatcher and outlives it where no XEmbed
tray can exist; a second start shows the running copy's dialog. Without a portal the dialog names
the command to bind to a shortcut of the desktop, in English and in Russian. Pictures of the dialog
and the answer window go to the screenshots folder.

The program is driven through the accessibility bus (AT-SPI) and observed there and at the fake
dictionary.

Run as: tools/with-display dbus-run-session -- /usr/bin/python3 tests/desktop/wayland_e2e.py
            --build build/linux --work <empty folder> --screenshots <folder>
"""

import os
import shutil
import sys

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import desktop_session as ds  # noqa: E402
from accessible_program import AccessibleProgram, Atspi  # noqa: E402
from checks import Failure, check  # noqa: E402
from desktop_e2e import PortalService, page_title, parse_options, request_for  # noqa: E402
from notifier_item import NotifierWatcher  # noqa: E402
from test_program import SERVICES, prepare_program_folder, program_environment  # noqa: E402
from weston_session import Weston, colour_area  # noqa: E402

# The answer pages' background: a picture of an answer window holds it once WebKit has drawn.
PAGE_COLOUR = "#3C8A2E"
COMMAND_SWITCH = "--translate-clipboard"

STARTED = []


class WaylandSession:
    """One program folder and environment under Weston, in one language."""

    def __init__(self, options, dictionary, weston, language, name):
        self.options = options
        self.dictionary = dictionary
        self.weston = weston
        self.work = os.path.join(options.work, name)
        self.shots = os.path.join(options.screenshots, "wayland")
        os.makedirs(self.shots, exist_ok=True)
        self.folder = prepare_program_folder(os.path.join(options.build, "tray", "gtk"),
                                             os.path.join(self.work, "program"), dictionary.port)
        environment = program_environment(self.folder, base={})
        environment.update(weston.client_environment())
        environment.update({
            "LANG": "ru_RU.UTF-8" if language == "ru" else "en_US.UTF-8",
            "LC_ALL": None, "LC_MESSAGES": None,
            "HOME": os.path.join(self.work, "home"),
            "XDG_CONFIG_HOME": os.path.join(self.work, "config"),
            "NO_AT_BRIDGE": None,  # the test reaches the dialog through the accessibility bus
        })
        self.environment = environment
        self.program = None
        self.accessible = None
        self.starts = 0

    def start(self, *arguments):
        self.program = ds.start_program([self.folder.executable] + list(arguments),
                                        os.path.join(self.work, "vocabra-tray.log"), env=self.environment)
        STARTED.append(self.program)
        self.accessible = AccessibleProgram(self.program.pid)
        return self.program

    def run(self, *arguments, timeout=15):
        """Another start of the program; its exit code."""
        self.starts += 1
        other = ds.start_program([self.folder.executable] + list(arguments),
                                 os.path.join(self.work, "start-%d.log" % self.starts), env=self.environment)
        STARTED.append(other)
        return other.wait_exit(timeout)

    def dialog(self, timeout=15):
        return self.accessible.wait_window("Vocabra", timeout)

    def dialog_shows(self):
        return self.accessible.shown_window("Vocabra") is not None

    def answer(self, word, timeout=15):
        """The request for `word` at the fake dictionary, and its answer window, whose title is the
        page's."""
        request = self.dictionary.wait_for(request_for(word), timeout)
        check(request is not None, "the fake dictionary is asked for %r" % word)
        title = "Answer: " + word
        window = self.accessible.wait_window(title, timeout)
        check(True, "an answer window titled %r, the page's title, shows" % title)
        return window

    def close_answer(self, word):
        self.accessible.close(self.accessible.wait_window("Answer: " + word, 10))
        self.accessible.wait_hidden("Answer: " + word, 10)

    def close_dialog(self):
        self.accessible.close(self.dialog())
        self.accessible.wait_hidden("Vocabra", 10)

    def check_clean_log(self):
        output = self.program.output()
        clean = "CRITICAL" not in output and "ERROR" not in output
        check(clean, "the program's log has no GTK critical or error%s" % ("" if clean else ":\n" + output.strip()))


def native_client(pid):
    """Whether the process can only be a Wayland client: no X display, GDK told to use Wayland."""
    with open("/proc/%d/environ" % pid, "rb") as environ:
        variables = dict(entry.split(b"=", 1) for entry in environ.read().split(b"\0") if b"=" in entry)
    return b"DISPLAY" not in variables and variables.get(b"GDK_BACKEND") == b"wayland" and \
        b"WAYLAND_DISPLAY" in variables


def translate_in_dialog(session, dialog, word):
    """The word typed into the dialog's box, then its Translate button; the answer window."""
    program = session.accessible
    program.set_text(program.find(dialog, Atspi.Role.TEXT), word)
    program.click(program.find(dialog, Atspi.Role.PUSH_BUTTON, "Translate"))
    return session.answer(word)


def check_rendered(session, word, shot):
    """A picture of the screen holds the answer page's background over most of the service's size."""
    path = os.path.join(session.shots, shot)
    width, height = SERVICES["Fake"].size
    ds.wait_until(lambda: colour_area(session.weston.screenshot(path), PAGE_COLOUR) > width * height // 2, 15,
                  "the answer page for %r is drawn" % word)
    check(True, "WebKit draws the answer page (%s)" % path)


def portal_run(options, dictionary, weston):
    session = WaylandSession(options, dictionary, weston, "en", "portal")
    portal = PortalService(os.path.join(options.work, "portal.log"))
    try:
        program = session.start("--visible")
        dialog = session.dialog()
        check(native_client(program.pid), "vocabra-tray runs as a native Wayland client and shows its dialog")
        bound = [None]

        def asked():
            bound[0] = portal.ask("bound")
            return bound[0] != "none"
        ds.wait_until(asked, 15, "the program asks the portal for its shortcut")
        check(bound[0] == "bound Translate the clipboard with Vocabra", "it binds the portal's shortcut (%s)" % bound[0])
        weston.screenshot(os.path.join(session.shots, "dialog.png"))

        translate_in_dialog(session, dialog, "Wayland")
        check_rendered(session, "Wayland", "answer-window.png")
        session.close_answer("Wayland")

        # Another Wayland client's clipboard, with the dialog shown; then with it hidden, when the
        # program has no window the compositor would offer the clipboard to.
        weston.copy("shown")
        check(portal.ask("activate") == "activated 1", "the desktop reports the shortcut pressed")
        session.answer("shown")
        check(True, "which translates the clipboard that wl-copy set")
        session.close_answer("shown")
        check(session.dialog_shows(), "and the dialog stays")
        session.close_dialog()
        check(program.running(), "closing the dialog hides it; the program keeps running")

        weston.copy("hidden")
        check(portal.ask("activate") == "activated 1", "the shortcut is pressed again")
        session.answer("hidden")
        check(not session.dialog_shows(), "with the dialog hidden, the clipboard is translated and the dialog "
                                          "hidden again")
        session.close_answer("hidden")

        weston.copy("command")
        check(session.run(COMMAND_SWITCH) == 0, "a second start with %s exits with 0" % COMMAND_SWITCH)
        session.answer("command")
        check(not session.dialog_shows(), "and the running copy translates the clipboard without its dialog")
        session.close_answer("command")

        tray_follows_watcher(session)
        check(session.run() == 0 and session.dialog() is not None, "a second start shows the running copy's dialog")
        check(session.run("--exit") == 0 and program.wait_exit(15) == 0, "--exit ends the program with 0")
        session.check_clean_log()
    finally:
        portal.stop()


def tray_follows_watcher(session):
    """The icon is a StatusNotifierItem while a watcher runs; without one it falls back to the
    XEmbed icon, for which a Wayland desktop has no tray: the program runs on."""
    with NotifierWatcher(os.path.join(session.work, "watcher.log")) as watcher:
        check(watcher.wait_registered(15) is not None, "when a watcher appears, the program registers its item")
    check(session.run() == 0 and session.dialog() is not None and session.program.running(),
          "when it goes, the program runs on without a tray and still answers a second start")
    session.close_dialog()


def no_portal_run(options, dictionary, weston):
    """No portal: started by the command a desktop shortcut runs, the program translates the
    clipboard after its start, and its dialog names that command, here in Russian."""
    session = WaylandSession(options, dictionary, weston, "ru", "no-portal")
    weston.copy("первый")
    program = session.start(COMMAND_SWITCH)
    session.answer("первый")
    check(not session.dialog_shows(), "started with %s and no copy running, the program translates the "
                                      "clipboard after its start, without its dialog" % COMMAND_SWITCH)
    session.close_answer("первый")
    check(session.run() == 0, "a second start exits with 0")
    dialog = session.dialog()
    command = "%s %s" % (os.path.realpath(session.folder.executable), COMMAND_SWITCH)

    def note():
        labels = [session.accessible.text(label) for label in session.accessible.find_all(dialog, Atspi.Role.LABEL)]
        return [text for text in labels if command in text]
    found = ds.wait_until(note, 15, "the dialog names the command")
    check("сочетание клавиш с командой" in found[0], "the Russian dialog says to bind %r to a shortcut" % command)
    weston.screenshot(os.path.join(session.shots, "dialog-no-portal-ru.png"))
    check(session.run("--exit") == 0 and program.wait_exit(15) == 0, "--exit ends the program with 0")
    session.check_clean_log()


def main():
    options = parse_options()
    ds.check_environment()
    shutil.rmtree(options.work, ignore_errors=True)
    os.makedirs(options.work)
    with ds.FakeDictionary(title=page_title, style="body { background: %s; }" % PAGE_COLOUR) as dictionary, \
            Weston(options.work) as weston:
        try:
            portal_run(options, dictionary, weston)
            no_portal_run(options, dictionary, weston)
        except (Failure, ds.WaitTimedOut) as failure:
            weston.screenshot(os.path.join(options.work, "failure.png"))
            dictionary.print_requests()
            print("FAIL " + str(failure), flush=True)
            return 1
        finally:
            for program in STARTED:
                program.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
