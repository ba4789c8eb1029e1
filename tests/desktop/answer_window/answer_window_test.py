#!/usr/bin/python3
"""The answer window library in a process of its own, loaded by answer_window_driver the way the
desktop program loads it, against a local dictionary server, on an X display.

usage: answer_window_test.py --driver <exe> --library <.so> --icon <.ico> --work <folder> [--sanitized]
       (needs DISPLAY and a session bus: run it through dbus-run-session and tools/with-display)

What the windows do is observed from outside wherever the system can tell: requests at the fake
dictionary, and the X server's windows, names, geometry, focus and properties. What only the
process knows (its GTK windows, its callbacks, its memory) the driver reports. There is no window
manager under Xvfb: a window is where it asked to be, and closing one is the window manager's
protocol message (WM_DELETE_WINDOW), sent here as a window manager would send it.

--sanitized: the driver and the library are built with AddressSanitizer. Its leak report then
fails the test when memory that the library or the driver allocated itself was not freed (an
answer window object that Dispose did not free, say).
"""

import argparse
import contextlib
import ctypes
import os
import queue
import re
import shutil
import socket
import subprocess
import sys
import threading
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "e2e"))

from checks import Failure, check, run_or_exit
from fake_dictionary import FakeDictionary
from wine_session import geometry, wait_until, window_name, xdotool

DEADLINE = 30  # seconds for anything the web engine does; far more than it takes
UNTITLED = "Vocabra"
PAGES = {
    "answer.html": ("Ответ: слово", "<h1>Перевод слова</h1><p>слово — word, term</p>"),
    "second.html": ("Второй ответ", "<p>второй ответ</p>"),
    # A page that tries to open a window by itself, and a link into a new window that covers it
    # all, so that a click anywhere in the window is a click on the link.
    "links.html": ("Ссылки",
                   "<a href='/pages/linked.html' target='_blank' style='position:fixed;left:0;top:0;"
                   "width:100%;height:100%;background:#cdf'>ссылка</a>"),
    "linked.html": ("Открыто по ссылке", "<p>открыто по ссылке</p>"),
    # Its text selected as it loads; its title tells the width of its viewport in CSS pixels,
    # which the page's zoom divides.
    "select.html": ("выделение", "<p id='text'>выделенный текст</p>"),
}
SELECTED_TEXT = "выделенный текст"
SCRIPTS = {
    "links.html": "<script>window.open('/pages/popup.html');</script>",
    "select.html": "<script>function size() { document.title = 'width ' + window.innerWidth; }"
                   "addEventListener('load', function() {"
                   " getSelection().selectAllChildren(document.getElementById('text')); size(); });"
                   "addEventListener('resize', size);</script>",
}


def write_pages(folder):
    os.makedirs(folder, exist_ok=True)
    for name, (title, body) in PAGES.items():
        script = SCRIPTS.get(name, "")
        page = ("<!DOCTYPE html><html><head><meta charset='utf-8'>%s<title>%s</title></head>"
                "<body style='background:#ffd'>%s</body></html>" % (script, title, body))
        with open(os.path.join(folder, name), "w", encoding="utf-8") as file:
            file.write(page)


def viewport_width(window):
    """The page's viewport width from the caption of select.html, or None before it is there."""
    match = re.fullmatch(r"width (\d+)", window_name(window) or "")
    return int(match.group(1)) if match else None


def shown_at_zoom(window, width, zoom):
    """The page of a window `width` pixels wide shows at `zoom` percent: its viewport is that much
    narrower (to a pixel: the engine rounds)."""
    return wait_until(lambda: viewport_width(window) is not None
                      and abs(viewport_width(window) - width * 100 / zoom) <= 1, DEADLINE)


def clipboard_text():
    result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], stdin=subprocess.DEVNULL,
                            capture_output=True, timeout=DEADLINE)
    return result.stdout.decode("utf-8", "replace") if result.returncode == 0 else None


class SettingsPortal:
    """fake_settings_portal.py: the desktop's colour scheme as the settings portal publishes it."""

    def __init__(self, scheme):
        script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fake_settings_portal.py")
        self.process = subprocess.Popen(["/usr/bin/python3", script, str(scheme)], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, text=True)
        if self.process.stdout.readline().strip() != "ready":
            raise Failure("the fake settings portal did not start")

    def set_scheme(self, scheme):
        self.process.stdin.write("scheme %d\n" % scheme)
        self.process.stdin.flush()
        self.process.stdout.readline()

    def stop(self):
        self.process.stdin.close()
        self.process.wait(DEADLINE)


def closed_port():
    """A local port nobody listens on."""
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class Driver:
    """The driver process: commands in, replies and callback events out, read with deadlines."""

    def __init__(self, driver, library, log, env=None):
        self.log = log
        self._log = open(log, "w")
        self.process = subprocess.Popen([driver, library], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=self._log, text=True, encoding="utf-8", env=env)
        self._lines = queue.Queue()
        self.events = []  # every line the driver said, in order
        threading.Thread(target=self._read, daemon=True).start()
        self.expect("ready")

    def _read(self):
        for line in self.process.stdout:
            self._lines.put(line.rstrip("\n"))
        self._lines.put(None)

    def expect(self, prefix, timeout=DEADLINE):
        """The next line starting with `prefix`; lines before it are kept in `events` too."""
        deadline = time.monotonic() + timeout
        while True:
            try:
                line = self._lines.get(timeout=max(0.0, deadline - time.monotonic()))
            except queue.Empty:
                raise Failure("the driver did not say %r within %d s" % (prefix, timeout))
            if line is None:
                raise Failure("the driver ended (status %s) while waiting for %r" % (self.process.wait(), prefix))
            self.events.append(line)
            if line.startswith(prefix):
                return line

    def ask(self, command, reply):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()
        return self.expect(reply)

    def show(self, name, width, height, url):
        """When ShowUrl was called, on the clock of time.monotonic()."""
        return float(self.ask("show %s %d %d %s" % (name, width, height, url), "shown " + name).split()[2])

    def toplevels(self):
        return int(self.ask("toplevels", "toplevels").split()[1])

    def resident_kb(self):
        return int(self.ask("rss", "rss").split()[1])

    def count(self, line):
        return self.events.count(line)

    def quit(self):
        self.process.stdin.write("quit\n")
        self.process.stdin.flush()
        return self.process.wait(DEADLINE)

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self._log.close()


class Display:
    """What a window manager would do, through Xlib: ask a window to close."""

    def __init__(self):
        self._x = ctypes.CDLL("libX11.so.6")
        self._x.XOpenDisplay.restype = ctypes.c_void_p
        self._x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self._x.XInternAtom.restype = ctypes.c_ulong
        self._x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        self._x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
        self._x.XFlush.argtypes = [ctypes.c_void_p]
        self._x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self._display = self._x.XOpenDisplay(None)
        if not self._display:
            raise Failure("cannot open the display %s" % os.environ.get("DISPLAY"))

    class _ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                    ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5),
                    ("pad", ctypes.c_long * 24)]  # the rest of the XEvent union

    def request_close(self, window):
        """The WM_DELETE_WINDOW message of ICCCM, as a window manager's close button sends it."""
        client_message = 33
        event = self._ClientMessage(type=client_message, display=self._display, window=window, format=32,
                                    message_type=self._x.XInternAtom(self._display, b"WM_PROTOCOLS", 0))
        event.data[0] = self._x.XInternAtom(self._display, b"WM_DELETE_WINDOW", 0)
        event.data[1] = 0  # CurrentTime
        if not self._x.XSendEvent(self._display, window, 0, 0, ctypes.byref(event)):
            raise Failure("cannot send WM_DELETE_WINDOW to window %d" % window)
        self._x.XFlush(self._display)

    def close(self):
        self._x.XCloseDisplay(self._display)


def visible_windows(pid):
    return {int(w) for w in xdotool("search", "--onlyvisible", "--pid", str(pid)).split()}


def new_window(pid, known):
    """The one window of the process that has appeared beside `known`, once it is there."""
    appeared = wait_until(lambda: visible_windows(pid) - known, DEADLINE)
    if not appeared or len(appeared) != 1:
        raise Failure("expected one new window of the driver, got %s" % sorted(appeared or []))
    return appeared.pop()


def window_property(window, name):
    result = subprocess.run(["xprop", "-id", str(window), name], stdin=subprocess.DEVNULL, capture_output=True,
                            text=True)
    return result.stdout.strip()


def screen_size():
    width, height = xdotool("getdisplaygeometry").split()
    return int(width), int(height)


def web_engine_processes(pid):
    """Processes the driver has started: the web engine's network and web processes."""
    children = []
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            with contextlib.suppress(OSError):
                with open("/proc/%s/stat" % entry) as stat:
                    fields = stat.read().rsplit(")", 1)[1].split()
                if fields[0] != "Z" and int(fields[1]) == pid:
                    children.append(int(entry))
    return children


def proportional_kb(pid):
    """The process's share of the memory it uses (PSS): pages shared with others count in part."""
    with contextlib.suppress(OSError):
        with open("/proc/%d/smaps_rollup" % pid) as rollup:
            return int(re.search(r"^Pss:\s+(\d+)", rollup.read(), re.MULTILINE).group(1))
    return 0


def colours_of(window, path):
    """The number of distinct colours in a picture of the window (saved at `path`): one while the
    window is blank or black, more once a page is drawn in it."""
    subprocess.run(["import", "-window", str(window), path], stdin=subprocess.DEVNULL, capture_output=True,
                   timeout=DEADLINE)
    result = subprocess.run(["identify", "-format", "%k", path], stdin=subprocess.DEVNULL,
                            capture_output=True, text=True, timeout=DEADLINE)
    return int(result.stdout.strip() or 0)


def wait_for_caption(window, caption):
    return wait_until(lambda: window_name(window) == caption, DEADLINE)


def wait_for_request(dictionary, path):
    return dictionary.wait_for(lambda request: request.path == path, DEADLINE)


# Where a leak comes from when our own code allocated it: the library's and the driver's sources,
# or their files where a frame has no source line.
OUR_CODE = ("answerwindow/", "tests/desktop/answer_window/", "libvocabra-answer-window.so",
            "answer_window_driver+")


def sanitized_environment():
    """LeakSanitizer reports at the driver's end, into its log, without deciding its exit status:
    the system's libraries keep memory of their own till the end (fontconfig, GLib's slices, the
    dynamic loader), which is no fault of ours. Their thread-local storage is not scanned: the
    scan crashed in the web engine's threads ("Tracer caught signal 11")."""
    return dict(os.environ, LSAN_OPTIONS="use_tls=0:exitcode=0")


def leaks_of_our_code(report):
    """The leaks in a LeakSanitizer report whose memory our code allocated itself: the first frame
    after the allocator's, past the standard library's templates inlined into our code, is ours."""
    leaks = []
    for leak in re.split(r"\n(?=(?:Direct|Indirect) leak of )", report)[1:]:
        frames = [line for line in leak.splitlines()[1:] if re.match(r"\s+#[1-9]\d* ", line)]
        callers = [frame for frame in frames if "/usr/include/c++/" not in frame]
        if callers and any(ours in callers[0] for ours in OUR_CODE):
            leaks.append(leak.strip())
    return leaks


def run(args):
    shutil.rmtree(args.work, ignore_errors=True)
    write_pages(os.path.join(args.work, "pages"))
    env = sanitized_environment() if args.sanitized else None
    # The desktop prefers dark frames from the start.
    portal = SettingsPortal(1)
    with FakeDictionary(pages=os.path.join(args.work, "pages")) as dictionary:
        checks = WindowChecks(Driver(args.driver, args.library, os.path.join(args.work, "driver.log"), env),
                              dictionary, args.work)
        try:
            checks.on_demand(args.icon)
            checks.dark_frames(portal)
            checks.later_answers()
            checks.keys()
            checks.sizes_come_back()
            checks.scaled_display(args, env)
            checks.second_window_and_links()
            checks.closing_by_the_user()
            checks.failed_page_and_dispose()
            checks.driver_ends()
            if args.sanitized:
                checks.nothing_of_ours_leaked()
        except Failure:
            dictionary.print_requests()
            raise
        finally:
            checks.stop()
            portal.stop()
    for name, value in checks.measured.items():
        print("     %s: %s" % (name, value))


class WindowChecks:
    """The checks, in the order of a window's life; each group starts where the one before ended."""

    def __init__(self, driver, dictionary, work):
        self.driver = driver
        self.dictionary = dictionary
        self.work = work
        self.display = Display()
        self.pid = driver.process.pid
        self.base = "http://127.0.0.1:%d" % dictionary.port
        self.measured = {}
        self.a = self.b = None  # the X windows of the driver's windows A and B
        self.engine_processes = 0  # with one window shown
        self.engine = set()  # their process ids

    def stop(self):
        self.display.close()
        self.driver.stop()

    def picture(self, name):
        return os.path.join(self.work, name)

    def on_demand(self, icon):
        """Nothing of a window before its first answer; then the request, the window, its size, place,
        caption, icon and focus."""
        driver, pid = self.driver, self.pid
        self.measured["resident before the library (kB)"] = driver.resident_kb()
        check(driver.ask("dark", "dark") == "dark 0", "GTK prefers no dark theme before the library is loaded")
        check(driver.ask("create A dispose %s" % icon, "created A") == "created A", "a window object is made")
        self.measured["resident with the library loaded (kB)"] = driver.resident_kb()
        check(driver.toplevels() == 0, "no GTK window exists before the first answer")
        check(not visible_windows(pid), "nothing is shown before the first answer")
        check(not web_engine_processes(pid), "the web engine has started no process before the first answer")

        shown = driver.show("A", 600, 400, self.base + "/pages/answer.html?word=слово")
        request = wait_for_request(self.dictionary, "/pages/answer.html")
        check(request is not None and request.query.get("word") == ["слово"],
              "the first answer's request reaches the dictionary with its word intact")
        self.measured["ShowUrl to request, first window (ms)"] = round((request.arrived - shown) * 1000)
        a = self.a = new_window(pid, set())
        check(window_property(a, "WM_WINDOW_ROLE") == 'WM_WINDOW_ROLE(STRING) = "answer"',
              "the answer window is a top-level window with the role \"answer\"")
        width, height = screen_size()
        check(geometry(a) == ((width - 600) // 2, (height - 400) // 2, 600, 400),
              "a 600 x 400 answer is that size, centred on the %dx%d screen: %s" % (width, height, geometry(a)))
        check(wait_for_caption(a, PAGES["answer.html"][0]), "the caption becomes the page's title")
        check(wait_until(lambda: xdotool("getwindowfocus") == str(a), DEADLINE), "the answer window has the focus")
        check(window_property(a, "_NET_WM_ICON").startswith("_NET_WM_ICON(CARDINAL)"),
              "the window shows the service's icon")
        check(wait_until(lambda: colours_of(a, self.picture("answer.png")) > 1, DEADLINE),
              "the page is drawn (picture in %s)" % self.picture("answer.png"))
        check(driver.toplevels() == 1, "the process has one GTK window")
        check(web_engine_processes(pid), "the web engine runs for the shown window")
        self.measured["resident with the first answer shown (kB)"] = driver.resident_kb()
        self.measured["the driver's share with the first answer shown (kB, PSS)"] = proportional_kb(pid)
        engine = web_engine_processes(pid)
        self.engine_processes = len(engine)
        self.engine = set(engine)
        self.measured["web engine processes with one window"] = "%d, together %d kB (PSS)" % (
            len(engine), sum(proportional_kb(child) for child in engine))

    def dark_frames(self, portal):
        """The frames follow the desktop's colour scheme from the portal, and its changes; with no
        preference GTK's own setting (here: light) stays."""
        driver = self.driver

        def dark_becomes(value):
            return wait_until(lambda: driver.ask("dark", "dark") == "dark %d" % value, DEADLINE)

        check(dark_becomes(1), "a desktop that prefers dark gives the windows dark frames")
        portal.set_scheme(2)
        check(dark_becomes(0), "the frames turn light when the desktop prefers light")
        portal.set_scheme(1)
        check(dark_becomes(1), "and dark again when it prefers dark")
        portal.set_scheme(0)
        check(dark_becomes(0), "no preference leaves GTK's own setting")

    def focus(self, window):
        xdotool("windowfocus", "--sync", str(window))
        check(wait_until(lambda: xdotool("getwindowfocus") == str(window), DEADLINE),
              "window %d has the focus" % window)

    def open_select_page(self, name, remembered, width, height):
        """A window made through the remembering export with (zoom, width, height) kept, showing
        select.html at the service's size; its X window."""
        self.driver.ask("remember %s keep - %d %d %d" % ((name,) + remembered), "created " + name)
        known = visible_windows(self.pid)
        self.driver.show(name, width, height, self.base + "/pages/select.html")
        window = new_window(self.pid, known)
        check(wait_until(lambda: viewport_width(window) is not None, DEADLINE), "the page tells its width")
        return window

    def keys(self):
        """Esc closes; Ctrl+C copies the page's selection; Ctrl with plus, minus and 0 zooms, the
        program learns each new zoom, and a window opened with a zoom kept shows its page at it."""
        driver = self.driver
        e = self.open_select_page("E", (0, 0, 0), 600, 400)
        self.focus(e)
        check(shown_at_zoom(e, 600, 100), "a window with no zoom kept shows its page at 100 %")

        xdotool("key", "--clearmodifiers", "ctrl+c")
        check(wait_until(lambda: clipboard_text() == SELECTED_TEXT, DEADLINE),
              "Ctrl+C puts the page's selection on the clipboard: %r" % clipboard_text())

        xdotool("key", "--clearmodifiers", "ctrl+plus")
        larger = int(driver.expect("changed E ").split()[2])
        check(larger > 100 and driver.events[-1] == "changed E %d 0 0" % larger,
              "Ctrl+plus zooms in and reports the zoom alone: %s" % driver.events[-1])
        check(shown_at_zoom(e, 600, larger), "the page shows at %d %%: %s" % (larger, window_name(e)))
        xdotool("key", "--clearmodifiers", "ctrl+minus")
        xdotool("key", "--clearmodifiers", "ctrl+minus")
        back = int(driver.expect("changed E ").split()[2])
        smaller = int(driver.expect("changed E ").split()[2])
        check(back == 100 and smaller < 100, "Ctrl+minus zooms out step by step: %d, %d" % (back, smaller))
        check(shown_at_zoom(e, 600, smaller), "the page shows at %d %%: %s" % (smaller, window_name(e)))
        xdotool("key", "--clearmodifiers", "ctrl+0")
        check(driver.expect("changed E ") == "changed E 100 0 0", "Ctrl+0 gives the page its own size again")
        check(shown_at_zoom(e, 600, 100), "the page shows at 100 %% again: %s" % window_name(e))

        f = self.open_select_page("F", (larger, 0, 0), 600, 400)
        check(shown_at_zoom(f, 600, larger), "the next window of the service opens at its kept zoom %d %%: %s"
              % (larger, window_name(f)))
        self.focus(f)
        xdotool("key", "--clearmodifiers", "Escape")
        driver.expect("closed F")
        check(wait_until(lambda: f not in visible_windows(self.pid), DEADLINE), "Esc closes the window")
        check(driver.count("closed E") == 0, "only the window that had the focus closed")
        check(not [line for line in driver.events if line.startswith("changed F")],
              "a window the user did not resize or zoom reports nothing")
        driver.ask("dispose F", "disposed F")
        self.e = e

    def sizes_come_back(self):
        """The size the user gives a window is reported when it ends (disposed of or closed by the
        user) and comes back in the next window; one larger than the screen is shrunk onto it."""
        driver, e = self.driver, self.e
        xdotool("windowsize", "--sync", str(e), "700", "500")
        check(wait_until(lambda: geometry(e)[2:] == (700, 500), DEADLINE), "the user makes the window 700 x 500")
        driver.ask("dispose E", "disposed E")
        check(driver.events[-2] == "changed E 0 700 500", "its owner learns the size as it ends it: %s"
              % driver.events[-2])

        g = self.open_select_page("G", (0, 700, 500), 600, 400)
        width, height = screen_size()
        check(geometry(g) == ((width - 700) // 2, (height - 500) // 2, 700, 500),
              "the next window takes the kept size over the service's, centred: %s" % (geometry(g),))
        xdotool("windowsize", "--sync", str(g), "650", "450")
        check(wait_until(lambda: geometry(g)[2:] == (650, 450), DEADLINE), "the user makes it 650 x 450")
        self.display.request_close(g)
        check(driver.expect("changed G") == "changed G 0 650 450" and driver.expect("closed G") == "closed G",
              "a window the user closes reports its size before it reports its closing")
        driver.ask("dispose G", "disposed G")

        h = self.open_select_page("H", (0, width * 3, height * 3), 600, 400)
        x, y, w, h_ = geometry(h)
        check(x >= 0 and y >= 0 and x + w <= width and y + h_ <= height and (w, h_) != (600, 400),
              "a kept size larger than the screen is shrunk onto it: %s" % ((x, y, w, h_),))
        driver.ask("dispose H", "disposed H")
        check(not [line for line in driver.events if line.startswith("changed H")],
              "a window shrunk to fit reports no size of the user's")

    def scaled_display(self, args, env):
        """With GTK's scale factor 2 a service's size in 96-DPI units is twice as many pixels."""
        scaled = Driver(args.driver, args.library, os.path.join(self.work, "driver-scaled.log"),
                        dict(env or os.environ, GDK_SCALE="2"))
        try:
            scaled.ask("remember S keep - 0 0 0", "created S")
            scaled.show("S", 600, 400, self.base + "/pages/answer.html?scaled=1")
            s = new_window(scaled.process.pid, set())
            width, height = screen_size()
            expected = (min(1200, width), min(800, height))
            check(wait_until(lambda: geometry(s)[2:] == expected, DEADLINE),
                  "a 600 x 400 answer at scale 2 is %d x %d pixels: %s" % (expected + (geometry(s),)))
            x, y = geometry(s)[:2]
            check(abs(x - (width - expected[0]) // 2) <= 1 and abs(y - (height - expected[1]) // 2) <= 1,
                  "and centred on the screen: %s" % (geometry(s),))
            scaled.ask("dispose S", "disposed S")
            check(scaled.quit() == 0, "the scaled driver ends cleanly")
        finally:
            scaled.stop()

    def later_answers(self):
        """Later answers go to the same window; sizes apply only when the service gives both."""
        a = self.a
        shown = self.driver.show("A", 0, 0, self.base + "/pages/second.html")
        request = wait_for_request(self.dictionary, "/pages/second.html")
        check(request is not None, "a later answer's request reaches the dictionary")
        self.measured["ShowUrl to request, later answer (ms)"] = round((request.arrived - shown) * 1000)
        check(wait_for_caption(a, PAGES["second.html"][0]), "the same window's caption follows the new page")
        check(visible_windows(self.pid) == {a}, "the later answer is shown in the same window")
        check(geometry(a)[2:] == (600, 400), "an answer without sizes leaves the window's size as it is")
        self.driver.show("A", 0, 0, self.base + "/untitled")
        check(wait_for_caption(a, UNTITLED), "a page without a title gives the caption \"%s\"" % UNTITLED)

    def second_window_and_links(self):
        """A second window: the default size, no icon, and links into new windows."""
        driver, pid = self.driver, self.pid
        driver.ask("create B keep -", "created B")
        shown = driver.show("B", 0, 0, self.base + "/pages/links.html")
        request = wait_for_request(self.dictionary, "/pages/links.html")
        check(request is not None, "the second window's request reaches the dictionary")
        self.measured["ShowUrl to request, second window (ms)"] = round((request.arrived - shown) * 1000)
        b = self.b = new_window(pid, {self.a})
        check(wait_for_caption(b, PAGES["links.html"][0]), "a second window shows its own page")
        check(geometry(b)[2:] == (800, 600), "an answer without sizes gets 800 x 600: %s" % (geometry(b),))
        engine = web_engine_processes(pid)
        check(len(engine) == self.engine_processes, "the second window shares the first one's web process")
        self.measured["web engine processes with two windows"] = "%d, together %d kB (PSS)" % (
            len(engine), sum(proportional_kb(child) for child in engine))
        check(window_property(b, "_NET_WM_ICON").endswith("not found."), "a window without an icon file has none")
        check(wait_until(lambda: xdotool("getwindowfocus") == str(b), DEADLINE), "the new answer window has the focus")
        x, y, width, height = geometry(b)
        xdotool("mousemove", "--sync", str(x + width // 2), str(y + height // 2), "click", "1")
        check(wait_for_request(self.dictionary, "/pages/linked.html") is not None,
              "a link into a new window is followed")
        check(wait_for_caption(b, PAGES["linked.html"][0]), "the linked page is shown in the window of the link")
        check(visible_windows(pid) == {self.a, b} and driver.toplevels() == 2, "no window was opened for the link")
        check(not [r for r in self.dictionary.requests() if r.path == "/pages/popup.html"],
              "a window that the page opens by itself is not opened")

    def closing_by_the_user(self):
        """Each closed window calls back once; its owner ends it inside the callback (A) or later (B)."""
        driver, pid = self.driver, self.pid
        self.display.request_close(self.a)
        driver.expect("closed A")
        driver.expect("disposed A")
        check(wait_until(lambda: self.a not in visible_windows(pid), DEADLINE), "the closed window has gone")
        self.display.request_close(self.b)
        driver.expect("closed B")
        check(wait_until(lambda: self.b not in visible_windows(pid), DEADLINE), "the second closed window has gone")
        check(driver.toplevels() == 0, "no GTK window is left of the closed windows")
        driver.ask("dispose B", "disposed B")
        check(driver.count("closed A") == 1 and driver.count("closed B") == 1,
              "closing called back once for each window, disposed of inside the callback or after it")
        check(set(web_engine_processes(pid)) == self.engine,
              "the web engine's processes stay for the next answer when the last window has closed")

    def failed_page_and_dispose(self):
        """A server that does not answer; the owner ending an open window and one never shown."""
        driver = self.driver
        driver.ask("create C keep -", "created C")
        driver.show("C", 0, 0, "http://127.0.0.1:%d/" % closed_port())
        c = new_window(self.pid, set())
        check(set(web_engine_processes(self.pid)) == self.engine, "and the next window's answer uses them")
        check(wait_until(lambda: colours_of(c, self.picture("unreachable.png")) > 1, DEADLINE),
              "an unreachable server gives the engine's error page (picture in %s)" % self.picture("unreachable.png"))
        driver.show("C", 0, 0, self.base + "/pages/answer.html?again=1")
        check(wait_until(lambda: [r for r in self.dictionary.requests() if "again" in r.query], DEADLINE),
              "the window still works after the failed page")
        check(wait_for_caption(c, PAGES["answer.html"][0]), "and shows the next answer")
        driver.ask("dispose C", "disposed C")
        check(wait_until(lambda: c not in visible_windows(self.pid), DEADLINE), "Dispose closes an open window")
        driver.ask("create D keep -", "created D")
        driver.ask("dispose D", "disposed D")
        check(driver.toplevels() == 0, "no GTK window is left after Dispose")
        check(driver.count("closed C") == 0 and driver.count("closed D") == 0,
              "Dispose calls nobody back, shown or never shown")
        check(not [e for e in driver.events if e.startswith("closed-after-dispose")], "no callback after Dispose")

    def driver_ends(self):
        status = self.driver.quit()
        check(status == 0, "the driver ends cleanly (status %d; its errors are in %s)" % (status, self.driver.log))

    def nothing_of_ours_leaked(self):
        with open(self.driver.log, encoding="utf-8", errors="replace") as log:
            report = log.read()
        check("LeakSanitizer" not in report or "SUMMARY: AddressSanitizer" in report,
              "the leak check ran to its end")
        leaks = leaks_of_our_code(report)
        check(not leaks, "no memory of the library or the driver leaked%s" % "".join("\n" + leak for leak in leaks))


def main():
    parser = argparse.ArgumentParser()
    for option in ("--driver", "--library", "--icon", "--work"):
        parser.add_argument(option, required=True)
    parser.add_argument("--sanitized", action="store_true")
    args = parser.parse_args()
    run_or_exit(run, args)


if __name__ == "__main__":
    main()
