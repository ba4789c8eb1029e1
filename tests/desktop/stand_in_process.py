"""A stand-in for a desktop service (fake_notifier_watcher.py, fake_program_owner.py) in a process
of its own, as the test sees it: it prints "ready" once it owns its bus name, then a line for each
event, and ends when its stdin closes.

    stand_in = StandInProcess("fake_program_owner.py", ["--ending"], log_path)
    if not stand_in.ready(10): ...
    stand_in.next_line(10); stand_in.stop()
"""

import os
import select
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))


class StandInProcess:
    def __init__(self, script, arguments, log_path):
        with open(log_path, "w") as log:
            self._process = subprocess.Popen(["/usr/bin/python3", os.path.join(HERE, script)] + list(arguments),
                                             stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=log, text=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()

    def ready(self, timeout):
        """Whether the stand-in took its name on the bus within `timeout` seconds."""
        return self.next_line(timeout) == "ready"

    def next_line(self, timeout):
        """The stand-in's next line, stripped; None when it says nothing within `timeout` seconds."""
        if not select.select([self._process.stdout], [], [], timeout)[0]:
            return None
        return self._process.stdout.readline().strip()

    def ended(self, timeout):
        """Whether the process ends within `timeout` seconds."""
        try:
            self._process.wait(timeout)
            return True
        except subprocess.TimeoutExpired:
            return False

    def stop(self):
        """Ends the stand-in (killed when it does not end within 10 s); its name leaves the bus with
        its connection."""
        if self._process is None:
            return
        self._process.stdin.close()
        if not self.ended(10):
            self._process.kill()
            self._process.wait()
        self._process.stdout.close()
        self._process = None
