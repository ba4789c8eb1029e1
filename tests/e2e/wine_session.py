"""Windows programs under Wine and their windows on the X display, observed from outside.

One fresh prefix per session and one persistent wineserver for all its programs; every Wine
command runs under `timeout` with its output in files (wineserver inherits standard output and
would keep a pipe open).
"""

import os
import re
import shutil
import subprocess
import time

WINE_DIR = "/usr/lib/wine"
WINE = os.path.join(WINE_DIR, "wine64")
WINESERVER = os.path.join(WINE_DIR, "wineserver")


class WineSession:
    def __init__(self, prefix, log_dir):
        self.prefix = os.path.abspath(prefix)
        self.log_dir = log_dir
        self._runs = 0
        self.env = dict(os.environ)
        self.env.update({
            "WINEPREFIX": self.prefix,
            "WINEDEBUG": "-all",
            # No HTML engine or Mono to install offline, no desktop menu entries.
            "WINEDLLOVERRIDES": "mscoree=;mshtml=;winemenubuilder.exe=d",
        })

    def _server(self, *args, timeout=60):
        return subprocess.run(["timeout", str(timeout), WINESERVER, *args], env=self.env,
                              stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode

    def create(self):
        """A new prefix; its set-up server must end before the persistent one starts, or two
        sets of Wine services fight over the prefix."""
        shutil.rmtree(self.prefix, ignore_errors=True)
        os.makedirs(os.path.dirname(self.prefix), exist_ok=True)
        with self._log("wineboot") as out:
            subprocess.run(["timeout", "180", WINE, "wineboot", "-i"], env=self.env,
                           stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT)
        self._server("-w", timeout=120)
        self._server("-p")

    def stop(self):
        self._server("-k")
        self._server("-w")

    def _log(self, name):
        self._runs += 1
        return open(os.path.join(self.log_dir, "%02d-%s.log" % (self._runs, name)), "wb")

    def start(self, program, *args, limit=120, env=None):
        """A Windows program started in the background; its Popen (returncode = exit code).
        `env` adds variables for this program only (a locale, for instance)."""
        environment = dict(self.env, **(env or {}))
        with self._log(os.path.basename(program)) as out:
            return subprocess.Popen(["timeout", str(limit), WINE, program, *args], env=environment,
                                    stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT)

    def run(self, program, *args, limit=60):
        process = self.start(program, *args, limit=limit)
        return process.wait()

    def output_of(self, program, *args, limit=60):
        """Runs a program to its end; its exit code and its output with CR LF made LF."""
        path = os.path.join(self.log_dir, "output.txt")
        with open(path, "wb") as out:
            code = subprocess.run(["timeout", str(limit), WINE, program, *args], env=self.env,
                                  stdin=subprocess.DEVNULL, stdout=out,
                                  stderr=subprocess.DEVNULL).returncode
        with open(path, "rb") as produced:
            return code, produced.read().decode("utf-8", "replace").replace("\r\n", "\n")

    def processes(self, executable):
        """Process ids of this prefix whose command line names `executable` (any case)."""
        found = []
        wanted = executable.lower().encode()
        marker = b"WINEPREFIX=" + self.prefix.encode()
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open("/proc/%s/cmdline" % entry, "rb") as cmdline:
                    command = cmdline.read().lower()
                with open("/proc/%s/environ" % entry, "rb") as environ:
                    environment = environ.read().split(b"\0")
            except OSError:
                continue
            if wanted in command and marker in environment and b"timeout" not in command.split(b"\0")[0]:
                found.append(int(entry))
        return found


def xdotool(*args):
    for _ in range(3):
        result = subprocess.run(["xdotool", *args], stdin=subprocess.DEVNULL, capture_output=True, text=True)
        # A window destroyed while xdotool walks the windows ends it with an X error and a partial
        # answer (a search that misses windows that are there): ask again.
        if "X Error" not in result.stderr:
            break
    return result.stdout.strip()


def visible_windows(name_pattern):
    """Ids of the mapped X windows whose name matches the regular expression."""
    return [int(w) for w in xdotool("search", "--onlyvisible", "--name", name_pattern).split()]


def visible_windows_of(program):
    """Ids of the mapped X windows of a Windows program (Wine names their class after it)."""
    return [int(w) for w in xdotool("search", "--onlyvisible", "--class", "^%s$" % program).split()]


def window_name(window):
    return xdotool("getwindowname", str(window))


def geometry_if_any(window):
    """(x, y, width, height) of an X window on the screen; None when the window is gone."""
    text = xdotool("getwindowgeometry", str(window))
    position = re.search(r"Position: (-?\d+),(-?\d+)", text)
    size = re.search(r"Geometry: (\d+)x(\d+)", text)
    if not position or not size:
        return None
    return tuple(int(n) for n in position.groups() + size.groups())


def geometry(window):
    """(x, y, width, height) of an X window on the screen, which must exist."""
    found = geometry_if_any(window)
    if found is None:
        raise RuntimeError("window 0x%x is gone" % window)
    return found


def wait_until(condition, timeout, step=0.1):
    """condition()'s first true value, or None when it stays false for `timeout` seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            return None
        time.sleep(step)


def russian_locale(folder):
    """Variables that run one Wine program in Russian; the locale is compiled into `folder` once."""
    target = os.path.join(folder, "ru_RU.UTF-8")
    if not os.path.isdir(target):
        os.makedirs(folder, exist_ok=True)
        subprocess.run(["timeout", "120", "localedef", "-i", "ru_RU", "-f", "UTF-8", target],
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if not os.path.isdir(target):
        raise RuntimeError("localedef could not compile ru_RU.UTF-8 (Debian package locales)")
    return {"LOCPATH": folder, "LANG": "ru_RU.UTF-8", "LC_ALL": "ru_RU.UTF-8"}


def screenshot(path):
    subprocess.run(["import", "-display", os.environ["DISPLAY"], "-window", "root", path],
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
