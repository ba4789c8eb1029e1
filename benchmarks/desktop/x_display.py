"""The X display as a user's hands use it: a word in the CLIPBOARD, the keys, windows to look at."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir, "tests", "e2e"))
from wine_session import wait_until  # noqa: E402,F401  (used here and by the benchmark)


def run(*command, timeout=10):
    return subprocess.run(command, stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=timeout)




def clipboard_text():
    result = run("xclip", "-o", "-selection", "clipboard")
    return result.stdout if result.returncode == 0 else None


class HelperProgram:
    """A program started for the measurement, ended (SIGTERM) when closed or when its `with` ends."""

    _process = None

    def close(self):
        if self._process.poll() is None:
            self._process.terminate()
        self._process.wait(10)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


class ClipboardOwner(HelperProgram):
    """Holds `word` in the CLIPBOARD the way an application does after Ctrl+C: xclip owns the
    selection and answers every request for it until this owner is closed or another client takes
    the selection. xclip stays in the foreground (-quiet), so that the process started here is the
    owner, and -loops bounds how long it can outlive this script."""

    def __init__(self, word, loops=1000):
        self.word = word
        self._process = subprocess.Popen(
            ["xclip", "-quiet", "-selection", "clipboard", "-i", "-loops", str(loops)],
            stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._process.stdin.write(word.encode("utf-8"))
        self._process.stdin.close()
        if not wait_until(lambda: clipboard_text() == word, 10):
            self.close()
            raise RuntimeError("xclip did not take the CLIPBOARD for %r" % word)


class FocusHolder(HelperProgram):
    """A window of another X11 program (xlogo) that takes the keyboard focus before each lookup,
    as the application a user copies from would: the keys reach it and no window of the programs
    measured, which see them through the X server's extensions (XInput2, RECORD) alone. The root
    window would not do: with the focus there, keys go to the window under the pointer, where an
    answer window may be, and it would turn the Ctrl+C into a copy of its own."""

    def __init__(self):
        self._process = subprocess.Popen(["xlogo", "-name", "focus-holder", "-geometry", "64x64+0+0"],
                                         stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL)
        found = wait_until(
            lambda: run("xdotool", "search", "--onlyvisible", "--classname", "focus-holder").stdout.split(), 10)
        if not found:
            self.close()
            raise RuntimeError("xlogo showed no window to hold the focus")
        self.window = found[0]

    def focus(self):
        run("xdotool", "windowfocus", "--sync", self.window)


def press_ctrl_c_twice():
    """Holds Ctrl, taps C twice, releases Ctrl. Returns (started, returned) in time.monotonic():
    xdotool has sent the last key release when it returns."""
    started = time.monotonic()
    result = run("xdotool", "keydown", "ctrl", "key", "c", "key", "c", "keyup", "ctrl")
    returned = time.monotonic()
    if result.returncode != 0:
        raise RuntimeError("xdotool failed: %s" % result.stderr.strip())
    return started, returned


def visible_windows(pid):
    """Visible top-level windows that name `pid` as their owner (_NET_WM_PID, set by GTK and Qt)."""
    result = run("xdotool", "search", "--onlyvisible", "--pid", str(pid))
    return [int(window) for window in result.stdout.split()] if result.returncode == 0 else []


def window_name(window):
    return run("xdotool", "getwindowname", str(window)).stdout.strip()


def screenshot(path):
    run("import", "-window", "root", path, timeout=30)
