"""What a running program costs, read from /proc: its processes, their memory, CPU time and wake-ups.

A program is the process that was started and every process below it (a web engine's helpers).
Processes are told apart by pid and start time, so that a pid reused after a helper ended is not
taken for that helper.
"""

import collections
import os
import time

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


class Stat:
    """The fields of /proc/<pid>/stat that matter here."""

    def __init__(self, text):
        # The name is in parentheses and may itself hold spaces and parentheses: the fields after
        # it start behind the last closing one.
        opening, closing = text.index("("), text.rindex(")")
        self.name = text[opening + 1:closing]
        fields = text[closing + 2:].split()
        self.state = fields[0]
        self.ppid = int(fields[1])
        self.utime, self.stime = int(fields[11]), int(fields[12])
        self.start_time = int(fields[19])

    @property
    def cpu_ticks(self):
        return self.utime + self.stime


def read_stat(pid):
    """The process's Stat, or None when it has gone."""
    try:
        with open("/proc/%d/stat" % pid) as stat:
            return Stat(stat.read())
    except (OSError, ValueError):
        return None


def status_fields(path):
    """The "Name: value" lines of a /proc status file (status, smaps_rollup) as a dict, or {} when
    the process has gone."""
    try:
        with open(path) as status:
            return {name: value.strip() for name, _, value in (line.partition(":") for line in status) if value}
    except OSError:
        return {}


def kilobytes(field):
    """'123 kB' -> 123; None for a missing field."""
    return int(field.split()[0]) if field else None


def all_stats():
    """{pid: Stat} of every process on the machine."""
    stats = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            stat = read_stat(int(entry))
            if stat:
                stats[int(entry)] = stat
    return stats


def tree(root):
    """{pid: Stat} of `root` and every process below it that is alive (zombies left out)."""
    stats = all_stats()
    children = {}
    for pid, stat in stats.items():
        children.setdefault(stat.ppid, []).append(pid)
    found, pending = {}, [root] if root in stats else []
    while pending:
        pid = pending.pop()
        if stats[pid].state != "Z":
            found[pid] = stats[pid]
        pending.extend(children.get(pid, []))
    return found


def identities(processes):
    """The (pid, start time) pairs of a {pid: Stat}, which stay unique across pid reuse."""
    return {(pid, stat.start_time) for pid, stat in processes.items()}


def still_running(known):
    """Those of the (pid, start time) pairs whose process is still there (a zombie counts as gone)."""
    left = set()
    for pid, start_time in known:
        stat = read_stat(pid)
        if stat and stat.start_time == start_time and stat.state != "Z":
            left.add((pid, start_time))
    return left


class ProcessUse:
    """One process's memory and the work it has done so far."""

    def __init__(self, pid, stat):
        status = status_fields("/proc/%d/status" % pid)
        self.pid = pid
        self.name = stat.name
        self.rss_kb = kilobytes(status.get("VmRSS"))
        self.pss_kb = kilobytes(status_fields("/proc/%d/smaps_rollup" % pid).get("Pss"))
        self.cpu_ticks = stat.cpu_ticks
        self.switches = context_switches(pid)


def context_switches(pid):
    """{thread id: voluntary plus involuntary context switches} of the process's threads. Each
    switch is a time the thread stopped running, so over an idle minute they count its wake-ups."""
    counts = {}
    try:
        threads = os.listdir("/proc/%d/task" % pid)
    except OSError:
        return counts
    for thread in threads:
        status = status_fields("/proc/%d/task/%s/status" % (pid, thread))
        if status:
            counts[int(thread)] = int(status.get("voluntary_ctxt_switches", 0)) + \
                int(status.get("nonvoluntary_ctxt_switches", 0))
    return counts


def switches_between(before, after):
    """(context switches from `before` to `after`, threads that ended meanwhile), given two
    context_switches() of one process. A thread's switches count from 0 when it started meanwhile;
    an ended thread's last ones are not known."""
    return (sum(count - before.get(thread, 0) for thread, count in after.items()),
            len(before.keys() - after.keys()))


def use_of(root):
    """[ProcessUse] of `root` and the processes below it, `root` first."""
    processes = tree(root)
    return [ProcessUse(pid, stat) for pid, stat in sorted(processes.items(), key=lambda item: item[0] != root)]


def rss_kb_of(root):
    """VmRSS of `root` and the processes below it, summed, in kB."""
    return sum(kilobytes(status_fields("/proc/%d/status" % pid).get("VmRSS")) or 0 for pid in tree(root))


def highest_rss_kb(root, seconds, step=0.5):
    """Waits `seconds`, reading the summed VmRSS of `root` and its processes every `step`: the
    highest reading. Reading /proc wakes none of them."""
    deadline = time.monotonic() + seconds
    highest = rss_kb_of(root)
    while True:
        left = deadline - time.monotonic()
        if left <= 0:
            return highest
        time.sleep(min(step, left))
        highest = max(highest, rss_kb_of(root))


def cpu_ticks_of(root):
    return sum(stat.cpu_ticks for stat in tree(root).values())


def wait_until_idle(root, quiet_seconds, timeout, busy_share=0.0, step=0.1):
    """Waits until `root` and its processes have used at most `busy_share` of one CPU over the
    last `quiet_seconds`, with the same processes throughout (a program that polls a little counts
    as resting under a share above 0). Returns when that quiet time began (time.monotonic()), or
    None when it did not come within `timeout` or the root process ended."""
    deadline = time.monotonic() + timeout
    allowed = int(quiet_seconds * CLOCK_TICKS * busy_share)
    samples = collections.deque()  # (time, CPU ticks) since the processes last changed
    processes_seen = None
    while time.monotonic() < deadline:
        processes = tree(root)
        if root not in processes:
            return None
        now = time.monotonic()
        if identities(processes) != processes_seen:
            processes_seen = identities(processes)
            samples.clear()
        samples.append((now, sum(stat.cpu_ticks for stat in processes.values())))
        while len(samples) > 1 and now - samples[1][0] >= quiet_seconds:
            samples.popleft()
        began, ticks = samples[0]
        if now - began >= quiet_seconds and samples[-1][1] - ticks <= allowed:
            return began
        time.sleep(step)
    return None

def marked_processes(name, value):
    """{pid: Stat} of the live processes whose environment holds name=value."""
    wanted = ("%s=%s" % (name, value)).encode()
    found = {}
    for pid, stat in all_stats().items():
        if stat.state == "Z":
            continue
        try:
            with open("/proc/%d/environ" % pid, "rb") as environ:
                if wanted in environ.read().split(b"\0"):
                    found[pid] = stat
        except OSError:
            pass
    return found
