#!/usr/bin/python3
"""vocabra-tray beside GoldenDict on this machine: the time from the Ctrl+C+C hot key to the
dictionary's request, the memory waiting and with an answer shown, and the CPU used while idle.

usage (needs a display; every run has a session bus of its own, so dbus-run-session is optional):
    tools/with-display dbus-run-session -- /usr/bin/python3 benchmarks/desktop/compare_with_goldendict.py \\
        [--vocabra-build build/linux/tray/gtk] [--goldendict /usr/bin/goldendict | --no-goldendict] \\
        [--lookups 4] [--idle-seconds 60] [--runs 1] [--json results.json] [--idle-only]

Each program runs in turn (the order alternates from run to run) in a new home folder with its
configuration written here, its dictionary a local fake one that records when each request arrives.
For each run: start, wait until the program's processes use no CPU, take their memory, let them
idle for --idle-seconds and count the CPU time and context switches of that time (and the highest
memory in it), take the memory again as the first lookup finds it, then look up words (Latin and
Cyrillic in turn) by putting each into the CLIPBOARD and pressing Ctrl+C twice with xdotool. A
lookup's time runs from the second release of C, as the X server stamped it, to the request's
arrival at the fake dictionary (and, for comparison, from xdotool's return). With the first answer
shown and the program resting again, take the memory and the CPU again, and the memory once more
after the last lookup; end the program and check that none of its processes stays.
A markdown table compares the two; the exit status is 1 when any measurement could not be made.
"""

import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import uuid

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import process_metrics as metrics  # noqa: E402
import key_events  # noqa: E402
import x_display  # noqa: E402
from fresh_home import RUN_MARK  # noqa: E402
from session_bus import SessionBus  # noqa: E402
from goldendict_program import WEBSITE_MODES, GoldenDict  # noqa: E402
from vocabra_program import VocabraTray  # noqa: E402  (puts tests/e2e on sys.path)
from fake_dictionary import FakeDictionary  # noqa: E402

# Looked up in this order: a Latin word, then a Cyrillic one, each only once in a run, so that no
# program can answer from a cache.
WORDS = ["hello", "привет", "window", "словарь", "garden", "книга", "water", "дорога", "letter", "солнце"]


class MeasurementFailed(Exception):
    pass


class Run:
    """What one run of one program measured; every figure stays None when it could not be made."""

    def __init__(self, program):
        self.program = program
        self.settled_seconds = None  # from the start to the beginning of the first quiet time
        self.windows_when_idle = None
        self.idle = None  # [ProcessUse] at rest after the start
        self.idle_cpu_ms = None
        self.idle_switches = None
        self.idle_process_changes = []
        # [ProcessUse] after the idle time, as the first lookup finds the program: what it got ready
        # for its first answer while it waited is in here
        self.before_lookup = None
        self.windows_before_lookup = None
        self.waiting_peak_kb = None  # the highest RSS sum from the rest after the start to the first lookup
        # {"word", "ms": from the second release of C to the request, "from_return_ms": from
        # xdotool's return to the request, "xdotool_ms": xdotool's run}
        self.lookups = []
        self.answer = None  # [ProcessUse] with the first answer shown
        self.windows_with_answer = None
        self.answer_cpu_ms = None  # while the first answer is shown, over --answer-idle-seconds
        self.answer_switches = None
        self.after_lookups = None  # [ProcessUse] after the last lookup, its windows left open
        self.windows_after_lookups = None
        self.ended_by = None
        self.exit_code = None
        self.left_behind = None  # descriptions of processes still running after the end
        # [(name, RSS in kB)] of the services the run's session bus started (at-spi): the
        # desktop's, not the program's
        self.bus_services_idle = None
        self.bus_services_answer = None
        self.bus_services_ended = None  # those that did not end with their bus
        self.errors = []


def describe(processes):
    return ["%s[%d]" % (stat.name, pid) for pid, stat in sorted(processes.items())]


def windows_of(root):
    """Names of the visible windows of the program's processes."""
    return [x_display.window_name(window) or "(no name)"
            for pid in metrics.tree(root) for window in x_display.visible_windows(pid)]


class Measurement:
    """One run of one program, from its new home folder to the check that nothing stayed."""

    def __init__(self, program, dictionary, keys, focus_holder, options, work):
        self.program = program
        self.focus_holder = focus_holder
        self.dictionary = dictionary
        self.keys = keys
        self.c_key = keys.keycodes["c"]
        self.options = options
        self.run = Run(program.name)
        self.run_id = str(uuid.uuid4())
        self.home = tempfile.mkdtemp(prefix=program.name + "-", dir=work)
        self.process = None
        self.seen = set()  # every process of the program ever seen, to check after the end

    def processes(self):
        found = metrics.tree(self.process.pid)
        self.seen |= metrics.identities(found)
        return found

    def use(self):
        self.processes()
        return metrics.use_of(self.process.pid)

    def settle(self, timeout, what, busy_percent=None):
        """Waits until the program's processes rest: at most `busy_percent` (--busy-percent when
        None) of a CPU over --quiet-seconds."""
        busy = self.options.busy_percent if busy_percent is None else busy_percent
        quiet_since = metrics.wait_until_idle(self.process.pid, self.options.quiet_seconds, timeout, busy / 100)
        if quiet_since is None:
            if self.process.poll() is not None:
                raise MeasurementFailed("%s: the program ended with status %s" % (what, self.process.returncode))
            raise MeasurementFailed("%s: the program did not become idle within %d s" % (what, timeout))
        self.processes()
        return quiet_since

    def bus_services(self):
        return [(stat.name, metrics.ProcessUse(pid, stat).rss_kb or 0) for pid, stat in self.bus.services().items()]

    def start(self):
        self.program.prepare(self.home, self.dictionary.port, self.run_id)
        self.program.environment["DBUS_SESSION_BUS_ADDRESS"] = self.bus.address
        with open(os.path.join(self.home, "output.log"), "wb") as log:
            started = time.monotonic()
            self.process = subprocess.Popen(self.program.command(), env=self.program.environment,
                                            stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT)
        # Before the first lookup, idle means no CPU at all.
        self.run.settled_seconds = self.settle(self.options.start_timeout, "start", busy_percent=0) - started
        self.run.windows_when_idle = windows_of(self.process.pid)

    def idle_use(self, seconds):
        """(CPU time in ms, context switches, processes that came or went, the highest RSS sum in
        kB) of the program's processes over `seconds` in which nothing is asked of it."""
        before = {use.pid: use for use in self.use()}
        # The measurement itself: nothing happens for that long but reading /proc.
        highest = metrics.highest_rss_kb(self.process.pid, seconds)
        after = {use.pid: use for use in self.use()}
        both = before.keys() & after.keys()
        cpu_ms = sum(after[pid].cpu_ticks - before[pid].cpu_ticks for pid in both) * 1000 // metrics.CLOCK_TICKS
        switches, changes = 0, []
        for pid in both:
            count, ended_threads = metrics.switches_between(before[pid].switches, after[pid].switches)
            switches += count
            if ended_threads:
                changes.append("%s[%d] ended %d thread(s)" % (after[pid].name, pid, ended_threads))
        changes += ["process ended: %s[%d]" % (before[pid].name, pid) for pid in before.keys() - both] + \
            ["process started: %s[%d]" % (after[pid].name, pid) for pid in after.keys() - both]
        return cpu_ms, switches, changes, highest

    def measure_idle(self):
        self.run.idle = self.use()
        self.run.bus_services_idle = self.bus_services()
        self.run.idle_cpu_ms, self.run.idle_switches, self.run.idle_process_changes, highest = \
            self.idle_use(self.options.idle_seconds)
        # A program may get ready for its first answer while it waits: the memory the first lookup
        # finds, once the program rests again.
        self.settle(self.options.start_timeout, "before the first lookup", busy_percent=0)
        self.run.before_lookup = self.use()
        self.run.windows_before_lookup = windows_of(self.process.pid)
        self.run.waiting_peak_kb = max(highest, *(sum(use.rss_kb or 0 for use in uses)
                                                  for uses in (self.run.idle, self.run.before_lookup)))

    def look_up(self, word):
        # As a user who goes back to an application after reading an answer: the focus leaves
        # the program's windows (a popup may hide), and the keys come once it has rested.
        self.focus_holder.focus()
        self.settle(self.options.start_timeout, "before looking up %r" % word)
        with x_display.ClipboardOwner(word):
            keys_before = self.keys.count()
            pressed, returned = x_display.press_ctrl_c_twice()
            request = self.dictionary.wait_for(lambda r: r.arrived >= pressed and self.program.asked_for(r, word),
                                               self.options.lookup_timeout)
            if request is None:
                self.dictionary.print_requests()
                raise MeasurementFailed("no request for %r reached the dictionary within %d s"
                                        % (word, self.options.lookup_timeout))
            releases = self.keys.wait_for_releases(self.c_key, 2, keys_before, self.options.lookup_timeout)
            released = key_events.monotonic_time(releases[1]) if releases else None
            if released is None:
                raise MeasurementFailed("the X server's time of the key release is unknown")
            self.run.lookups.append({"word": word, "ms": (request.arrived - released) * 1000,
                                     "from_return_ms": (request.arrived - returned) * 1000,
                                     "xdotool_ms": (returned - pressed) * 1000})
            if not x_display.wait_until(lambda: windows_of(self.process.pid), self.options.lookup_timeout):
                raise MeasurementFailed("no answer window for %r appeared" % word)
            # The answer is complete when the program rests again.
            self.settle(self.options.start_timeout, "answer for %r" % word)

    def measure_answer(self):
        """Memory and CPU with one answer shown: the first."""
        self.run.answer = self.use()
        self.run.bus_services_answer = self.bus_services()
        self.run.windows_with_answer = windows_of(self.process.pid)
        if not self.run.windows_with_answer:
            raise MeasurementFailed("the answer window went away before its memory was taken")
        if self.options.screenshots:
            os.makedirs(self.options.screenshots, exist_ok=True)
            x_display.screenshot(os.path.join(self.options.screenshots, "%s-%s.png" % (self.program.name, self.run_id)))
        self.run.answer_cpu_ms, self.run.answer_switches, _, _ = self.idle_use(self.options.answer_idle_seconds)

    def measure_after_lookups(self):
        """Memory once every lookup was answered, with the windows they left open."""
        self.run.after_lookups = self.use()
        self.run.windows_after_lookups = windows_of(self.process.pid)

    def end(self):
        """Ends the program however the run went, and checks that none of its processes stays."""
        if self.process is None:
            return
        if self.process.poll() is None:
            self.processes()
            try:
                self.run.ended_by = self.program.stop(self.process)
                self.run.exit_code = self.process.wait(self.options.start_timeout)
            except subprocess.TimeoutExpired:
                self.run.errors.append("the program did not end within %d s of %s"
                                       % (self.options.start_timeout, self.run.ended_by))
                self.process.kill()
                self.process.wait()
        else:
            self.run.exit_code = self.process.returncode

        def left():
            """The program's processes still running: those seen in its tree, and any other
            that carries the run's mark (a daemon that left the tree)."""
            staying = metrics.marked_processes(RUN_MARK, self.run_id)
            for pid, _ in metrics.still_running(self.seen):
                stat = metrics.read_stat(pid)
                if stat:
                    staying[pid] = stat
            return staying

        if x_display.wait_until(lambda: not left(), 10) is None:
            staying = left()
            self.run.left_behind = describe(staying)
            self.run.errors.append("processes stayed after the program ended: %s" % ", ".join(self.run.left_behind))
            for pid in staying:  # started through this run: ended here so that the next run is clean
                try:
                    os.kill(pid, 9)
                except OSError:
                    pass
        else:
            self.run.left_behind = []

    def perform(self, words):
        try:
            self.bus = SessionBus(os.path.join(self.home, "session-bus.log"))
        except RuntimeError as failure:
            self.run.errors.append(str(failure))
            return self.run
        try:
            self.start()
            self.measure_idle()
            for index, word in enumerate(words):
                try:
                    self.look_up(word)
                except MeasurementFailed as failure:
                    if self.process.poll() is not None:
                        raise
                    # The next lookups still say something while the program runs.
                    self.run.errors.append(str(failure))
                    continue
                if index == 0:
                    self.measure_answer()
            if words:
                self.measure_after_lookups()
        except (MeasurementFailed, RuntimeError, subprocess.TimeoutExpired) as failure:
            self.run.errors.append(str(failure))
        finally:
            self.end()
            self.run.bus_services_ended = self.bus.close()
        if not self.options.keep:
            shutil.rmtree(self.home, ignore_errors=True)
        return self.run


# ---- The report ----

def megabytes(kilobytes):
    return kilobytes / 1024


def memory(uses, which, field="rss_kb"):
    """Sum of a memory field over the main process ("main"), its helpers ("helpers") or all."""
    if uses is None:
        return None
    chosen = uses[:1] if which == "main" else uses[1:] if which == "helpers" else uses
    return megabytes(sum(getattr(use, field) or 0 for use in chosen))


def spread(values, digits):
    """One figure, or the median and the range of several."""
    values = [value for value in values if value is not None]
    if not values:
        return "—"
    text = "%.*f" % (digits, statistics.median(values))
    if len(values) > 1 and min(values) != max(values):
        text += " (%.*f–%.*f)" % (digits, min(values), digits, max(values))
    return text


# What each moment's memory rows give: (what, which processes, field).
MEMORY_FIGURES = [("RSS, main process", "main", "rss_kb"), ("RSS, helper processes", "helpers", "rss_kb"),
                  ("RSS, sum", "all", "rss_kb"), ("PSS, sum", "all", "pss_kb")]


def memory_rows(moment, uses_of):
    """The table's rows of the memory at one moment; `uses_of(run)` gives that moment's [ProcessUse]."""
    return [("%s: %s (MB)" % (moment, what),
             lambda runs, which=which, field=field: spread([memory(uses_of(run), which, field) for run in runs], 1))
            for what, which, field in MEMORY_FIGURES]


def rows(options):
    """(label, figures of a list of runs) for the table."""
    idle = options.idle_seconds

    def first(runs):
        return spread([run.lookups[0]["ms"] if run.lookups else None for run in runs], 0)

    def following(runs):
        return spread([lookup["ms"] for run in runs for lookup in run.lookups[1:]], 0)

    def added(runs):
        return spread([memory(run.answer, "all") - memory(run.before_lookup, "all")
                       if run.answer and run.before_lookup else None for run in runs], 1)

    return [
        ("second release of C → request, first lookup (ms)", first),
        ("second release of C → request, next lookups (ms)", following),
        ("the same from xdotool's return, first lookup (ms)", lambda runs: spread(
            [run.lookups[0]["from_return_ms"] if run.lookups else None for run in runs], 0)),
        ("the same from xdotool's return, next lookups (ms)", lambda runs: spread(
            [lookup["from_return_ms"] for run in runs for lookup in run.lookups[1:]], 0)),
        ("start → idle (s)", lambda runs: spread([run.settled_seconds for run in runs], 1)),
        *memory_rows("idle after the start", lambda run: run.idle),
        *memory_rows("idle before the first lookup (after %d s)" % idle, lambda run: run.before_lookup),
        ("highest RSS sum before the first lookup (MB)",
         lambda runs: spread([megabytes(run.waiting_peak_kb) if run.waiting_peak_kb is not None else None
                              for run in runs], 1)),
        *memory_rows("first answer shown", lambda run: run.answer),
        ("what the first answer adds, RSS sum (MB)", added),
        ("after %d lookups: RSS, sum (MB)" % options.lookups,
         lambda runs: spread([memory(run.after_lookups, "all") for run in runs], 1)),
        ("after %d lookups: answer windows open" % options.lookups,
         lambda runs: spread([len(run.windows_after_lookups) if run.windows_after_lookups is not None else None
                              for run in runs], 0)),
        ("idle CPU time over %d s (ms)" % idle, lambda runs: spread([run.idle_cpu_ms for run in runs], 0)),
        ("idle context switches over %d s" % idle, lambda runs: spread([run.idle_switches for run in runs], 0)),
        ("first answer shown: CPU time over %d s (ms)" % options.answer_idle_seconds,
         lambda runs: spread([run.answer_cpu_ms for run in runs], 0)),
        ("first answer shown: context switches over %d s" % options.answer_idle_seconds,
         lambda runs: spread([run.answer_switches for run in runs], 0)),
        ("nothing left running after the end", lambda runs: "yes" if all(
            run.left_behind == [] for run in runs) else "no"),
    ]


def print_table(results, options):
    names = list(results)
    runs = max(len(results[name]) for name in names)
    print("\n%d run(s) each; a range gives the lowest and highest, before it the median.\n" % runs)
    print("| measurement | " + " | ".join(names) + " |")
    print("|---|" + "---|" * len(names))
    for label, figure in rows(options):
        print("| %s | %s |" % (label, " | ".join(figure(results[name]) for name in names)))


def print_details(results):
    for name, runs in results.items():
        for number, run in enumerate(runs, 1):
            print("\n%s, run %d: ended by %s (status %s)" % (name, number, run.ended_by, run.exit_code))
            print("  lookups, ms from the second release of C (from xdotool's return; xdotool's run): %s" % ", ".join(
                "%s %.0f (%.0f; %.0f)" % (lookup["word"], lookup["ms"], lookup["from_return_ms"], lookup["xdotool_ms"])
                for lookup in run.lookups))
            for label, uses, windows in (("idle", run.idle, run.windows_when_idle),
                                         ("before the first lookup", run.before_lookup, run.windows_before_lookup),
                                         ("first answer shown", run.answer, run.windows_with_answer),
                                         ("after the lookups", run.after_lookups, run.windows_after_lookups)):
                if uses is not None:
                    print("  %s: %s; visible windows: %s" % (label, ", ".join(
                        "%s[%d] RSS %.1f MB PSS %.1f MB" % (use.name, use.pid, megabytes(use.rss_kb or 0),
                                                           megabytes(use.pss_kb or 0)) for use in uses),
                        ", ".join(windows) or "none"))
            for change in run.idle_process_changes:
                print("  while idle: %s" % change)
            for label, services in (("idle", run.bus_services_idle), ("answer shown", run.bus_services_answer)):
                if services:
                    print("  %s, services the session bus started for it (not counted above): %s" % (label, ", ".join(
                        "%s RSS %.1f MB" % (name, megabytes(rss_kb)) for name, rss_kb in services)))
            if run.bus_services_ended:
                print("  services that outlived their session bus and were ended: %s"
                      % ", ".join(run.bus_services_ended))
            for error in run.errors:
                print("  FAILED: %s" % error)


def as_json(results):
    def plain(value):
        if isinstance(value, list):
            return [plain(item) for item in value]
        if isinstance(value, metrics.ProcessUse):
            return dict(vars(value))
        return value
    return {name: [{key: plain(value) for key, value in vars(run).items()} for run in runs]
            for name, runs in results.items()}


def parse_options():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--vocabra-build", help="folder holding vocabra-tray and libvocabra-answer-window.so")
    parser.add_argument("--goldendict", default="/usr/bin/goldendict", help="GoldenDict's executable")
    parser.add_argument("--answer-window-library",
                        help="libvocabra-answer-window.so, when it is not in the --vocabra-build folder")
    parser.add_argument("--no-goldendict", action="store_true", help="measure vocabra-tray alone")
    parser.add_argument("--idle-only", action="store_true",
                        help="no lookups: the start, the memory and the CPU while idle (vocabra-tray's "
                             "answer window library, which it loads while it waits, included)")
    parser.add_argument("--goldendict-website", choices=sorted(WEBSITE_MODES), default="iframe",
                        help="how GoldenDict shows the website dictionary: in an iframe (its default) or "
                             "by fetching the page itself")
    parser.add_argument("--lookups", type=int, default=4, help="lookups per run (at most %d)" % len(WORDS))
    parser.add_argument("--idle-seconds", type=int, default=60,
                        help="how long each program waits before its first lookup, its idle CPU measured meanwhile "
                             "(vocabra-tray loads its answer window library 10 s after its start)")
    parser.add_argument("--runs", type=int, default=1, help="runs of each program")
    parser.add_argument("--answer-idle-seconds", type=int, default=10,
                        help="how long the CPU is measured with the last answer shown")
    parser.add_argument("--quiet-seconds", type=float, default=2.0,
                        help="a program rests when it used at most --busy-percent of a CPU for this long")
    parser.add_argument("--busy-percent", type=float, default=2.0,
                        help="CPU use below which a program counts as resting (GoldenDict polls a little "
                             "once its popup exists)")
    parser.add_argument("--start-timeout", type=int, default=60, help="deadline for a program to become idle")
    parser.add_argument("--lookup-timeout", type=int, default=10, help="deadline for a lookup's request")
    parser.add_argument("--json", help="also write every figure to this file")
    parser.add_argument("--keep", action="store_true", help="keep the programs' home folders (and their logs)")
    parser.add_argument("--screenshots", help="folder for a picture of the screen with each run's last answer")
    options = parser.parse_args()
    if not 1 <= options.lookups <= len(WORDS):
        parser.error("--lookups must be between 1 and %d" % len(WORDS))
    if not options.vocabra_build and options.no_goldendict:
        parser.error("nothing to measure: give --vocabra-build or leave GoldenDict in")
    if "DISPLAY" not in os.environ:
        parser.error("no DISPLAY: run through tools/with-display")
    return options


def main():
    options = parse_options()
    programs = []
    if options.vocabra_build:
        library = options.answer_window_library and os.path.abspath(options.answer_window_library)
        programs.append(VocabraTray(os.path.abspath(options.vocabra_build), library))
    if not options.no_goldendict:
        programs.append(GoldenDict(options.goldendict, options.goldendict_website))
    results = {program.name: [] for program in programs}
    work = tempfile.mkdtemp(prefix="desktop-benchmark-")
    print("work folder: %s" % work, flush=True)
    try:
        with FakeDictionary() as dictionary, key_events.KeyEvents() as keys, x_display.FocusHolder() as holder:
            for number in range(options.runs):
                # Alternating the order spreads whatever the machine does meanwhile over both.
                for program in programs if number % 2 == 0 else programs[::-1]:
                    print("run %d of %s ..." % (number + 1, program.name), flush=True)
                    words = [] if options.idle_only else WORDS[:options.lookups]
                    run = Measurement(program, dictionary, keys, holder, options, work).perform(words)
                    for error in run.errors:
                        print("  FAILED: %s" % error, flush=True)
                    results[program.name].append(run)
    finally:
        if not options.keep:
            shutil.rmtree(work, ignore_errors=True)
    print_table(results, options)
    print_details(results)
    if options.json:
        with open(options.json, "w", encoding="utf-8") as out:
            json.dump(as_json(results), out, ensure_ascii=False, indent=1)
    failed = any(run.errors for runs in results.values() for run in runs)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
