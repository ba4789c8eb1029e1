"""A Debian package installed into this machine's /usr for the length of a test, and purged again
however the test ends.

dpkg changes the machine, not a test folder, so this is careful about three things:
- dpkg runs in a session of its own, so that a Ctrl+C or a SIGTERM meant for the test does not stop
  it half-way (which leaves a package half-installed); the clean-up waits for it instead, with
  those signals held off, and then purges.
- A package of the same name that is installed already is left alone and the test refuses to run,
  unless the marker file says that this test installed it in a run that could not clean up (it was
  killed): then it is purged first.
- Nothing may stay half-installed: clean_state() is `dpkg --audit` saying nothing.

    with InstalledPackage("x_1.0_amd64.deb", "work/.installed") as package:
        package.installed_files()   # what dpkg -L lists
        package.remove()            # dpkg -r; the purge at the end then finds nothing to do
"""

import os
import re
import signal
import subprocess
import time

DPKG_TIMEOUT = 300  # seconds; the triggers (man-db, the icon cache) take a few of them
LOCK_TIMEOUT = 300  # seconds to wait for another dpkg or apt run to end
LOCKED = re.compile(r"lock (is|was) locked|database is locked")  # dpkg's refusals, in the C locale


class DpkgFailed(RuntimeError):
    pass


_running = []  # dpkg processes started and not yet waited for


def _run(argv, timeout=DPKG_TIMEOUT):
    """(exit code, output) of dpkg or one of its tools, run in a session of its own."""
    process = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                               text=True, start_new_session=True, env=dict(os.environ, LC_ALL="C"))
    _running.append(process)
    output, _ = process.communicate(timeout=timeout)
    _running.remove(process)
    return process.returncode, output


def _checked(argv, timeout=DPKG_TIMEOUT):
    """The output of a command that must succeed. dpkg refuses at once while another dpkg or apt holds
    its lock (someone installing packages on this machine): that is waited for, up to LOCK_TIMEOUT."""
    deadline = time.monotonic() + LOCK_TIMEOUT
    code, output = _run(argv, timeout)
    while code != 0 and LOCKED.search(output) and time.monotonic() < deadline:
        time.sleep(1)
        code, output = _run(argv, timeout)
    if code != 0:
        raise DpkgFailed("%s failed (exit code %d):\n%s" % (" ".join(argv), code, output))
    return output


def package_field(deb, field):
    """A field of the package file's control data."""
    return _checked(["dpkg-deb", "--field", deb, field]).strip()


def package_paths(deb):
    """Every path the package file holds, absolute, as dpkg will install it."""
    paths = []
    for line in _checked(["dpkg-deb", "--contents", deb]).splitlines():
        name = line.split(None, 5)[5].split(" -> ")[0]
        path = "/" + name.lstrip(".").strip("/")
        if path != "/":
            paths.append(path)
    return paths


def status(name):
    """dpkg's status of the package ("install ok installed"), or None when dpkg knows nothing of it."""
    code, output = _run(["dpkg-query", "--show", "--showformat=${Status}", name])
    return output.strip() if code == 0 and output.strip() else None


def installed_field(name, field):
    return _checked(["dpkg-query", "--show", "--showformat=${%s}" % field, name])


def clean_state():
    """True when dpkg reports no package half-installed, half-configured or awaiting triggers."""
    code, output = _run(["dpkg", "--audit"])
    return code == 0 and not output.strip()


def _known(state):
    return state is not None and not state.endswith(" not-installed")


class InstalledPackage:
    def __init__(self, deb, marker):
        self.deb = os.path.abspath(deb)
        self.marker = marker
        self.name = package_field(self.deb, "Package")
        self.paths = package_paths(self.deb)
        self.created = []  # the package's paths that did not exist before it was installed

    def __enter__(self):
        if _known(status(self.name)):
            if not os.path.exists(self.marker):
                raise DpkgFailed("%s is installed on this machine already; this test would replace it "
                                 "(`dpkg -r %s` lets it run)" % (self.name, self.name))
            _checked(["dpkg", "--purge", self.name])  # left by a run of this test that was killed
        self.created = [path for path in self.paths if not os.path.lexists(path)]
        os.makedirs(os.path.dirname(self.marker), exist_ok=True)
        with open(self.marker, "w", encoding="utf-8") as marker:
            marker.write(self.deb + "\n")
        try:
            _checked(["dpkg", "--install", self.deb])
        except BaseException:
            self.__exit__()
            raise
        return self

    def __exit__(self, *exc):
        """Waits for a dpkg still running, then purges; SIGINT and SIGTERM wait until that is done."""
        held = {signal.SIGINT, signal.SIGTERM}
        signal.pthread_sigmask(signal.SIG_BLOCK, held)
        try:
            for process in list(_running):
                process.wait()
                _running.remove(process)
            if _known(status(self.name)):
                _checked(["dpkg", "--purge", self.name])
            if os.path.exists(self.marker):
                os.unlink(self.marker)
        finally:
            signal.pthread_sigmask(signal.SIG_UNBLOCK, held)

    def installed_files(self):
        """The paths dpkg says the package installed."""
        return [line for line in _checked(["dpkg", "--listfiles", self.name]).splitlines() if line not in ("", "/.")]

    def remove(self):
        """dpkg -r: the package goes, the users' files stay."""
        _checked(["dpkg", "--remove", self.name])

    def left_behind(self):
        """After remove(): the package's paths that it created and that still exist."""
        return [path for path in self.created if os.path.lexists(path)]
