"""When the X server saw each key: XInput2 raw key events of the root window, read by a thread.

xdotool pauses between the keys it sends and after the last one, and a program may act on the
second press of C already: timing a lookup from xdotool's return alone misplaces the key release
by up to a few dozen milliseconds. The server stamps every event with its own clock, which on
Linux is CLOCK_MONOTONIC in milliseconds (as time.monotonic() is in seconds), so an event's stamp
says when the server took the key. KeyEvents checks that the two clocks agree before trusting it.
"""

import ctypes
import select
import threading
import time

GENERIC_EVENT = 35
XI_RAW_KEY_PRESS = 13
XI_RAW_KEY_RELEASE = 14
XI_ALL_MASTER_DEVICES = 1


class XIEventMask(ctypes.Structure):
    _fields_ = [("deviceid", ctypes.c_int), ("mask_len", ctypes.c_int), ("mask", ctypes.POINTER(ctypes.c_ubyte))]


class XGenericEventCookie(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("extension", ctypes.c_int), ("evtype", ctypes.c_int),
                ("cookie", ctypes.c_uint), ("data", ctypes.c_void_p)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xcookie", XGenericEventCookie), ("pad", ctypes.c_long * 24)]


class XIRawEvent(ctypes.Structure):
    """The start of XIRawEvent, up to the key code."""
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("extension", ctypes.c_int), ("evtype", ctypes.c_int),
                ("time", ctypes.c_ulong), ("deviceid", ctypes.c_int), ("sourceid", ctypes.c_int),
                ("detail", ctypes.c_int)]


def libraries():
    xlib = ctypes.CDLL("libX11.so.6")
    xi = ctypes.CDLL("libXi.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    for name in ("XCloseDisplay", "XPending", "XConnectionNumber", "XFlush"):
        getattr(xlib, name).argtypes = [ctypes.c_void_p]
    xlib.XDefaultRootWindow.restype = ctypes.c_ulong
    xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    xlib.XQueryExtension.argtypes = [ctypes.c_void_p, ctypes.c_char_p] + [ctypes.POINTER(ctypes.c_int)] * 3
    xlib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
    xlib.XGetEventData.argtypes = [ctypes.c_void_p, ctypes.POINTER(XGenericEventCookie)]
    xlib.XFreeEventData.argtypes = [ctypes.c_void_p, ctypes.POINTER(XGenericEventCookie)]
    xlib.XStringToKeysym.restype = ctypes.c_ulong
    xlib.XStringToKeysym.argtypes = [ctypes.c_char_p]
    xlib.XKeysymToKeycode.restype = ctypes.c_ubyte
    xlib.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    xi.XIQueryVersion.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
    xi.XISelectEvents.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(XIEventMask), ctypes.c_int]
    return xlib, xi


class KeyEvents:
    """Records (press or release, key code, server time in ms, time.monotonic() on arrival) of every
    key on the display, from start() to close()."""

    def __init__(self, key_names=("c",)):
        self._xlib, xi = libraries()
        self._display = self._xlib.XOpenDisplay(None)
        if not self._display:
            raise RuntimeError("cannot open the display for the key events")
        opcode, first_event, first_error = ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
        if not self._xlib.XQueryExtension(self._display, b"XInputExtension", ctypes.byref(opcode),
                                          ctypes.byref(first_event), ctypes.byref(first_error)):
            raise RuntimeError("the display has no XInput extension")
        self._opcode = opcode.value
        # From XInput 2.1 on, raw events reach the root window also while another client grabs
        # the key (GoldenDict grabs its hot keys); a 2.0 client would miss them.
        major, minor = ctypes.c_int(2), ctypes.c_int(2)
        if xi.XIQueryVersion(self._display, ctypes.byref(major), ctypes.byref(minor)) != 0 or \
                (major.value, minor.value) < (2, 1):
            raise RuntimeError("the display has no XInput 2.1")
        mask_bytes = (ctypes.c_ubyte * 4)()
        for event in (XI_RAW_KEY_PRESS, XI_RAW_KEY_RELEASE):
            mask_bytes[event >> 3] |= 1 << (event & 7)
        mask = XIEventMask(XI_ALL_MASTER_DEVICES, len(mask_bytes), mask_bytes)
        xi.XISelectEvents(self._display, self._xlib.XDefaultRootWindow(self._display), ctypes.byref(mask), 1)
        self._xlib.XFlush(self._display)
        # Looked up now: once the reading thread runs, no other thread may use the connection.
        self.keycodes = {name: self._xlib.XKeysymToKeycode(self._display, self._xlib.XStringToKeysym(name.encode()))
                         for name in key_names}
        self._events = []
        self._changed = threading.Condition()
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._read, daemon=True)

    def __enter__(self):
        self._thread.start()
        return self

    def __exit__(self, *exc):
        self._stop.set()
        self._thread.join()
        self._xlib.XCloseDisplay(self._display)

    def _read(self):
        connection = self._xlib.XConnectionNumber(self._display)
        event = XEvent()
        while not self._stop.is_set():
            if not self._xlib.XPending(self._display):
                select.select([connection], [], [], 0.1)
                continue
            self._xlib.XNextEvent(self._display, ctypes.byref(event))
            arrived = time.monotonic()
            cookie = event.xcookie
            if cookie.type != GENERIC_EVENT or cookie.extension != self._opcode:
                continue
            if not self._xlib.XGetEventData(self._display, ctypes.byref(cookie)):
                continue
            raw = ctypes.cast(cookie.data, ctypes.POINTER(XIRawEvent)).contents
            if cookie.evtype in (XI_RAW_KEY_PRESS, XI_RAW_KEY_RELEASE):
                with self._changed:
                    self._events.append((cookie.evtype == XI_RAW_KEY_PRESS, raw.detail, raw.time, arrived))
                    self._changed.notify_all()
            self._xlib.XFreeEventData(self._display, ctypes.byref(cookie))

    def count(self):
        with self._changed:
            return len(self._events)

    def wait_for_releases(self, keycode, count, since, timeout):
        """The first `count` releases of `keycode` among the events recorded after the first
        `since`, or None when they did not all arrive within `timeout` seconds."""
        deadline = time.monotonic() + timeout
        with self._changed:
            while True:
                releases = [event for event in self._events[since:] if not event[0] and event[1] == keycode]
                if len(releases) >= count:
                    return releases[:count]
                remaining = deadline - time.monotonic()
                if remaining <= 0:
                    return None
                self._changed.wait(remaining)


def monotonic_time(event):
    """The time.monotonic() at which the server took a recorded key, or None when the server's
    clock is not this machine's monotonic clock. The stamp is 32-bit milliseconds; its distance
    back from the arrival decides, which also survives the wrap-around."""
    _, _, stamp, arrived = event
    behind_ms = (int(arrived * 1000) - stamp) % (1 << 32)
    if behind_ms > 250:  # not the same clock (or an event that waited long to be read)
        return None
    return arrived - behind_ms / 1000
