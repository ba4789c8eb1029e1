"""The X display, session bus and processes of a desktop test, observed and driven from outside.

Tests run as `tools/with-display dbus-run-session -- /usr/bin/python3 <test>.py`: DISPLAY and
DBUS_SESSION_BUS_ADDRESS are set already, and this module starts neither an X server nor a bus.
Nothing here sleeps a fixed time in place of a condition: every wait has a deadline and raises
WaitTimedOut, saying what did not happen, when the deadline passes. Import it with
sys.dont_write_bytecode set, as the tests do, so that nothing is written into the source tree.

Tools: xdotool (search, names, keys, pointer), xclip (the clipboard), ImageMagick's `import` and
`stream` (screenshots and their pixels), and libX11 itself through ctypes for what no tool does
without a window manager: window attributes, the window tree, selection owners, WM_DELETE_WINDOW.
"""

import ctypes
import ctypes.util
import fcntl
import os
import re
import signal
import subprocess
import sys
import tempfile
import threading
import time

# The fake dictionary lives with the Windows end-to-end tests; both suites use the one copy.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "e2e"))
from fake_dictionary import FakeDictionary, Request  # noqa: E402,F401  (re-exported for tests)
import wine_session  # noqa: E402  (its waiting, which returns None where this one raises)


class WaitTimedOut(AssertionError):
    """A condition a test waited for did not come true before its deadline."""


def wait_until(condition, timeout, what, step=0.05):
    """condition()'s first true value; raises WaitTimedOut("<what> ...") after `timeout` seconds."""
    value = wine_session.wait_until(condition, timeout, step)
    if not value:
        raise WaitTimedOut("%s: not so within %.1f s" % (what, timeout))
    return value


def check_environment():
    """Raises unless the test runs with a display and a session bus of its own."""
    missing = [name for name in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS") if not os.environ.get(name)]
    if missing:
        raise RuntimeError("no %s: run the test as `tools/with-display dbus-run-session -- /usr/bin/python3 TEST`"
                           % " and no ".join(missing))


def bus_name_has_owner(name, timeout=10):
    """Whether a client owns `name` on the session bus (org.kde.StatusNotifierWatcher, for instance:
    with one, vocabra-tray shows its icon through it instead of the XEmbed tray)."""
    result = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                             "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", "string:" + name],
                            stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=timeout)
    if result.returncode != 0:
        raise RuntimeError("dbus-send failed: %s" % result.stderr.strip())
    return result.stdout.split()[-1] == "true"


# ---------------------------------------------------------------------------------------------
# libX11 through ctypes


class _XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("border_width", ctypes.c_int), ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                ("root", ctypes.c_ulong), ("c_class", ctypes.c_int), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
                ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
                ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


class _XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _XClientMessageEvent), ("pad", ctypes.c_long * 24)]


_IS_VIEWABLE = 2  # XWindowAttributes.map_state
_CLIENT_MESSAGE = 33


def _load_xlib():
    lib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    ulong, ptr = ctypes.c_ulong, ctypes.c_void_p
    for name, restype, argtypes in [
            ("XOpenDisplay", ptr, [ctypes.c_char_p]),
            ("XCloseDisplay", ctypes.c_int, [ptr]),
            ("XDefaultRootWindow", ulong, [ptr]),
            ("XInternAtom", ulong, [ptr, ctypes.c_char_p, ctypes.c_int]),
            ("XGetSelectionOwner", ulong, [ptr, ulong]),
            ("XQueryTree", ctypes.c_int, [ptr, ulong, ctypes.POINTER(ulong), ctypes.POINTER(ulong),
                                          ctypes.POINTER(ctypes.POINTER(ulong)), ctypes.POINTER(ctypes.c_uint)]),
            ("XGetWindowAttributes", ctypes.c_int, [ptr, ulong, ctypes.POINTER(_XWindowAttributes)]),
            ("XTranslateCoordinates", ctypes.c_int, [ptr, ulong, ulong, ctypes.c_int, ctypes.c_int,
                                                     ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int),
                                                     ctypes.POINTER(ulong)]),
            ("XGetWMProtocols", ctypes.c_int, [ptr, ulong, ctypes.POINTER(ctypes.POINTER(ulong)),
                                               ctypes.POINTER(ctypes.c_int)]),
            ("XSendEvent", ctypes.c_int, [ptr, ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(_XEvent)]),
            ("XSync", ctypes.c_int, [ptr, ctypes.c_int]),
            ("XGetWindowProperty", ctypes.c_int, [ptr, ulong, ulong, ctypes.c_long, ctypes.c_long, ctypes.c_int,
                                                  ulong, ctypes.POINTER(ulong), ctypes.POINTER(ctypes.c_int),
                                                  ctypes.POINTER(ulong), ctypes.POINTER(ulong),
                                                  ctypes.POINTER(ctypes.POINTER(ctypes.c_ubyte))]),
            ("XFree", ctypes.c_int, [ptr])]:
        function = getattr(lib, name)
        function.restype = restype
        function.argtypes = argtypes
    return lib


class _X:
    """One short connection to the display, for a few requests. Xlib's default error handler
    would end the test on a window that is gone; ours records the error, and a caller asks
    `failed()` after XSync."""

    _lib = None
    _handler = None
    _errors = 0

    def __init__(self):
        if _X._lib is None:
            _X._lib = _load_xlib()
            handler_type = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
            _X._handler = handler_type(_X._record_error)  # kept: Xlib holds only the pointer
            _X._lib.XSetErrorHandler.argtypes = [handler_type]
            _X._lib.XSetErrorHandler(_X._handler)
        self.lib = _X._lib
        self.display = self.lib.XOpenDisplay(None)
        if not self.display:
            raise RuntimeError("cannot open the X display %r" % os.environ.get("DISPLAY"))

    @staticmethod
    def _record_error(display, event):
        _X._errors += 1
        return 0

    def __enter__(self):
        self.lib.XSync(self.display, 0)
        _X._errors = 0
        return self

    def __exit__(self, *exc):
        self.lib.XCloseDisplay(self.display)

    def failed(self):
        self.lib.XSync(self.display, 0)
        return _X._errors > 0

    def atom(self, name):
        return self.lib.XInternAtom(self.display, name.encode(), 0)

    def root(self):
        return self.lib.XDefaultRootWindow(self.display)

    def attributes(self, window):
        attributes = _XWindowAttributes()
        if not self.lib.XGetWindowAttributes(self.display, window, ctypes.byref(attributes)) or self.failed():
            return None
        return attributes

    def utf8_property(self, window, name):
        """A UTF8_STRING property's text, or None."""
        kind, unit, count, left = ctypes.c_ulong(), ctypes.c_int(), ctypes.c_ulong(), ctypes.c_ulong()
        data = ctypes.POINTER(ctypes.c_ubyte)()
        found = self.lib.XGetWindowProperty(self.display, window, self.atom(name), 0, 65536, 0,
                                            self.atom("UTF8_STRING"), ctypes.byref(kind), ctypes.byref(unit),
                                            ctypes.byref(count), ctypes.byref(left), ctypes.byref(data))
        if found != 0 or self.failed() or not data:
            return None
        try:
            if kind.value == 0 or unit.value != 8:
                return None
            return bytes(data[:count.value]).decode("utf-8", "replace")
        finally:
            self.lib.XFree(data)

    def root_position(self, window):
        x, y, child = ctypes.c_int(), ctypes.c_int(), ctypes.c_ulong()
        self.lib.XTranslateCoordinates(self.display, window, self.root(), 0, 0, ctypes.byref(x), ctypes.byref(y),
                                       ctypes.byref(child))
        return None if self.failed() else (x.value, y.value)

    def children(self, window):
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        children, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
        if not self.lib.XQueryTree(self.display, window, ctypes.byref(root), ctypes.byref(parent),
                                   ctypes.byref(children), ctypes.byref(count)) or self.failed():
            return []
        found = [children[i] for i in range(count.value)]  # bottom to top in stacking order
        if children:
            self.lib.XFree(children)
        return found

    def protocols(self, window):
        atoms, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_int()
        if not self.lib.XGetWMProtocols(self.display, window, ctypes.byref(atoms), ctypes.byref(count)):
            return []
        found = [atoms[i] for i in range(count.value)]
        self.lib.XFree(atoms)
        return found


# ---------------------------------------------------------------------------------------------
# The tray host


class TrayHost:
    """The test's own notification area (vocabra_test_tray_host), as a context manager.

    Every line the host reports is kept: `docked 0x<icon> x y w h` (root coordinates of an icon
    that shows), `undocked 0x<icon>` (hidden, destroyed, or taken away)."""

    def __init__(self, path, timeout=10):
        self.path = path
        self.timeout = timeout
        self.window = None  # the host's own window, once it is ready
        self.exit_code = None  # once stopped: 0 when it ended cleanly on SIGTERM
        self._process = None
        self._reader = None
        self._changed = threading.Condition()
        self._events = []  # ("docked", window, (x, y, w, h)) or ("undocked", window, None)
        self._next_docked = 0  # index into _events where wait_docked looks next
        self._ended = False

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.stop()

    def start(self):
        if not os.access(self.path, os.X_OK):
            raise RuntimeError("no tray host program at %s (build target vocabra_test_tray_host)" % self.path)
        self._process = subprocess.Popen([self.path], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, text=True)
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()
        try:
            with self._changed:
                self._wait(lambda: self.window, self.timeout, "the tray host is ready")
        except BaseException:
            self.stop()  # __exit__ does not run when __enter__ fails
            raise

    def running(self):
        return self._process is not None and self._process.poll() is None

    def stop(self):
        """Ends the host (SIGTERM) and returns its exit code, 0 when it ended cleanly."""
        if self._process is None:
            return self.exit_code
        if self._process.poll() is None:
            self._process.terminate()
        try:
            code = self._process.wait(self.timeout)
        except subprocess.TimeoutExpired:
            self._process.kill()
            code = self._process.wait()
        self._reader.join(self.timeout)
        self._process.stdout.close()
        self._process = None
        self.exit_code = code
        return code

    def _read(self):
        for line in self._process.stdout:
            words = line.split()
            with self._changed:
                if words[:1] == ["ready"]:
                    self.window = int(words[1], 16)
                elif words[:1] == ["docked"]:
                    self._events.append(("docked", int(words[1], 16), tuple(int(w) for w in words[2:6])))
                elif words[:1] == ["undocked"]:
                    self._events.append(("undocked", int(words[1], 16), None))
                self._changed.notify_all()
        with self._changed:
            self._ended = True
            self._changed.notify_all()

    def _wait(self, condition, timeout, what):
        """Under the lock: condition()'s first true value; raises when the host ended or time is up."""
        deadline = time.monotonic() + timeout
        while True:
            value = condition()
            if value:
                return value
            if self._ended:
                code = self._process.wait() if self._process else None
                raise RuntimeError("the tray host ended (exit code %s) while waiting until %s" % (code, what))
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                raise WaitTimedOut("%s: not so within %.1f s (tray host events: %s)"
                                   % (what, timeout, self._describe_events()))
            self._changed.wait(remaining)

    def _describe_events(self):
        return ", ".join("%s 0x%x%s" % (kind, window, "" if place is None else " %s" % (place,))
                         for kind, window, place in self._events) or "none"

    def wait_docked(self, timeout):
        """(window, x, y, w, h) of the next icon docked since the last call: one that the host has
        shown, at root coordinates, w x h in size."""
        def next_docked():
            while self._next_docked < len(self._events):
                kind, window, place = self._events[self._next_docked]
                self._next_docked += 1
                if kind == "docked":
                    return (window,) + place
            return None
        with self._changed:
            return self._wait(next_docked, timeout, "an icon is docked")

    def wait_undocked(self, window, timeout):
        """Returns once the icon's latest event says it is no longer shown in the tray."""
        def undocked():
            latest = [kind for kind, w, _ in self._events if w == window]
            return bool(latest) and latest[-1] == "undocked"
        with self._changed:
            self._wait(undocked, timeout, "icon 0x%x is undocked" % window)

    def icons(self):
        """{window: (x, y, w, h)} of the icons shown in the tray now."""
        shown = {}
        with self._changed:
            for kind, window, place in self._events:
                if kind == "docked":
                    shown[window] = place
                else:
                    shown.pop(window, None)
        return shown


# ---------------------------------------------------------------------------------------------
# The clipboard


def selection_owner(selection="CLIPBOARD"):
    """The window that owns the X selection now, or 0."""
    with _X() as x:
        return x.lib.XGetSelectionOwner(x.display, x.atom(selection))


def read_clipboard(selection="clipboard", timeout=5):
    """The selection's UTF-8 text as its owner serves it now, or None when there is none."""
    result = subprocess.run(["xclip", "-o", "-selection", selection, "-t", "UTF8_STRING"],
                            stdin=subprocess.DEVNULL, capture_output=True, timeout=timeout)
    return result.stdout.decode("utf-8") if result.returncode == 0 else None


class ClipboardOwner:
    """xclip owning a selection with one UTF-8 text. Own it with own_clipboard()."""

    def __init__(self, text, requests=None, selection="clipboard", timeout=5):
        self.text = text
        self.selection = selection
        previous = selection_owner(selection.upper())
        # Our own check below is one more request that xclip counts (requests for TARGETS it does not).
        loops = 0 if requests is None else requests + 1
        self._process = subprocess.Popen(["xclip", "-quiet", "-selection", selection, "-i", "-loops", str(loops)],
                                         stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self._process.stdin.write(text.encode("utf-8"))
        self._process.stdin.close()
        try:
            # Owned by xclip once the owner changed; then its text must come back unchanged.
            atom = selection.upper()
            wait_until(lambda: self._process.poll() is not None or selection_owner(atom) not in (0, previous),
                       timeout, "xclip owns the %s selection" % selection)
            if self._process.poll() is not None:
                raise RuntimeError("xclip ended at once: %s" % self._process.stderr.read().decode(errors="replace"))
            served = read_clipboard(selection, timeout)
            if served != text:
                raise AssertionError("the %s selection serves %r instead of %r" % (selection, served, text))
        except BaseException:
            self.stop()
            raise

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()

    def owning(self):
        """Whether xclip still runs: it ends after the requests asked for, or when another
        client takes the selection."""
        return self._process.poll() is None

    def wait_released(self, timeout):
        """Waits until xclip has served every request it was asked to (or lost the selection)."""
        try:
            self._process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise WaitTimedOut("xclip still owns the %s selection after %.1f s" % (self.selection, timeout))

    def stop(self):
        if self._process.poll() is None:
            self._process.terminate()
        self._process.wait()
        self._process.stderr.close()


def own_clipboard(text, requests=None, selection="clipboard", timeout=5):
    """Owns the selection with `text` (UTF-8) until stop(), or until `requests` transfers of the
    text were served (requests for the list of TARGETS do not count). Returns once the text is
    served, checked with `xclip -o`; that check is not counted."""
    return ClipboardOwner(text, requests, selection, timeout)


# ---------------------------------------------------------------------------------------------
# Keys and the pointer


def _xdotool(*args, timeout=10):
    command = ["xdotool", *[str(a) for a in args]]
    try:
        result = subprocess.run(command, stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        raise WaitTimedOut("%s did not finish within %.1f s" % (" ".join(command), timeout))
    return result.returncode, result.stdout.strip()


def _xdotool_checked(*args, timeout=10):
    code, output = _xdotool(*args, timeout=timeout)
    if code != 0:
        raise RuntimeError("xdotool %s failed (exit code %d)" % (" ".join(str(a) for a in args), code))
    return output


def focus(window, timeout=10):
    """Gives the window the keyboard focus and waits until the server says it has it. Without a
    window manager this is the only way a window gets the focus."""
    _xdotool_checked("windowfocus", "--sync", window, timeout=timeout)


def press_double(key, window=None):
    """Holds Ctrl and taps `key` twice ("c" for Ctrl+C+C, "Insert" for Ctrl+Ins+Ins), as
    `xdotool keydown ctrl key K key K keyup ctrl` does, focusing `window` first when given.
    Returns time.monotonic() taken just before the second release of `key` is sent, by an xdotool
    of its own: the release reaches the server a few milliseconds later (that xdotool's start),
    so latencies measured from it come out that much too long, never too short."""
    if window is not None:
        focus(window)
    try:
        _xdotool_checked("keydown", "ctrl", "key", key, "keydown", key)
        # Ctrl and the key stay down (XTest keeps them across clients) until released below.
        released = time.monotonic()
        _xdotool_checked("keyup", key)
    finally:
        _xdotool_checked("keyup", "ctrl")  # never leave Ctrl held for the rest of the test
    return released


def send_keys(combination, window=None):
    """One key combination in xdotool's spelling ("ctrl+shift+v", "Escape", "F5"), typed through
    XTest like a person would, to `window` (focused first) or to whatever has the focus."""
    if window is not None:
        focus(window)
    _xdotool_checked("key", combination)


def type_text(text, window=None):
    """Text typed key by key through XTest, to `window` (focused first) or to the focused one."""
    if window is not None:
        focus(window)
    _xdotool_checked("type", "--delay", "20", text, timeout=30)


def pointer_position():
    output = _xdotool_checked("getmouselocation", "--shell")
    values = dict(line.split("=", 1) for line in output.splitlines() if "=" in line)
    return int(values["X"]), int(values["Y"])


def click(x, y, button=1):
    """Moves the pointer to root coordinates (x, y), waits until it is there, and clicks."""
    if pointer_position() == (x, y):
        # `mousemove --sync` waits for a motion; with the pointer there already it waited forever
        # here (after a popup menu's grab had ended).
        _xdotool_checked("click", button)
    else:
        _xdotool_checked("mousemove", "--sync", x, y, "click", button)


def double_click(x, y):
    """A double click of the first button at root coordinates (x, y): two clicks 50 ms apart, well
    within GTK's double-click time."""
    if pointer_position() != (x, y):
        _xdotool_checked("mousemove", "--sync", x, y)
    _xdotool_checked("click", "--repeat", 2, "--delay", 50, 1)


def click_window(window, button=1):
    """Clicks the centre of a window."""
    x, y, width, height = window_geometry(window)
    click(x + width // 2, y + height // 2, button)


# ---------------------------------------------------------------------------------------------
# Windows


def find_windows(name=None, pid=None, cls=None, classname=None, visible=False, toplevel=True):
    """Ids of the windows that match every criterion given (xdotool search): `name` a regular
    expression for the title, `pid` the _NET_WM_PID, `cls` / `classname` regular expressions for
    WM_CLASS's class / instance. `visible`: mapped and viewable only. `toplevel`: children of
    the root window only (there is no window manager, so no frames in between)."""
    if name is None and pid is None and cls is None and classname is None:
        raise ValueError("find_windows needs a name, a pid or a class")
    args = ["search", "--all"]
    if visible:
        args.append("--onlyvisible")
    if toplevel:
        args += ["--maxdepth", "1"]
    if pid is not None:
        args += ["--pid", pid]
    for option, pattern in (("--name", name), ("--class", cls), ("--classname", classname)):
        if pattern is not None:
            args += [option, pattern]
    code, output = _xdotool(*args)
    return [int(w) for w in output.split()] if code == 0 else []


def wait_window(timeout, **criteria):
    """The first window that find_windows(**criteria) finds, waiting up to `timeout` seconds."""
    found = wait_until(lambda: find_windows(**criteria), timeout, "a window with %s exists" % criteria)
    return found[0]


def toplevel_windows():
    """Ids of every child of the root window, bottom to top."""
    with _X() as x:
        return x.children(x.root())


def window_exists(window):
    with _X() as x:
        return x.attributes(window) is not None


def window_title(window):
    """The title as the window sets it in UTF-8 (_NET_WM_NAME), else its WM_NAME. xdotool's own
    reading of non-Latin titles depends on the locale the test runs in."""
    with _X() as x:
        title = x.utf8_property(window, "_NET_WM_NAME")
    if title is not None:
        return title
    code, output = _xdotool("getwindowname", window)
    return output if code == 0 else None


def window_pid(window):
    """The window's _NET_WM_PID, or None."""
    code, output = _xdotool("getwindowpid", window)
    return int(output) if code == 0 and output.isdigit() else None


def window_geometry(window):
    """(x, y, width, height) of the window, x and y in root coordinates, asked of the X server
    itself (XGetWindowAttributes, XTranslateCoordinates); also right for child windows such as
    docked icons."""
    with _X() as x:
        attributes = x.attributes(window)
        position = x.root_position(window)
        if attributes is None or position is None:
            raise RuntimeError("window 0x%x does not exist" % window)
        return position + (attributes.width, attributes.height)


def is_visible(window):
    """Whether the window is viewable: mapped, and all its ancestors too."""
    with _X() as x:
        attributes = x.attributes(window)
        return attributes is not None and attributes.map_state == _IS_VIEWABLE


def is_override_redirect(window):
    """Whether the window bypasses window management: popup menus, tooltips, drop-downs."""
    with _X() as x:
        attributes = x.attributes(window)
        return attributes is not None and bool(attributes.override_redirect)


def wait_new_popup(before, timeout, pid=None):
    """A viewable override-redirect top-level window (a popup menu, say) that was not among
    `before` (a toplevel_windows() list), of the process `pid` when given (GTK names its popups'
    pid too)."""
    def new_popups():
        return [w for w in toplevel_windows()
                if w not in before and is_visible(w) and is_override_redirect(w)
                and (pid is None or window_pid(w) == pid)]
    return wait_until(new_popups, timeout, "a new popup window is shown")[-1]


def send_client_message(window, message_type, values):
    """Sends a 32-bit ClientMessage of `message_type` (an atom name) with up to five `values`
    (atom names or numbers) to the window's client, as a window manager or a tray icon would."""
    with _X() as x:
        event = _XEvent()
        event.xclient.type = _CLIENT_MESSAGE
        event.xclient.window = window
        event.xclient.message_type = x.atom(message_type)
        event.xclient.format = 32
        for index, value in enumerate(values):
            event.xclient.data[index] = x.atom(value) if isinstance(value, str) else value
        x.lib.XSendEvent(x.display, window, 0, 0, ctypes.byref(event))
        if x.failed():
            raise RuntimeError("window 0x%x does not exist" % window)


def close_window(window):
    """Asks the window's client to close it, as a window manager's close button does: the ICCCM
    WM_DELETE_WINDOW message. (`xdotool windowclose` destroys the window instead, which a program
    never expects.) Raises when the window does not take part in that protocol."""
    with _X() as x:
        if x.atom("WM_DELETE_WINDOW") not in x.protocols(window):
            raise RuntimeError("window 0x%x does not accept WM_DELETE_WINDOW" % window)
    send_client_message(window, "WM_PROTOCOLS", ["WM_DELETE_WINDOW", 0])  # 0: CurrentTime


def wait_window_gone(window, timeout):
    """Waits until the window is destroyed or no longer viewable."""
    wait_until(lambda: not is_visible(window), timeout, "window 0x%x is gone" % window)


# ---------------------------------------------------------------------------------------------
# Screenshots


def screenshot(path, window=None):
    """Saves the screen (or one viewable window) as an image file; returns the path."""
    target = "root" if window is None else "0x%x" % window
    result = subprocess.run(["import", "-window", target, path], stdin=subprocess.DEVNULL,
                            capture_output=True, text=True, timeout=30)
    if result.returncode != 0 or not os.path.exists(path):
        raise RuntimeError("import -window %s failed: %s" % (target, result.stderr.strip()))
    return path


def image_size(path):
    result = subprocess.run(["identify", "-format", "%w %h", path], stdin=subprocess.DEVNULL,
                            capture_output=True, text=True, timeout=30)
    if result.returncode != 0:
        raise RuntimeError("identify %s failed: %s" % (path, result.stderr.strip()))
    width, height = result.stdout.split()
    return int(width), int(height)


def colour_count(path, region=None):
    """The number of distinct colours in the image, or in its region (x, y, width, height)."""
    width, height = image_size(path)
    x, y, w, h = region if region is not None else (0, 0, width, height)
    if w <= 0 or h <= 0 or x < 0 or y < 0 or x + w > width or y + h > height:
        raise ValueError("region %s is not inside the %dx%d image %s" % ((x, y, w, h), width, height, path))
    result = subprocess.run(["stream", "-map", "rgb", "-storage-type", "char", "-extract",
                             "%dx%d+%d+%d" % (w, h, x, y), path, "-"],
                            stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
    pixels = result.stdout
    if result.returncode != 0 or len(pixels) != 3 * w * h:
        raise RuntimeError("stream could not read %s: %s" % (path, result.stderr.decode(errors="replace")))
    return len({pixels[i:i + 3] for i in range(0, len(pixels), 3)})


def is_flat(path, region=None):
    """Whether the image (or its region) is one colour only: nothing was rendered there."""
    return colour_count(path, region) == 1


# ---------------------------------------------------------------------------------------------
# Processes


class Program:
    """A program started in the background with its standard output and error in one log file.
    Start it with start_program()."""

    def __init__(self, argv, log_path, env=None, cwd=None):
        environment = dict(os.environ)
        for name, value in (env or {}).items():
            if value is None:
                environment.pop(name, None)
            else:
                environment[name] = value
        self.argv = [str(a) for a in argv]
        self.log_path = log_path
        with open(log_path, "wb") as log:
            self._process = subprocess.Popen(self.argv, env=environment, cwd=cwd, stdin=subprocess.DEVNULL,
                                             stdout=log, stderr=subprocess.STDOUT)
        self.pid = self._process.pid

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()

    def output(self):
        """Everything the program wrote so far."""
        with open(self.log_path, "rb") as log:
            return log.read().decode("utf-8", "replace")

    def wait_output(self, pattern, timeout):
        """The first match of the regular expression in the output, waiting for it to appear."""
        expression = re.compile(pattern, re.MULTILINE)
        return wait_until(lambda: expression.search(self.output()) or self._ended_without(expression),
                          timeout, "%s writes %r" % (os.path.basename(self.argv[0]), pattern))

    def _ended_without(self, expression):
        if self._process.poll() is not None and not expression.search(self.output()):
            raise RuntimeError("%s ended (exit code %d) without writing %r; its output:\n%s"
                               % (self.argv[0], self._process.returncode, expression.pattern, self.output()))
        return None

    def running(self):
        return self._process.poll() is None

    def wait_exit(self, timeout):
        """The exit code (negative: the signal that ended it); raises if it still runs at the deadline."""
        try:
            return self._process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise WaitTimedOut("%s still runs after %.1f s" % (self.argv[0], timeout))

    def stop(self, timeout=10):
        """SIGTERM, then SIGKILL if it has not ended within `timeout`; returns the exit code."""
        if self._process.poll() is None:
            self._process.send_signal(signal.SIGTERM)
            try:
                self._process.wait(timeout)
            except subprocess.TimeoutExpired:
                self._process.kill()
        return self._process.wait()


def start_program(argv, log_path, env=None, cwd=None):
    """Starts argv[0] with the test's environment plus `env` (a value of None removes a
    variable), its output going to log_path."""
    return Program(argv, log_path, env, cwd)


def resident_memory(pid):
    """The process's resident set (VmRSS) in bytes."""
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) * 1024
    raise RuntimeError("process %d has no VmRSS (a zombie?)" % pid)


def cpu_time(pid):
    """Seconds of CPU the process has used so far, user and system (utime + stime), all its
    threads together; in clock ticks (1/100 s here)."""
    with open("/proc/%d/stat" % pid) as stat:
        text = stat.read()
    # The command name in parentheses may hold spaces; the fields after it are plain numbers.
    fields = text[text.rindex(")") + 2:].split()
    utime, stime = int(fields[11]), int(fields[12])  # fields 14 and 15 of proc(5)
    return (utime + stime) / os.sysconf("SC_CLK_TCK")


def cpu_time_over(pid, seconds):
    """CPU seconds the process uses during the next `seconds` of wall time, all its threads
    together: 0.0 for a program that truly idles. The sleep is the measuring period itself."""
    before = cpu_time(pid)
    time.sleep(seconds)
    return cpu_time(pid) - before


# ---------------------------------------------------------------------------------------------
# Settings: the .reg-format store that vocabra-tray reads from $VOCABRA_REGISTRY


REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ, REG_QWORD = 1, 2, 3, 4, 7, 11

# The program's key (Settings opens RegistryRootPath(IsVistaOrLater()); IsVistaOrLater() is true
# in the POSIX build, so the Vista path applies), and the pre-Vista one.
SETTINGS_KEY = "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\LowRegistry\\Corvane\\Vocabra"
PRE_VISTA_SETTINGS_KEY = "HKEY_CURRENT_USER\\Software\\Corvane\\Vocabra"

_REG_HEADER = "Windows Registry Editor Version 5.00"
_ASCII_LOWER = str.maketrans("ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz")


def _folded(name):
    """A key path or value name as the store compares them: ASCII letters in lower case."""
    return name.translate(_ASCII_LOWER)


def _unquote(text):
    """(string, rest) for a quoted token at the start of text, with \\\\ and \\" unescaped."""
    if not text.startswith('"'):
        raise ValueError("expected a quoted string: %r" % text)
    out = []
    i = 1
    while i < len(text):
        c = text[i]
        if c == '"':
            return "".join(out), text[i + 1:]
        if c == "\\":
            if i + 1 >= len(text) or text[i + 1] not in '\\"':
                raise ValueError("bad escape in %r" % text)
            out.append(text[i + 1])
            i += 2
            continue
        out.append(c)
        i += 1
    raise ValueError("unterminated string: %r" % text)


def _decode_value(value_type, data):
    if value_type in (REG_SZ, REG_EXPAND_SZ):
        return data.decode("utf-16-le").split("\0", 1)[0]
    if value_type == REG_DWORD and len(data) == 4:
        return int.from_bytes(data, "little")
    if value_type == REG_QWORD and len(data) == 8:
        return int.from_bytes(data, "little")
    if value_type == REG_MULTI_SZ:
        return [s for s in data.decode("utf-16-le").split("\0") if s]
    return bytes(data)


def _encode_value(value_type, value):
    if value_type in (REG_SZ, REG_EXPAND_SZ):
        return (value + "\0").encode("utf-16-le")
    if value_type == REG_DWORD:
        return int(value).to_bytes(4, "little")
    if value_type == REG_QWORD:
        return int(value).to_bytes(8, "little")
    if value_type == REG_MULTI_SZ:
        return ("".join(s + "\0" for s in value) + "\0").encode("utf-16-le")
    return bytes(value)


def _parse_data(data, lines):
    """(type, bytes) of the text after "name="; hex lists may continue on following lines."""
    if data.startswith('"'):
        text, rest = _unquote(data)
        if rest:
            raise ValueError("text after a string: %r" % data)
        return REG_SZ, _encode_value(REG_SZ, text)
    lowered = data.lower()
    if lowered.startswith("dword:"):
        return REG_DWORD, int(data[6:], 16).to_bytes(4, "little")
    if lowered.startswith("hex:"):
        value_type, hex_list = REG_BINARY, data[4:]
    elif lowered.startswith("hex("):
        close = data.index("):")
        value_type, hex_list = int(data[4:close], 16), data[close + 2:]
    else:
        raise ValueError("unknown data: %r" % data)
    while hex_list.endswith("\\"):
        continuation = next(lines, None)
        if continuation is None:
            raise ValueError("a hex list continues past the end of the file")
        hex_list = hex_list[:-1] + continuation.strip(" \t")
    return value_type, bytes(int(byte, 16) for byte in hex_list.split(",")) if hex_list else b""


def _read_store(path):
    """[(key path, [(name, type, bytes), ...]), ...] of a store file; [] when there is none."""
    try:
        with open(path, encoding="utf-8-sig") as store:
            text = store.read()
    except FileNotFoundError:
        return []
    lines = iter(text.splitlines())
    sections = []
    header_seen = False
    for raw in lines:
        line = raw.strip(" \t")
        if not line or line.startswith(";"):
            continue
        if not header_seen:
            if line != _REG_HEADER:
                raise ValueError("%s is no registry file: %r" % (path, line))
            header_seen = True
        elif line.startswith("["):
            if not line.endswith("]"):
                raise ValueError("bad key line in %s: %r" % (path, line))
            sections.append((line[1:-1], []))
        elif not sections:
            raise ValueError("a value before any key in %s: %r" % (path, line))
        else:
            if line.startswith("@"):
                name, rest = "", line[1:]
            else:
                name, rest = _unquote(line)
            if not rest.startswith("="):
                raise ValueError("bad value line in %s: %r" % (path, line))
            sections[-1][1].append((name,) + _parse_data(rest[1:], lines))
    return sections


def read_settings(path, key=SETTINGS_KEY):
    """{value name: (type, value)} of the key in the store file (REG_SZ and REG_EXPAND_SZ as str,
    REG_DWORD and REG_QWORD as int, REG_MULTI_SZ as a list of str, others as bytes; "" names the
    default value). Key and names compare without regard to ASCII case, as the store does;
    repeated ones merge, the later data winning. {} when the file or the key does not exist."""
    values = {}
    spelling = {}
    for section, entries in _read_store(path):
        if _folded(section) != _folded(key):
            continue
        for name, value_type, data in entries:
            name = spelling.setdefault(_folded(name), name)
            values[name] = (value_type, _decode_value(value_type, data))
    return values


def _quote(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def _format_value(name, value_type, data):
    head = "@=" if name == "" else _quote(name) + "="
    if value_type == REG_SZ and data.endswith(b"\0\0") and len(data) % 2 == 0:
        text = data[:-2].decode("utf-16-le", "surrogatepass")
        if not any(c in text for c in "\0\r\n"):
            return head + _quote(text)
    if value_type == REG_DWORD and len(data) == 4:
        return head + "dword:%08x" % int.from_bytes(data, "little")
    return head + "hex(%x):" % value_type + ",".join("%02x" % b for b in data)


def write_settings(path, values, key=SETTINGS_KEY):
    """Makes `values` the only values of the key in the store file, keeping every other key the
    file has. `values`: {name: (type, value)} as read_settings gives them, or plain str (REG_SZ)
    and int (REG_DWORD). Takes the store's lock and replaces the file in one rename, as the
    program itself does, so that a running program reads either the old or the new store."""
    entries = []
    for name, value in values.items():
        if isinstance(value, tuple):
            value_type, plain = value
        elif isinstance(value, bool) or not isinstance(value, (str, int)):
            raise TypeError("give %r as (type, value)" % name)
        else:
            value_type, plain = (REG_SZ, value) if isinstance(value, str) else (REG_DWORD, value)
        entries.append((name, value_type, _encode_value(value_type, plain)))
    folder = os.path.dirname(os.path.abspath(path))
    os.makedirs(folder, exist_ok=True)
    with open(path + ".lock", "a") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        sections = [s for s in _read_store(path) if _folded(s[0]) != _folded(key)] + [(key, entries)]
        text = _REG_HEADER + "\n\n" + "".join(
            "[%s]\n%s\n" % (section, "".join(_format_value(*entry) + "\n" for entry in section_entries))
            for section, section_entries in sections)
        descriptor, temporary = tempfile.mkstemp(dir=folder, prefix=os.path.basename(path) + ".tmp.")
        try:
            with os.fdopen(descriptor, "w", encoding="utf-8") as out:
                out.write(text)
                out.flush()
                os.fsync(out.fileno())
            os.replace(temporary, path)
        except BaseException:
            os.unlink(temporary)
            raise
