#!/usr/bin/python3
"""`cmake --install` of the native build: the program folder, the links on the path, the desktop
file and its icons, and the installed programs running from there.

Run as: tools/with-display dbus-run-session -- /usr/bin/python3 tests/desktop/install_test.py
            --build build/linux --work <empty folder>
"""

import argparse
import configparser
import glob
import os
import shutil
import subprocess
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

from checks import check, run_or_exit  # noqa: E402

PROGRAM_FILES = ["vocabra-tray", "vocabra-lookup", "libvocabra-answer-window.so", "vocabra.ico", "about.bmp",
                 "locale/en/Configuration.properties", "locale/ru/Configuration.properties"]


def run_checks(options):
    prefix = os.path.join(options.work, "prefix")
    shutil.rmtree(options.work, ignore_errors=True)
    installed = subprocess.run(["cmake", "--install", options.build, "--prefix", prefix], capture_output=True,
                               text=True, timeout=120)
    check(installed.returncode == 0, "cmake --install succeeds%s" % ("" if installed.returncode == 0 else
                                                                      ":\n" + installed.stderr))
    folder = os.path.join(prefix, "lib", "vocabra")
    missing = [name for name in PROGRAM_FILES if not os.path.isfile(os.path.join(folder, name))]
    check(not missing, "the program folder lib/vocabra holds the program and its files (missing: %s)" % missing)
    check(glob.glob(os.path.join(folder, "icons", "*.ico")), "and the services' icons")

    for name in ("vocabra-tray", "vocabra-lookup"):
        link = os.path.join(prefix, "bin", name)
        check(os.path.islink(link) and not os.path.isabs(os.readlink(link)) and
              os.path.realpath(link) == os.path.realpath(os.path.join(folder, name)),
              "bin/%s is a relative link to it, so the tree may be moved or staged" % name)

    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read(os.path.join(prefix, "share", "applications", "vocabra-tray.desktop"), encoding="utf-8")
    desktop = entry["Desktop Entry"] if entry.has_section("Desktop Entry") else {}
    check(desktop.get("Type") == "Application" and desktop.get("Exec", "").split()[:1] == ["vocabra-tray"],
          "the desktop file starts the program on the path")
    icons = glob.glob(os.path.join(prefix, "share", "icons", "hicolor", "*", "apps", desktop.get("Icon", "-") + ".png"))
    check(len(icons) >= 2, "and its icon is installed in the hicolor theme (%d sizes)" % len(icons))

    environment = dict(os.environ, VOCABRA_REGISTRY=os.path.join(options.work, "settings.reg"),
                       XDG_CONFIG_HOME=os.path.join(options.work, "config"), NO_AT_BRIDGE="1")
    services = subprocess.run([os.path.join(prefix, "bin", "vocabra-lookup"), "--services"], capture_output=True,
                              text=True, env=environment, timeout=60)
    check(services.returncode == 0 and services.stdout.strip(),
          "the installed lookup tool, started through its link, reads the installed locale files")
    started = subprocess.run([os.path.join(prefix, "bin", "vocabra-tray"), "--exit"], capture_output=True, text=True,
                             env=environment, timeout=60)
    check(started.returncode == 0, "the program started through the link runs and ends with 0 (%s)"
          % started.stderr.strip()[-300:])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--work", required=True)
    run_or_exit(run_checks, parser.parse_args())


if __name__ == "__main__":
    main()
