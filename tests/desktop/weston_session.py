"""A real Wayland compositor for desktop tests: Weston, nested in the test's X display.

Weston's headless backend has no seat: no keyboard, so no focus and no clipboard. Its X11 backend
has one (the X server's keyboard and pointer), and a Wayland client there is a native one as long
as its environment names no X display. Weston's XWayland module is not loaded.

    with Weston(work_folder) as weston:
        environment = weston.client_environment()   # WAYLAND_DISPLAY, no DISPLAY, GDK_BACKEND=wayland
        weston.copy("word")                          # wl-copy, another Wayland client
        weston.screenshot("shot.png")                # the whole output

Needs the X display of tools/with-display, and Debian's weston and wl-clipboard.
"""

import glob
import os
import shutil
import subprocess
import tempfile

import desktop_session as ds

SOCKET = "vocabra-weston"
SIZE = (1024, 768)


class Weston:
    """Weston with its desktop shell on a private runtime folder, until stop()."""

    def __init__(self, work, timeout=15):
        self.work = work
        self.runtime = os.path.join(work, "runtime")
        self.log_path = os.path.join(work, "weston.log")
        self.timeout = timeout
        self._process = None
        self.window = None  # Weston's own X window

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()

    def start(self):
        """Starts Weston; returns self once its output is being drawn."""
        for tool in ("weston", "weston-screenshooter", "wl-copy"):
            if not shutil.which(tool):
                raise RuntimeError("no %s: install the Debian packages weston and wl-clipboard" % tool)
        if not os.environ.get("DISPLAY"):
            raise RuntimeError("no DISPLAY for Weston's X11 backend: run the test under tools/with-display")
        shutil.rmtree(self.runtime, ignore_errors=True)
        os.makedirs(self.runtime, mode=0o700)
        os.chmod(self.runtime, 0o700)  # whatever the umask: Wayland refuses a folder others can enter
        environment = {"XDG_RUNTIME_DIR": self.runtime, "WAYLAND_DISPLAY": None, "WAYLAND_SOCKET": None}
        # No animations: a window that has closed is gone from the next picture.
        config = os.path.join(self.work, "weston.ini")
        with open(config, "w") as out:
            out.write("[shell]\nanimation=none\nclose-animation=none\nstartup-animation=none\n"
                      "focus-animation=none\n")
        # --debug lets weston-screenshooter take pictures; --idle-time=0 keeps the screen from blanking.
        self._process = ds.start_program(
            ["weston", "--backend=x11-backend.so", "--socket=" + SOCKET, "--use-pixman", "--config=" + config,
             "--width=%d" % SIZE[0], "--height=%d" % SIZE[1], "--debug", "--idle-time=0"],
            self.log_path, env=environment)
        try:
            socket = os.path.join(self.runtime, SOCKET)
            ds.wait_until(lambda: os.path.exists(socket) or self._ended(), self.timeout,
                          "Weston listens on " + socket)
            # Weston's seat has the keyboard focus (which its clients' clipboard needs) while its
            # window has the X server's.
            self.window = ds.wait_window(self.timeout, cls="^Weston Compositor$", visible=True)
            ds.focus(self.window)
            # A picture is taken at a repaint: once there is one, the output is being drawn.
            self.screenshot(os.path.join(self.work, "weston-ready.png"))
        except BaseException:
            self.stop()  # __exit__ does not run when __enter__ fails
            raise
        return self

    def _ended(self):
        if not self._process.running():
            raise RuntimeError("Weston ended at start; its log:\n" + self._process.output())
        return False

    def stop(self):
        if self._process is not None:
            self._process.stop()
            self._process = None

    def client_environment(self):
        """Changes to an environment (see ds.start_program: None removes a variable) that make GTK
        programs native clients of this Weston: no X display to fall back on."""
        return {
            "XDG_RUNTIME_DIR": self.runtime,
            "WAYLAND_DISPLAY": SOCKET,
            "GDK_BACKEND": "wayland",
            "XDG_SESSION_TYPE": "wayland",
            "DISPLAY": None,
        }

    def _run_client(self, argv, cwd=None):
        """Runs a Wayland client to its end. Its output goes to a file, not a pipe: wl-copy leaves
        a child behind that keeps what it inherited open."""
        environment = dict(os.environ)
        for name, value in self.client_environment().items():
            if value is None:
                environment.pop(name, None)
            else:
                environment[name] = value
        log_path = os.path.join(self.work, os.path.basename(argv[0]) + ".log")
        with open(log_path, "w") as log:
            code = subprocess.run(argv, env=environment, cwd=cwd, stdin=subprocess.DEVNULL, stdout=log,
                                  stderr=subprocess.STDOUT, timeout=self.timeout).returncode
        if code != 0:
            with open(log_path, errors="replace") as log:
                raise RuntimeError("%s failed (exit code %d): %s" % (argv[0], code, log.read().strip()))

    def copy(self, text):
        """Puts `text` on the clipboard through wl-copy, which returns once the compositor has
        taken the selection and serves it from the background until another client replaces it
        (or Weston ends)."""
        self._run_client(["wl-copy", "--", text])

    def screenshot(self, path):
        """The whole output as a PNG file at `path`; returns the path."""
        with tempfile.TemporaryDirectory(dir=self.work) as folder:
            self._run_client(["weston-screenshooter"], cwd=folder)
            pictures = glob.glob(os.path.join(folder, "wayland-screenshot-*.png"))
            if len(pictures) != 1:
                raise RuntimeError("weston-screenshooter left %d pictures" % len(pictures))
            shutil.move(pictures[0], path)
        return path


def colour_area(path, colour):
    """The number of pixels of the exact colour "#rrggbb" in the picture."""
    result = subprocess.run(["convert", path, "-format", "%c", "histogram:info:-"], stdin=subprocess.DEVNULL,
                            capture_output=True, text=True, timeout=60)
    if result.returncode != 0:
        raise RuntimeError("convert could not read %s: %s" % (path, result.stderr.strip()))
    wanted = colour.upper()
    for line in result.stdout.splitlines():
        # "   1234: (  60,138, 46) #3C8A2E srgb(60,138,46)"
        count, _, rest = line.partition(":")
        if wanted in rest.upper().split():
            return int(count)
    return 0
