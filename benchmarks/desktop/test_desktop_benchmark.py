#!/usr/bin/python3
"""Tests of the benchmark's own measuring: /proc reading on real processes, the X server's key
times, the figures of the table, the program folder of vocabra-tray and GoldenDict's configuration.

    /usr/bin/python3 -m unittest discover -s benchmarks/desktop -p 'test_*.py'

Cases that need more than Python skip themselves: VOCABRA_LOOKUP=<build>/cli/vocabra-lookup reads
the program folder back with the engine's own parsers; GoldenDict's configuration needs a display
(tools/with-display) and /usr/bin/goldendict.
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
import xml.etree.ElementTree as ElementTree

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import compare_with_goldendict as report  # noqa: E402
import key_events  # noqa: E402
import process_metrics as metrics  # noqa: E402
import test_program  # noqa: E402  (tests/desktop, put on the path by vocabra_program)
from fake_dictionary import FakeDictionary  # noqa: E402  (tests/e2e, put on the path by test_program)
from goldendict_program import CONFIG, configure, default_config  # noqa: E402

BUSY_THEN_SLEEP = """
import sys, time
end = time.monotonic() + float(sys.argv[1])
while time.monotonic() < end:
    pass
print(time.monotonic(), flush=True)
time.sleep(60)
"""

# Holds 64 MB in a helper process for a moment, then gives them back.
GROWS_FOR_A_MOMENT = """
import subprocess, sys, time
helper = subprocess.Popen([sys.executable, "-c",
                           "import time; time.sleep(0.5); data = bytes([1]) * (64 << 20); time.sleep(1.0); del data; "
                           "print('freed', flush=True); time.sleep(60)"], stdout=sys.stdout)
time.sleep(60)
"""

POLLING = """
import time
while True:
    end = time.monotonic() + 0.02
    while time.monotonic() < end:
        pass
    time.sleep(0.08)
"""


def python(code, *args, **popen):
    return subprocess.Popen([sys.executable, "-c", code, *map(str, args)], stdin=subprocess.DEVNULL, **popen)


class ProcessTests(unittest.TestCase):
    def setUp(self):
        self.children = []

    def tearDown(self):
        # The whole group: a helper the child started would otherwise sleep on, holding the test
        # run's output open, and the run would wait for it.
        for child in self.children:
            try:
                os.killpg(child.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            child.wait()
            if child.stdout:
                child.stdout.close()

    def start(self, code, *args, **popen):
        child = python(code, *args, start_new_session=True, **popen)
        self.children.append(child)
        return child

    def test_stat_reads_the_fields_after_a_name_with_spaces_and_parentheses(self):
        fields = ["S", "41"] + ["0"] * 9 + ["250", "70"] + ["0"] * 6 + ["9876"] + ["0"] * 30
        stat = metrics.Stat("1234 (a) b (c)) " + " ".join(fields))
        self.assertEqual((stat.name, stat.state, stat.ppid), ("a) b (c)", "S", 41))
        self.assertEqual((stat.cpu_ticks, stat.start_time), (320, 9876))

    def test_tree_holds_grandchildren_and_the_end_check_sees_them_go(self):
        child = self.start("import subprocess, sys, time\n"
                           "grandchild = subprocess.Popen(['sleep', '60'])\n"
                           "print(grandchild.pid, flush=True)\n"
                           "time.sleep(60)", stdout=subprocess.PIPE)
        grandchild = int(child.stdout.readline())
        found = metrics.tree(child.pid)
        self.assertEqual(set(found), {child.pid, grandchild})
        known = metrics.identities(found)
        os.kill(grandchild, 9)
        deadline = time.monotonic() + 10
        while metrics.still_running(known) != metrics.identities({child.pid: found[child.pid]}):
            self.assertLess(time.monotonic(), deadline, "the killed grandchild still counts as running")
            time.sleep(0.05)

    def test_a_mark_in_the_environment_finds_the_process_and_no_other(self):
        marked = self.start("import time; time.sleep(60)", env=dict(os.environ, BENCHMARK_TEST_MARK="yes"))
        self.start("import time; time.sleep(60)", env=dict(os.environ, BENCHMARK_TEST_MARK="no"))
        self.assertEqual(set(metrics.marked_processes("BENCHMARK_TEST_MARK", "yes")), {marked.pid})

    def test_idle_begins_after_the_busy_time_ends(self):
        child = self.start(BUSY_THEN_SLEEP, 0.6, stdout=subprocess.PIPE)
        began = metrics.wait_until_idle(child.pid, 0.5, 20)
        busy_until = float(child.stdout.readline())
        self.assertIsNotNone(began)
        # A tick of CPU time is the resolution: the quiet time cannot start much before the end.
        self.assertGreaterEqual(began, busy_until - 2 / metrics.CLOCK_TICKS - 0.1)

    def test_a_busy_program_never_counts_as_idle(self):
        busy = self.start(BUSY_THEN_SLEEP, 60)
        self.assertIsNone(metrics.wait_until_idle(busy.pid, 0.5, 2))
        # A share well under what a spinning process gets even on a loaded machine.
        self.assertIsNone(metrics.wait_until_idle(busy.pid, 0.5, 2, busy_share=0.1))

    def test_a_program_that_polls_rests_only_under_a_share_above_its_use(self):
        polling = self.start(POLLING)  # about a fifth of a CPU
        self.assertIsNone(metrics.wait_until_idle(polling.pid, 1.0, 3))
        self.assertIsNone(metrics.wait_until_idle(polling.pid, 1.0, 3, busy_share=0.05))
        self.assertIsNotNone(metrics.wait_until_idle(polling.pid, 1.0, 10, busy_share=0.6))

    def test_an_ended_program_is_not_idle(self):
        child = self.start("pass")
        child.wait()
        self.assertIsNone(metrics.wait_until_idle(child.pid, 0.5, 2))

    def test_the_highest_memory_counts_a_helper_that_held_it_for_a_moment(self):
        child = self.start(GROWS_FOR_A_MOMENT, stdout=subprocess.PIPE)
        deadline = time.monotonic() + 10
        while len(metrics.tree(child.pid)) < 2:  # the helper has started
            self.assertLess(time.monotonic(), deadline, "the helper did not start")
            time.sleep(0.02)
        resting = metrics.rss_kb_of(child.pid)
        highest = metrics.highest_rss_kb(child.pid, 2.5, 0.1)
        self.assertEqual(child.stdout.readline().strip(), b"freed")
        self.assertGreater(highest, resting + 60 * 1024)
        self.assertLess(metrics.rss_kb_of(child.pid), resting + 20 * 1024)

    def test_switches_count_new_threads_whole_and_report_ended_ones(self):
        self.assertEqual(metrics.switches_between({1: 10, 2: 5}, {1: 12, 3: 4}), (6, 1))

    def test_context_switches_of_every_thread_are_read(self):
        child = self.start("import threading, time\n"
                           "for _ in range(3): threading.Thread(target=time.sleep, args=(60,), daemon=True).start()\n"
                           "print(flush=True)\n"
                           "time.sleep(60)", stdout=subprocess.PIPE)
        child.stdout.readline()
        self.assertEqual(len(metrics.context_switches(child.pid)), 4)

    def test_memory_is_read_for_each_process(self):
        use = metrics.use_of(os.getpid())[0]
        self.assertEqual(use.pid, os.getpid())
        self.assertGreater(use.rss_kb, 1000)
        self.assertGreater(use.pss_kb, 0)
        self.assertLessEqual(use.pss_kb, use.rss_kb)


class KeyTimeTests(unittest.TestCase):
    # Stamps are whole milliseconds: a time is right within one.
    def test_a_stamp_a_few_milliseconds_old_gives_the_time_it_was_taken(self):
        self.assertAlmostEqual(key_events.monotonic_time((False, 54, 5000004, 5000.0104)), 5000.004, delta=0.001)

    def test_the_32_bit_stamp_wraps_around(self):
        arrived = (1 << 32) / 1000 + 0.0021  # 2 ms after the server's counter wrapped
        stamp = (1 << 32) - 3  # taken 3 ms before the wrap
        self.assertAlmostEqual(key_events.monotonic_time((False, 54, stamp, arrived)), arrived - 0.005, delta=0.001)

    def test_a_stamp_of_another_clock_is_refused(self):
        self.assertIsNone(key_events.monotonic_time((False, 54, 123, 5000.0)))
        self.assertIsNone(key_events.monotonic_time((False, 54, 5000010, 5000.0)))  # from the future


class TableTests(unittest.TestCase):
    def test_several_values_give_the_median_and_the_range(self):
        self.assertEqual(report.spread([12.0, None, 10.0, 30.0], 0), "12 (10–30)")
        self.assertEqual(report.spread([4.0, 4.0], 1), "4.0")
        self.assertEqual(report.spread([None], 1), "—")

    def test_memory_sums_the_main_process_and_its_helpers_apart(self):
        class Use:
            def __init__(self, rss_kb):
                self.rss_kb, self.pss_kb = rss_kb, None
        uses = [Use(2048), Use(1024), Use(3072)]
        self.assertEqual((report.memory(uses, "main"), report.memory(uses, "helpers"), report.memory(uses, "all")),
                         (2.0, 4.0, 6.0))
        self.assertEqual(report.memory(uses, "all", "pss_kb"), 0)
        self.assertIsNone(report.memory(None, "all"))

    def test_each_memory_row_of_a_moment_gives_its_own_figure(self):
        class Use:
            def __init__(self, rss_kb, pss_kb):
                self.rss_kb, self.pss_kb = rss_kb, pss_kb

        class Run:
            waited = [Use(2048, 1024), Use(1024, 512)]
        rows = report.memory_rows("waiting", lambda run: run.waited)
        self.assertEqual([(label, figure([Run()])) for label, figure in rows],
                         [("waiting: RSS, main process (MB)", "2.0"), ("waiting: RSS, helper processes (MB)", "1.0"),
                          ("waiting: RSS, sum (MB)", "3.0"), ("waiting: PSS, sum (MB)", "1.5")])


class ProgramFolderTests(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.work)
        self.build = os.path.join(self.work, "build")
        os.makedirs(self.build)
        for name in (test_program.EXECUTABLE, test_program.ANSWER_WINDOW_LIBRARY):
            with open(os.path.join(self.build, name), "w") as out:
                out.write(name)

    def test_settings_values_are_written_in_the_registry_file_forms(self):
        self.assertEqual(test_program.registry_line("last", test_program.QWord(0x0102030405)),
                         '"last"=hex(b):05,04,03,02,01,00,00,00')
        self.assertEqual(test_program.registry_line("useCtrlCC", 0), '"useCtrlCC"=dword:00000000')
        self.assertEqual(test_program.registry_line('a"b', 'C:\\x "y"'), '"a\\"b"="C:\\\\x \\"y\\""')

    def test_the_folder_holds_the_copies_the_locale_and_the_icons(self):
        program = test_program.prepare_program_folder(self.build, os.path.join(self.work, "app"), 4321)
        self.assertFalse(os.path.islink(program.executable))
        with open(program.executable) as copied:
            self.assertEqual(copied.read(), test_program.EXECUTABLE)
        self.assertTrue(os.path.isfile(os.path.join(program.folder, test_program.ANSWER_WINDOW_LIBRARY)))
        for service in test_program.SERVICES.values():
            self.assertTrue(os.path.isfile(os.path.join(program.folder, "icons", service.icon)))
        for language in test_program.LANGUAGE_NAMES:
            configuration = os.path.join(program.folder, "locale", language, "Configuration.properties")
            self.assertTrue(os.path.isfile(configuration))

    def test_without_the_answer_window_the_library_stays_out(self):
        program = test_program.prepare_program_folder(self.build, os.path.join(self.work, "app"), 4321,
                                                      with_answer_window=False)
        self.assertFalse(os.path.exists(os.path.join(program.folder, test_program.ANSWER_WINDOW_LIBRARY)))

    @unittest.skipUnless(os.environ.get("VOCABRA_LOOKUP"), "VOCABRA_LOOKUP names no vocabra-lookup")
    def test_the_engine_reads_the_folder_as_written(self):
        program = test_program.prepare_program_folder(
            self.build, os.path.join(self.work, "app"), 4321, priority=["Second", "Fake"],
            settings={"dictionaryDirection": "de-ru"})

        def lookup(*args):
            result = subprocess.run([os.environ["VOCABRA_LOOKUP"], "--program-dir", program.folder, *args],
                                    env=test_program.program_environment(program), capture_output=True, text=True,
                                    timeout=30)
            self.assertEqual(result.returncode, 0, result.stderr)
            return result.stdout.splitlines()

        self.assertEqual([line.split("\t")[0] for line in lookup("--services")], ["Second", "Fake"])
        for language in test_program.LANGUAGE_NAMES:
            names = dict(line.split("\t") for line in lookup("--ui-language", language, "--directions"))
            self.assertEqual(names, {direction: test_program.direction_name(direction, language)
                                     for direction in names})
        self.assertEqual(set(names), {d for service in test_program.SERVICES.values() for d in service.directions})
        # The direction comes from the settings file; its first service by priority answers.
        self.assertEqual(lookup("привет"), ["http://127.0.0.1:4321%s?text=%s" % (
            test_program.request_path("Second", "de-ru"), "%d0%bf%d1%80%d0%b8%d0%b2%d0%b5%d1%82")])
        # The settings say the update check was just made: no request for the update document.
        with FakeDictionary() as update_site:
            lookup("--check-update", "--update-url", "http://127.0.0.1:%d/update.xml" % update_site.port)
            self.assertEqual(update_site.requests(), [])


@unittest.skipUnless(os.environ.get("DISPLAY") and os.path.exists("/usr/bin/goldendict"),
                     "needs a display and GoldenDict")
class GoldenDictConfigurationTests(unittest.TestCase):
    def test_one_dictionary_is_on_and_the_hot_key_opens_the_popup(self):
        work = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, work)
        config = default_config("/usr/bin/goldendict", work)
        self.assertTrue(os.path.isfile(os.path.join(work, CONFIG)))
        configure(config, "http://127.0.0.1:4321/gd?word=%GDWORD%", "fetch")
        enabled = [element for element in config.iter() if element.get("enabled") == "1"
                   and element.tag in ("mediawiki", "website", "program", "dictserver")]
        self.assertEqual([(element.tag, element.get("url"), element.get("inside_iframe")) for element in enabled],
                         [("website", "http://127.0.0.1:4321/gd?word=%GDWORD%", "0")])
        for name, value in (("enableClipboardHotkey", "1"), ("enableScanPopup", "1"), ("checkForNewReleases", "0")):
            self.assertEqual(config.find("preferences/" + name).text, value)
        ElementTree.fromstring(ElementTree.tostring(config.getroot()))


if __name__ == "__main__":
    unittest.main()
