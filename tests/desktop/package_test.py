#!/usr/bin/python3
"""The Debian package of vocabra-tray on this machine: dpkg -i, its fields and files, the installed
program translating a word against the fake dictionary (with WebKitGTK, and with WebKitGTK not
loadable, when answers go to the browser), --install's autostart entry, then dpkg -r, which must
take every file the package brought and leave the user's own.

The installed program reads its services from /usr/lib/vocabra/locale. It runs in a mount namespace
of its own where the test's services (which ask the fake dictionary) are mounted over that folder,
and where an empty file hides WebKitGTK for the second run: the program is the installed one, and
the machine sees none of it. The package is purged however the test ends (installed_package.py).

Run as root: tools/with-display dbus-run-session -- /usr/bin/python3 tests/desktop/package_test.py
                 --deb build/linux/vocabra-tray_<version>_<arch>.deb --build build/linux --work <folder>
"""

import argparse
import configparser
import os
import re
import shutil
import signal
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))

import desktop_session as ds  # noqa: E402
import installed_package  # noqa: E402
from checks import Failure, check  # noqa: E402
from desktop_e2e import page_title, request_for  # noqa: E402
from installed_package import InstalledPackage  # noqa: E402
from test_program import request_path, write_locale  # noqa: E402

PROGRAM_LINK = "/usr/bin/vocabra-tray"
LOOKUP_LINK = "/usr/bin/vocabra-lookup"
OPTIONAL_LIBRARY = "libvocabra-answer-window.so"


def cmake_cache_value(build, name):
    with open(os.path.join(build, "CMakeCache.txt"), encoding="utf-8") as cache:
        for line in cache:
            if line.startswith(name + ":"):
                return line.split("=", 1)[1].strip()
    raise RuntimeError("%s is not in %s/CMakeCache.txt" % (name, build))


def usage_options(argv):
    """The options a program names in the usage it prints for an unknown one."""
    result = subprocess.run(argv + ["--no-such-option"], capture_output=True, text=True, timeout=30)
    return result.returncode, sorted(set(re.findall(r"(?<![\w-])--[a-z][a-z-]*", result.stderr)) - {"--no-such-option"})


def manual_page_options(name):
    """(exit code, the OPTIONS section, warnings) of the installed manual page, as man shows it."""
    result = subprocess.run(["man", "--warnings", "-P", "cat", name], capture_output=True, text=True, timeout=60,
                            env=dict(os.environ, MANWIDTH="100", LC_ALL="C.UTF-8"))
    section = re.search(r"^OPTIONS\n(.*?)^[A-Z]", result.stdout, re.MULTILINE | re.DOTALL)
    return result.returncode, section.group(1) if section else "", result.stderr


def check_package(options, package):
    version = cmake_cache_value(options.build, "VOCABRA_VERSION")
    architecture = subprocess.run(["dpkg", "--print-architecture"], capture_output=True, text=True).stdout.strip()
    check(os.path.basename(package.deb) == "vocabra-tray_%s_%s.deb" % (version, architecture),
          "the package file is vocabra-tray_<VOCABRA_VERSION>_<arch>.deb (%s)" % os.path.basename(package.deb))
    check(installed_package.status(package.name) == "install ok installed",
          "dpkg -i installs it with the dependencies already on the machine")
    check(installed_package.installed_field(package.name, "Version") == version, "version %s" % version)
    depends = installed_package.installed_field(package.name, "Depends")
    recommends = installed_package.installed_field(package.name, "Recommends")
    check("libgtk-3-0" in depends and "libc6" in depends and "webkit" not in depends,
          "Depends names the program's libraries, not WebKitGTK: %s" % depends)
    check("libwebkit2gtk-4.1-0" in recommends, "WebKitGTK is recommended: %s" % recommends)

    installed = package.installed_files()
    missing = [path for path in installed if not os.path.lexists(path)]
    check(installed and not missing, "every file dpkg lists is there (%d; missing: %s)" % (len(installed), missing))
    folder = os.path.dirname(os.path.realpath(PROGRAM_LINK))
    expected = [PROGRAM_LINK, LOOKUP_LINK, os.path.join(folder, "vocabra-tray"), os.path.join(folder, OPTIONAL_LIBRARY),
                os.path.join(folder, "locale/en/Configuration.properties"),
                os.path.join(folder, "locale/ru/Configuration.properties"),
                "/usr/share/applications/vocabra-tray.desktop", "/usr/share/icons/hicolor/48x48/apps/vocabra.png",
                "/usr/share/metainfo/com.corvane.Vocabra.metainfo.xml", "/usr/share/doc/vocabra-tray/copyright",
                "/usr/share/man/man1/vocabra-tray.1.gz", "/usr/share/man/man1/vocabra-lookup.1.gz"]
    check(not [path for path in expected if path not in installed],
          "the program, its library, the locale files, the desktop file, the icon, the metainfo, the copyright "
          "and both man pages are among them (missing: %s)" % [path for path in expected if path not in installed])

    # Each man page describes every option its program's usage names: the page follows the program.
    for program in (PROGRAM_LINK, LOOKUP_LINK):
        code, switches = usage_options([program])
        check(code == 2 and switches, "%s refuses an unknown option with exit code 2 and names its own" % program)
        code, described, warnings = manual_page_options(os.path.basename(program))
        absent = [switch for switch in switches if not re.search(r"^ +%s\b" % switch, described, re.MULTILINE)]
        check(code == 0 and not warnings.strip() and not absent,
              "man %s shows without warnings and describes %s under OPTIONS (absent: %s%s)"
              % (os.path.basename(program), " ".join(switches), absent, warnings.strip()[:300]))
    lookup = subprocess.run([LOOKUP_LINK, "--version"], capture_output=True, text=True, timeout=30)
    check(lookup.stdout.strip() == version, "vocabra-lookup on the path is the package's version")
    return folder


def in_private_mounts(binds, argv):
    """argv in a mount namespace of its own, with each (source, target) of binds mounted over its
    target there: the installed program sees the test's files, the rest of the machine does not."""
    script = 'while [ "$1" != "--" ]; do mount --bind "$1" "$2" || exit 125; shift 2; done; shift; exec "$@"'
    return (["unshare", "--mount", "--propagation", "private", "sh", "-c", script, "sh"]
            + [path for bind in binds for path in bind] + ["--"] + argv)


class InstalledRun:
    """The installed program in a home folder of the test's, with the test's services mounted."""

    def __init__(self, work, name, home, binds, started):
        self.work = os.path.join(work, name)
        os.makedirs(self.work)
        self.binds = binds
        self.started = started
        stand_ins = os.path.join(self.work, "bin")
        os.makedirs(stand_ins)
        # The desktop's browser: a stand-in that notes the addresses it is given.
        self.browser_log = os.path.join(self.work, "xdg-open.log")
        with open(os.path.join(stand_ins, "xdg-open"), "w", encoding="utf-8") as script:
            script.write('#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' % self.browser_log)
        os.chmod(os.path.join(stand_ins, "xdg-open"), 0o755)
        self.environment = {
            "HOME": home, "XDG_CONFIG_HOME": os.path.join(home, ".config"),
            "XDG_STATE_HOME": os.path.join(home, ".local", "state"), "VOCABRA_REGISTRY": None,
            "LANG": "en_US.UTF-8", "LC_ALL": None, "LC_MESSAGES": None, "NO_AT_BRIDGE": "1",
            "WEBKIT_DISABLE_COMPOSITING_MODE": "1", "WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS": "1",
            "PATH": stand_ins + os.pathsep + os.environ.get("PATH", os.defpath),
        }
        self.program = None

    def start_in_tray(self, host, what):
        """Starts the program and waits for its icon in the test's tray."""
        self.program = self.run_async("vocabra-tray.log")
        host.wait_docked(15)
        check(self.program.running(), what)
        return self.program

    @staticmethod
    def double_press(word, other, outcome):
        """Ctrl+C+C over the other program with `word` on the clipboard: outcome(), while the
        clipboard still serves the word."""
        with ds.own_clipboard(word):
            ds.press_double("c", other)
            return outcome()

    def run_async(self, log, *arguments):
        program = ds.start_program(in_private_mounts(self.binds, [PROGRAM_LINK] + list(arguments)),
                                   os.path.join(self.work, log), env=self.environment)
        self.started.append(program)
        return program

    def run(self, *arguments, timeout=15):
        return self.run_async("run%s.log" % "".join(arguments), *arguments).wait_exit(timeout)

    def copies(self):
        """Processes of the installed program with this run's home folder."""
        found = []
        program = os.path.realpath(PROGRAM_LINK)
        marker = ("HOME=" + self.environment["HOME"]).encode()
        for entry in os.listdir("/proc"):
            try:
                executable = os.readlink("/proc/%s/exe" % entry)
                with open("/proc/%s/environ" % entry, "rb") as environ:
                    environment = environ.read().split(b"\0")
            except (OSError, ValueError):
                continue
            if executable == program and marker in environment:
                found.append(int(entry))
        return found

    def exit(self):
        check(self.run("--exit") == 0 and self.program.wait_exit(15) == 0, "--exit ends the program with 0")

        def none_left():
            if not self.copies():
                return True
            self.run("--exit")  # a copy that --install started after the first --exit
            return False
        ds.wait_until(none_left, 20, "no copy of the installed program is left")


def with_answer_window(run, dictionary, host, other):
    program = run.start_in_tray(host, "the installed program starts and its icon docks in the tray")
    request = run.double_press("hello", other, lambda: dictionary.wait_for(request_for("hello"), 15))
    check(request is not None and request.path == request_path("Fake", "en-ru"),
          "Ctrl+C+C translates the clipboard's word at the fake dictionary")
    title = "Answer: hello"
    windows = ds.wait_until(lambda: [w for w in ds.find_windows(pid=program.pid, visible=True)
                                     if ds.window_title(w) == title], 15, "an answer window captioned %r" % title)
    check(True, "in an answer window of the installed library")
    ds.close_window(windows[0])
    ds.wait_window_gone(windows[0], 10)

    check(run.run("--install") == 0, "--install exits with 0")
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    path = os.path.join(run.environment["XDG_CONFIG_HOME"], "autostart", "vocabra-tray.desktop")
    entry.read(path, encoding="utf-8")
    command = entry.get("Desktop Entry", "Exec", fallback="")
    check(command == os.path.realpath(PROGRAM_LINK) and os.access(command, os.X_OK),
          "and writes the autostart entry %s, which starts the installed program %s" % (path, command))
    run.exit()


def without_webkit(run, dictionary, host, other):
    program = run.start_in_tray(host, "with WebKitGTK not loadable the installed program starts all the same")
    run.double_press("browser", other,
                     lambda: ds.wait_until(lambda: os.path.exists(run.browser_log), 15, "the browser is started"))
    with open(run.browser_log, encoding="utf-8") as opened:
        address = "http://127.0.0.1:%d%s?text=browser" % (dictionary.port, request_path("Fake", "en-ru"))
        check(opened.read().splitlines() == [address], "and hands the answer's address to the desktop's browser")
    check(dictionary.wait_for(request_for("browser"), 2) is None, "no answer window asks for it")
    check("answer windows unavailable" in program.output(), "the program says why")
    run.exit()


def run_installed_program(options, work, home):
    """The installed program's two runs, with the fake dictionary and the test's tray host."""
    host_path = os.path.join(options.build, "tests", "desktop", "host", "vocabra_test_tray_host")
    folder = os.path.dirname(os.path.realpath(PROGRAM_LINK))
    library = subprocess.run(["ldd", os.path.join(folder, OPTIONAL_LIBRARY)], capture_output=True, text=True).stdout
    webkit = re.search(r"libwebkit2gtk[^ ]* => (/\S+)", library)
    check(webkit is not None, "the installed answer window library links WebKitGTK")
    not_loadable = os.path.join(work, "empty-library")
    open(not_loadable, "w").close()
    started = []
    with ds.FakeDictionary(title=page_title) as dictionary, ds.TrayHost(host_path) as host:
        services = os.path.join(work, "services")
        write_locale(services, dictionary.port, ["Fake", "Second"], 2, ["en-ru", "ru-en"])
        binds = [(os.path.join(services, "locale"), os.path.join(folder, "locale"))]
        try:
            other = ds.start_program(["xlogo"], os.path.join(work, "xlogo.log"))
            started.append(other)
            other_window = ds.wait_window(10, name="^xlogo$", visible=True)
            with_answer_window(InstalledRun(work, "webkit", home, binds, started), dictionary, host, other_window)
            hidden = binds + [(not_loadable, os.path.realpath(webkit.group(1)))]
            without_webkit(InstalledRun(work, "no-webkit", home, hidden, started), dictionary, host, other_window)
        except (Failure, ds.WaitTimedOut):
            ds.screenshot(os.path.join(work, "failure.png"))
            dictionary.print_requests()
            raise
        finally:
            for program in started:
                program.stop()


def snapshot(folder):
    """{path: contents} of every file below the folder."""
    files = {}
    for parent, _, names in os.walk(folder):
        for name in names:
            with open(os.path.join(parent, name), "rb") as data:
                files[os.path.join(parent, name)] = data.read()
    return files


def run_checks(options):
    ds.check_environment()
    check(os.geteuid() == 0, "the test runs as root: dpkg -i installs into this machine's /usr")
    marker = options.work + ".installed"
    shutil.rmtree(options.work, ignore_errors=True)
    os.makedirs(options.work)
    home = os.path.join(options.work, "home")
    # The user's settings: the update check was just made, so that no run asks the real site.
    ds.write_settings(os.path.join(home, ".config", "vocabra", "registry.reg"),
                      {"lastCheckForUpdateTime": (ds.REG_QWORD, int(time.time())), "dictionaryDirection": "en-ru"})
    begin = time.monotonic()
    with InstalledPackage(options.deb, marker) as package:
        print("     installed in %.1f s" % (time.monotonic() - begin), flush=True)
        check_package(options, package)
        run_installed_program(options, options.work, home)
        kept = snapshot(home)
        begin = time.monotonic()
        package.remove()
        print("     removed in %.1f s" % (time.monotonic() - begin), flush=True)
        check(installed_package.status(package.name) in (None, "unknown ok not-installed",
                                                         "deinstall ok not-installed"), "dpkg -r removes the package")
        left = package.left_behind()
        check(not left, "and every file and folder it brought (left: %s)" % left)
        check(snapshot(home) == kept and os.path.isfile(os.path.join(home, ".config", "vocabra", "registry.reg")),
              "the user's settings and autostart entry stay as they were (%d files)" % len(kept))
    check(installed_package.status(package.name) in (None, "unknown ok not-installed"), "the package is purged")
    check(installed_package.clean_state(), "dpkg --audit finds nothing half-installed")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--deb", required=True, help="the package file")
    parser.add_argument("--build", required=True, help="the linux build folder: its version, the tray host")
    parser.add_argument("--work", required=True)
    options = parser.parse_args()
    options.work = os.path.abspath(options.work)
    # A SIGTERM ends the test through its clean-up, as Ctrl+C does: the package is purged.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    begin = time.monotonic()
    try:
        run_checks(options)
    except (Failure, ds.WaitTimedOut, installed_package.DpkgFailed) as failure:
        print("FAIL " + str(failure), flush=True)
        return 1
    print("     the package test took %.0f s" % (time.monotonic() - begin))
    return 0


if __name__ == "__main__":
    sys.exit(main())
