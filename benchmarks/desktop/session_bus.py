"""A session bus of its own for each measured run.

GTK and Qt ask the session bus for the accessibility bus when they start, and the bus starts it
(at-spi-bus-launcher and its registry) the first time. On one bus for the whole benchmark the first
program measured would pay for that and the second would find it running; a new bus per run gives
every run the same start. What the bus started stays out of the program's own figures: a desktop
session has these services running already.
"""

import os
import subprocess
import uuid

import process_metrics as metrics
from x_display import wait_until


# Marks the bus and so every service it starts: the bus starts them as daemons, which leave its
# process tree at once.
BUS_MARK = "VOCABRA_BENCHMARK_BUS"


class SessionBus:
    def __init__(self, log_path):
        self._log = open(log_path, "wb")
        self._id = str(uuid.uuid4())
        self._daemon = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                                        env=dict(os.environ, **{BUS_MARK: self._id}),
                                        stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=self._log)
        self.address = self._daemon.stdout.readline().decode().strip()
        if not self.address:
            self.close()
            raise RuntimeError("dbus-daemon gave no address (see %s)" % log_path)
        self._services = set()

    def services(self):
        """{pid: Stat} of the processes the bus has started."""
        found = metrics.marked_processes(BUS_MARK, self._id)
        found.pop(self._daemon.pid, None)
        self._services |= metrics.identities(found)
        return found

    def close(self):
        """Ends the bus; the services it started end with it (those still running are ended
        here). Returns the names of the services that had to be ended."""
        self.services()
        self._daemon.terminate()
        self._daemon.wait(30)
        self._daemon.stdout.close()
        self._log.close()
        if wait_until(lambda: not metrics.still_running(self._services), 10):
            return []
        staying = metrics.still_running(self._services)
        names = ["%s[%d]" % (metrics.read_stat(pid).name, pid) for pid, _ in staying if metrics.read_stat(pid)]
        for pid, _ in staying:
            try:
                os.kill(pid, 9)
            except OSError:
                pass
        return names
