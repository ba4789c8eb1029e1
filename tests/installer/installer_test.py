#!/usr/bin/env python3
"""The installer under Wine, observed from outside: Vocabra.msi installs for the user without
elevation, the installed program runs and translates, a newer build upgrades it in place, the same
version is refused, and removal takes away everything it installed but the user's settings.

usage: installer_test.py --msi <Vocabra.msi> --newer-msi <Vocabra.msi of a raised version>
       --program-folder <the release build's program folder> --work <folder>
       (needs DISPLAY: run it through tools/with-display)
"""

import argparse
import os
import re
import shutil
import struct
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

from fake_dictionary import FakeDictionary  # noqa: E402
from tray_e2e import (DIALOG, SETTINGS_KEY, TRAY, check, checked_session, lookups, run_checks,  # noqa: E402
                      translated_word, use_proxy, write_locale)
from wine_session import WineSession, visible_windows, wait_until, xdotool  # noqa: E402

UPGRADE_CODE = "{11E4D902-EDDF-4E89-8162-A89C50CB8E11}"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
CLASSES = r"HKCU\Software\Classes"
DIALOG_CLASSES = {  # ProgID: class id
    "Vocabra.Dialog.Babylon": "{7618F1BC-B0FB-43EF-946B-A2ECDA6C3E6F}",
    "Vocabra.Dialog.Google": "{DBF3C903-615A-450B-9386-323DD977C532}",
}
TYPE_LIBRARY = "{4724DC76-E1D0-4FCA-A630-A7E701F68CFD}"
DELIVERABLES = {"Vocabra.exe": 600, "VocabraHelper.exe": 400, "VocabraVISTAHelper.dll": 200}  # goals in KB
WORD = "install"


def msi_table(msi, table):
    """The rows of a table of the package, as lists of fields (the three header lines dropped)."""
    text = subprocess.run(["msiinfo", "export", msi, table], check=True, capture_output=True, text=True).stdout
    return [line.split("\t") for line in text.splitlines()[3:]]


def msi_properties(msi):
    return {row[0]: row[1] for row in msi_table(msi, "Property") if len(row) >= 2}


def summary(msi):
    text = subprocess.run(["msiinfo", "suminfo", msi], check=True, capture_output=True, text=True).stdout
    return dict(line.split(": ", 1) for line in text.splitlines() if ": " in line)


def launch_conditions(msi):
    """The messages of the package's launch conditions."""
    return [row[1] for row in msi_table(msi, "LaunchCondition") if len(row) >= 2]


def refused(code, log):
    """Whether msiexec ended with ERROR_INSTALL_FAILURE because a launch condition failed. Wine
    writes no message text into the log in quiet mode, and a Unix exit status keeps 8 bits."""
    return code in (1603, 1603 & 0xFF) and re.search(r"LaunchConditions\. Return value [^1]", log) is not None


def file_version(path):
    """The FILEVERSION of a Windows program's version resource, as "a.b.c.d"."""
    with open(path, "rb") as program:
        data = program.read()
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        return None
    most, least = struct.unpack_from("<II", data, at + 8)
    return "%d.%d.%d.%d" % (most >> 16, most & 0xFFFF, least >> 16, least & 0xFFFF)


def check_package(msi, newer, program_folder):
    """What msiinfo reads: summary information, product code, upgrade code, version."""
    properties, newer_properties = msi_properties(msi), msi_properties(newer)
    built = file_version(os.path.join(program_folder, "Vocabra.exe"))
    check(properties.get("ProductVersion") == built, "the package's version is the build's (%s)" % built)
    fields = [[int(n) for n in p.get("ProductVersion", "0").split(".")[:3]] for p in (properties, newer_properties)]
    check(fields[1] > fields[0], "the newer package is newer in the fields Windows Installer compares (%s)"
          % newer_properties.get("ProductVersion"))
    guid = re.compile(r"^\{[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\}$")
    check(bool(guid.match(properties.get("ProductCode", ""))), "the package has a product code")
    check(properties.get("UpgradeCode") == UPGRADE_CODE == newer_properties.get("UpgradeCode"),
          "both builds carry the one upgrade code")
    check(properties["ProductCode"] != newer_properties.get("ProductCode"), "each build has its own product code")
    check(properties.get("ProductName") == "Vocabra" and properties.get("Manufacturer") == "Corvane",
          "product name and manufacturer")
    info = summary(msi)
    check(info.get("Subject") == "Vocabra " + properties.get("ProductVersion", "?"),
          "the summary names the product and its version (%s)" % info.get("Subject"))
    check(info.get("Template") == "x64;1033", "the summary says x64, English (%s)" % info.get("Template"))
    # Word count: 2 = compressed, 8 = no elevation needed.
    word_count = int(info.get("Source", "0").split()[0])
    check(word_count & 8 and word_count & 2, "the summary says: compressed, no elevation needed")
    return properties["ProductVersion"], newer_properties["ProductVersion"]


class Installation:
    """Where the package puts things in the test's prefix, and how to look at them."""

    def __init__(self, wine):
        self.wine = wine
        user = os.environ.get("USER") or subprocess.run(["id", "-un"], capture_output=True, text=True).stdout.strip()
        profile = os.path.join(wine.prefix, "drive_c", "users", user)
        self.folder = os.path.join(profile, "AppData", "Local", "Programs", "Vocabra")
        self.windows_folder = "C:\\users\\%s\\AppData\\Local\\Programs\\Vocabra" % user
        self.shortcut = os.path.join(profile, "AppData", "Roaming", "Microsoft", "Windows", "Start Menu",
                                     "Programs", "Vocabra.lnk")
        self.exe = os.path.join(self.folder, "Vocabra.exe")

    def files(self):
        found = set()
        for root, _, names in os.walk(self.folder):
            found.update(os.path.relpath(os.path.join(root, name), self.folder) for name in names)
        return found

    def value(self, key, name=None):
        """The data of a registry value (the default one without a name), or None."""
        code, text = self.wine.output_of("reg", "query", key, *(("/v", name) if name else ("/ve",)))
        for line in text.splitlines():
            parts = line.strip().split(None, 2)
            if code == 0 and len(parts) == 3 and parts[1].startswith("REG_"):
                return parts[2]
        return None

    def key_exists(self, key):
        return self.wine.output_of("reg", "query", key)[0] == 0

    def msiexec(self, *args, ui="/qn"):
        """msiexec's exit code and its verbose log; quiet unless `ui` says otherwise."""
        log = os.path.join(self.wine.prefix, "drive_c", "msiexec.log")
        if os.path.exists(log):
            os.remove(log)
        code = self.wine.run("msiexec", *args, ui, "/l*v", "C:\\msiexec.log", limit=300)
        with open(log, "rb") as text:
            data = text.read()
        return code, data.decode("utf-16" if data.startswith(b"\xff\xfe") else "utf-8", "replace")


def expected_files(program_folder):
    """What the program folder of the build holds that an installation has too."""
    found = set(DELIVERABLES)
    for part in ("locale", "icons", "pages"):
        for root, _, names in os.walk(os.path.join(program_folder, part)):
            found.update(os.path.relpath(os.path.join(root, name), program_folder) for name in names)
    return found


def check_installed(installation, files, version):
    check(installation.files() == files, "every file is in the user's Programs\\Vocabra (%d files)" % len(files))
    check(file_version(installation.exe) == version, "the installed Vocabra.exe is version %s" % version)
    run = installation.value(RUN_KEY, "Vocabra")
    check(run == '"%s\\Vocabra.exe"' % installation.windows_folder, "the Run value starts it hidden (%s)" % run)
    check(os.path.isfile(installation.shortcut), "the Start menu has its shortcut")
    helper = '"%s\\VocabraHelper.exe"' % installation.windows_folder
    for prog_id, clsid in DIALOG_CLASSES.items():
        check(installation.value(r"%s\CLSID\%s\LocalServer32" % (CLASSES, clsid)) == helper
              and installation.value(r"%s\%s\CLSID" % (CLASSES, prog_id)) == clsid,
              "%s is registered for the user" % prog_id)
    check(installation.key_exists(r"%s\AppID\VocabraHelper.EXE" % CLASSES), "the AppID is registered for the user")
    # Wine's RegisterTypeLibForUser registers for the machine.
    check(installation.key_exists(r"%s\TypeLib\%s\1.0" % (CLASSES, TYPE_LIBRARY))
          or installation.key_exists(r"HKCR\TypeLib\%s\1.0" % TYPE_LIBRARY), "the type library is registered")


def check_removed(installation, files_left_to_user):
    check(not os.path.exists(installation.folder), "the program folder is gone")
    check(installation.value(RUN_KEY, "Vocabra") is None, "the Run value is gone")
    check(not os.path.exists(installation.shortcut), "the shortcut is gone")
    check(not any(installation.key_exists(r"%s\CLSID\%s" % (CLASSES, clsid)) or
                  installation.key_exists(r"%s\%s" % (CLASSES, prog_id)) for prog_id, clsid in DIALOG_CLASSES.items()),
          "the dialog server's classes are gone")
    check(not installation.key_exists(r"%s\AppID\VocabraHelper.EXE" % CLASSES), "its AppID is gone")
    check(all(installation.key_exists(key) for key in files_left_to_user), "the user's settings stay")


def start_installed(wine, installation):
    program = wine.start(installation.exe)
    check(bool(wait_until(lambda: visible_windows(TRAY), 30)), "the installed program shows its tray icon")
    return program


def translate_with_installed(wine, installation, dictionary):
    """The installed program, given the test's services for a while, translates against the fake
    dictionary; the shipped locale folder is put back afterwards."""
    shipped = os.path.join(installation.folder, "locale")
    aside = os.path.join(os.path.dirname(installation.folder), "locale.shipped")
    os.rename(shipped, aside)
    try:
        write_locale(installation.folder, dictionary.port)
        program = wine.start(installation.exe, "/visible")
        dialog = wait_until(lambda: visible_windows(DIALOG), 30)
        check(bool(dialog), "the installed program shows its dialog with /visible")
        time.sleep(0.5)
        xdotool("windowfocus", "--sync", str(dialog[0]))
        xdotool("type", "--delay", "30", WORD)
        xdotool("key", "Return")
        request = dictionary.wait_for(lookups, 30)
        check(request is not None and translated_word(request) == WORD,
              "the installed program translates against the fake dictionary")
        check(wine.run(installation.exe, "/exit") == 0, "a start with /exit leaves with 0")
        check(wait_until(lambda: program.poll() is not None, 15) and program.returncode == 0,
              "/exit ends the running copy with 0")
        check(bool(wait_until(lambda: not visible_windows(TRAY), 10)), "and its tray icon goes")
    finally:
        shutil.rmtree(shipped, ignore_errors=True)
        os.rename(aside, shipped)


def main():
    arguments = argparse.ArgumentParser()
    arguments.add_argument("--msi", required=True)
    arguments.add_argument("--newer-msi", required=True, help="the same sources built with a raised version")
    arguments.add_argument("--program-folder", required=True, help="the release build's Vocabra.exe folder")
    arguments.add_argument("--work", required=True)
    options = arguments.parse_args()
    started = time.monotonic()

    for name, goal in DELIVERABLES.items():
        size = os.path.getsize(os.path.join(options.program_folder, name))
        check(size < goal * 1024, "%s: %d KB (goal < %d KB)" % (name, size // 1024, goal))
    version, newer_version = check_package(options.msi, options.newer_msi, options.program_folder)
    files = expected_files(options.program_folder)

    work = os.path.abspath(options.work)
    shutil.rmtree(work, ignore_errors=True)
    logs = os.path.join(work, "logs")
    os.makedirs(logs)
    # Wine's msiexec takes the packages' Unix paths as they are.
    msi, newer = os.path.abspath(options.msi), os.path.abspath(options.newer_msi)

    wine = WineSession(os.path.join(work, "wineprefix"), logs)
    installation = Installation(wine)
    with FakeDictionary() as dictionary, checked_session(wine, dictionary, os.path.join(work, "failure.png")):
        wine.create()
        use_proxy(wine, work, dictionary.port)  # the update check never leaves the machine

        began = time.monotonic()
        code, _ = installation.msiexec("/i", msi)
        check(code == 0, "msiexec /i /qn installs for the user (%.1f s)" % (time.monotonic() - began))
        check_installed(installation, files, version)
        check(not wine.processes("vocabra.exe"), "a quiet installation does not start the program")

        translate_with_installed(wine, installation, dictionary)
        check(installation.key_exists(SETTINGS_KEY), "the program stored its settings")

        # The newer build replaces it in place; the running copy is asked to exit first.
        program = start_installed(wine, installation)
        code, _ = installation.msiexec("/i", newer)
        check(code == 0, "the newer build installs over it")
        check(program.poll() is not None, "the running copy was asked to exit before its files went")
        check_installed(installation, files, newer_version)
        products = installation.wine.output_of("reg", "query", r"HKCU\Software\Microsoft\Installer\Products")[1]
        check(products.count("HKEY_CURRENT_USER\\Software\\Microsoft\\Installer\\Products\\") == 1,
              "one product is installed after the upgrade")

        refusals = launch_conditions(options.msi)
        check(any(message.startswith("Vocabra %s is already installed" % version) for message in refusals)
              and "A newer version of Vocabra is already installed." in refusals,
              "the package carries both refusals' messages")
        check(refused(*installation.msiexec("/i", newer)), "the same version again is refused")
        check(refused(*installation.msiexec("/i", msi)), "an older version over a newer one is refused")
        check_installed(installation, files, newer_version)

        program = start_installed(wine, installation)
        code, _ = installation.msiexec("/x", newer)
        check(code == 0, "msiexec /x /qn removes it")
        check(program.poll() is not None, "the running copy was asked to exit before removal")
        check_removed(installation, [SETTINGS_KEY])

        # With a user interface (basic: a progress window), the program starts at the end.
        code, _ = installation.msiexec("/i", msi, ui="/qb")
        check(code == 0 and bool(wait_until(lambda: wine.processes("vocabra.exe"), 20)),
              "an installation with a user interface starts the program")
        check(bool(wait_until(lambda: visible_windows(TRAY), 30)), "which shows its tray icon")
        code, _ = installation.msiexec("/x", msi)
        check(code == 0 and not wine.processes("vocabra.exe"), "and removal ends it again")
        check_removed(installation, [SETTINGS_KEY])
    shutil.rmtree(wine.prefix, ignore_errors=True)
    print("total %.1f s" % (time.monotonic() - started))


if __name__ == "__main__":
    run_checks(main)
