#!/usr/bin/env python3
"""End-to-end test of Vocabra.exe under Wine and a virtual display, observed from outside:
windows on the X display, requests at a local fake dictionary, exit codes and the registry.

usage: tray_e2e.py --exe <Vocabra.exe> --work <folder>   (needs DISPLAY: run it through
tools/with-display)

The program runs from a copy in <work>/app with a locale folder whose only service asks the fake
dictionary. WinINet is pointed at the fake dictionary as its proxy, so the update check's request
never leaves the machine and is held as long as the test wants.
"""

import argparse
import os
import shutil
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # nothing written into the source tree

from fake_dictionary import FakeDictionary
from wine_session import (WineSession, geometry, screenshot, visible_windows, visible_windows_of, wait_until,
                          window_name, xdotool)

DIALOG = "^Vocabra$"
TRAY = "^Wine System Tray"
SETTINGS_KEY = r"HKCU\Software\Microsoft\Internet Explorer\LowRegistry\Corvane\Vocabra"
TYPED_WORD = "hello"
COPIED_WORD = "привет"  # outside the ANSI code page of an English system


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)
    print("ok   " + message, flush=True)


def write_locale(app, port):
    """One "popup" service (an Internet Explorer window) asking the fake dictionary."""
    service = (
        "service.name=Fake Dictionary\n"
        "service.icon=icons/fake.ico\n"
        "service.home.url=http://127.0.0.1:%d/\n"
        "supported.directions=en-ru,ru-en\n"
        "dictionary.service.url=http://127.0.0.1:%d/lookup/%%direction%%?text=%%words%%\n"
        "dictionary.direction.to.parameter=en-ru,ru-en\n"
        "dictionary.display.type=popup\n" % (port, port))
    configuration = ("dictionaries=Fake\n"
                     "dictionary.Fake.type=simple\n"
                     "dictionary.Fake.config=fake.properties\n"
                     "favour.dictionary.count=5\n")
    names = "en-=English\n-en=→ English\nru-=Russian\n-ru=→ Russian\ndefault.directions=en-ru,ru-en\n"
    for language in ("en", "ru"):
        folder = os.path.join(app, "locale", language)
        os.makedirs(folder)
        for name, text in (("Configuration.properties", configuration), ("fake.properties", service),
                           ("translate_direction.properties", names)):
            with open(os.path.join(folder, name), "w", encoding="utf-8") as out:
                out.write(text)


def use_proxy(wine, work, port):
    path = os.path.join(work, "proxy.reg")
    with open(path, "w") as out:
        out.write("REGEDIT4\n\n"
                  "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings]\n"
                  "\"ProxyEnable\"=dword:00000001\n"
                  "\"ProxyServer\"=\"127.0.0.1:%d\"\n" % port)
    code, _ = wine.output_of("reg", "import", path)
    check(code == 0, "the fake dictionary is WinINet's proxy")


def registry_dword(wine, name):
    code, text = wine.output_of("reg", "query", SETTINGS_KEY, "/v", name)
    for line in text.splitlines():
        parts = line.split()
        if code == 0 and len(parts) == 3 and parts[0] == name and parts[1] == "REG_DWORD":
            return int(parts[2], 16)
    return None


def tray_icon():
    """Where to click the program's icon in Wine's own tray window."""
    windows = wait_until(lambda: visible_windows(TRAY), 30)
    if not windows:
        raise Failure("no tray window appeared")
    # Browser windows opened at the top left would take the click (there is no window manager).
    xdotool("windowraise", str(windows[0]))
    x, y, _, height = geometry(windows[0])
    return x + height // 2, y + height // 2


MENU_ITEM_HEIGHT = 16  # pixels, at the menu font Wine uses
EXIT, ABOUT = 0, 1  # places from the bottom of the tray menu


def choose_from_menu(shots, label, from_bottom):
    """Right click on the tray icon, then an item counted from the bottom of the menu."""
    before = set(visible_windows_of("vocabra.exe"))
    x, y = tray_icon()
    xdotool("mousemove", str(x), str(y), "click", "3")

    def menu():
        fresh = [w for w in visible_windows_of("vocabra.exe") if w not in before and not window_name(w)]
        return [w for w in fresh if geometry(w)[3] > 60]
    found = wait_until(menu, 15)
    if not found:
        raise Failure("the tray menu did not open")
    screenshot(os.path.join(shots, "menu-%s.png" % label))
    mx, my, width, height = geometry(found[0])
    y = my + height - MENU_ITEM_HEIGHT // 2 - from_bottom * MENU_ITEM_HEIGHT
    xdotool("mousemove", str(mx + width // 3), str(y), "click", "1")


def translated_word(request):
    return request.query.get("text", [""])[0]


def lookups(request):
    return request.method == "GET" and request.path == "/lookup/en-ru"


def main():
    arguments = argparse.ArgumentParser()
    arguments.add_argument("--exe", required=True)
    arguments.add_argument("--work", required=True)
    options = arguments.parse_args()
    started = time.monotonic()

    work = os.path.abspath(options.work)
    shutil.rmtree(work, ignore_errors=True)
    app = os.path.join(work, "app")
    shots = os.path.join(work, "screenshots")
    logs = os.path.join(work, "logs")
    for folder in (app, shots, logs):
        os.makedirs(folder)
    exe = os.path.join(app, "Vocabra.exe")
    shutil.copy(options.exe, exe)

    wine = WineSession(os.path.join(work, "wineprefix"), logs)
    with FakeDictionary() as dictionary:
        write_locale(app, dictionary.port)
        try:
            wine.create()
            print("prefix ready after %.1f s" % (time.monotonic() - started), flush=True)
            use_proxy(wine, work, dictionary.port)
            scenario(wine, exe, dictionary, shots)
        finally:
            dictionary.release_tunnels()
            wine.stop()
    # Hundreds of megabytes; kept (with the logs and screenshots) only when something failed.
    shutil.rmtree(wine.prefix, ignore_errors=True)
    print("total %.1f s" % (time.monotonic() - started))


def scenario(wine, exe, dictionary, shots):
    # Started hidden: the tray icon and no dialog.
    first = wine.start(exe)
    tray_icon()
    time.sleep(1)
    screenshot(os.path.join(shots, "hidden.png"))
    check(first.poll() is None and not visible_windows(DIALOG), "started hidden: tray icon, no dialog")

    # A second copy, even with /visible, leaves at once and changes nothing.
    check(wine.run(exe, "/visible") == 0, "a second copy exits with 0")
    time.sleep(1)
    check(first.poll() is None and not visible_windows(DIALOG), "the first copy runs on, still hidden")

    x, y = tray_icon()
    xdotool("mousemove", str(x), str(y), "click", "--repeat", "2", "1")
    check(bool(wait_until(lambda: visible_windows(DIALOG), 10)), "a double click on the icon shows the dialog")
    choose_from_menu(shots, "first", EXIT)
    check(wait_until(lambda: first.poll() is not None, 20) and first.returncode == 0, "Exit ends it with 0")

    # /install starts a fresh copy (hidden, whatever else the line says) and leaves.
    check(wine.run(exe, "/install /visible") == 0, "/install exits with 0")
    fresh = wait_until(lambda: wine.processes("vocabra.exe"), 20)
    check(bool(fresh), "/install started a fresh copy")
    tray_icon()
    time.sleep(1)
    check(not visible_windows(DIALOG), "the fresh copy runs hidden")
    choose_from_menu(shots, "fresh", EXIT)
    check(wait_until(lambda: not wine.processes("vocabra.exe"), 20), "the fresh copy ends on Exit")

    # /visible shows the dialog; a typed word and Enter ask the service.
    visible = wine.start(exe, "/visible")
    dialog = wait_until(lambda: visible_windows(DIALOG), 30)
    check(bool(dialog), "/visible shows the dialog")
    dialog = dialog[0]
    time.sleep(0.5)
    screenshot(os.path.join(shots, "dialog.png"))
    xdotool("windowfocus", "--sync", str(dialog))
    xdotool("type", "--delay", "30", TYPED_WORD)
    pressed = time.monotonic()
    xdotool("key", "Return")
    request = dictionary.wait_for(lookups, 30)
    check(request is not None and translated_word(request) == TYPED_WORD,
          "Enter sent the typed word to the service")
    print("key press to request: %.2f s" % (request.arrived - pressed), flush=True)

    # The update check follows the translation; the fake proxy holds it. Meanwhile the hot key
    # must still work, and must read the clipboard's Unicode text.
    tunnel = dictionary.wait_for(lambda r: r.method == "CONNECT", 20)
    check(tunnel is not None, "the update check went out after the translation (held by the proxy)")
    clipboard = subprocess.Popen(["xclip", "-quiet", "-selection", "clipboard", "-i"], stdin=subprocess.PIPE,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    clipboard.stdin.write(COPIED_WORD.encode("utf-8"))
    clipboard.stdin.close()
    try:
        time.sleep(0.5)
        xdotool("windowfocus", "--sync", str(dialog))
        pressed = time.monotonic()
        xdotool("keydown", "ctrl", "key", "c", "key", "c", "keyup", "ctrl")
        copied = dictionary.wait_for(lambda r: lookups(r) and r is not request, 10)
        dictionary.release_tunnels()
        if copied is None:  # a main thread blocked by the check answers only now
            copied = dictionary.wait_for(lambda r: lookups(r) and r is not request, 10)
    finally:
        dictionary.release_tunnels()
        clipboard.terminate()
        clipboard.wait()
    check(copied is not None, "Ctrl+C+C translated")
    print("hot key to request: %.2f s" % (copied.arrived - pressed), flush=True)
    check(translated_word(copied) == COPIED_WORD,
          "the hot key read the clipboard's Unicode text (%r)" % translated_word(copied))
    check(tunnel.answered is None or copied.arrived < tunnel.answered,
          "the hot key worked while the update check was still waiting for the network")
    time.sleep(1)
    screenshot(os.path.join(shots, "after-translations.png"))
    check(visible.poll() is None, "the program runs on after the failed update check")

    choose_from_menu(shots, "about", ABOUT)
    about = wait_until(lambda: visible_windows("^About Vocabra"), 15)
    check(bool(about), "About... opens the About box")
    time.sleep(0.5)
    screenshot(os.path.join(shots, "about.png"))
    xdotool("windowfocus", "--sync", str(about[0]))
    xdotool("key", "Return")
    check(wait_until(lambda: not visible_windows("^About Vocabra"), 10) is not None, "OK closes the About box")

    x, y, _, _ = geometry(dialog)
    choose_from_menu(shots, "visible", EXIT)
    check(wait_until(lambda: visible.poll() is not None, 20) and visible.returncode == 0, "Exit ends it with 0")
    stored_x, stored_y = registry_dword(wine, "window_x"), registry_dword(wine, "window_y")
    check(stored_x is not None and stored_y is not None and abs(stored_x - x) <= 10 and 0 <= y - stored_y <= 40,
          "the position was stored: (%s, %s) for a client area at (%d, %d)" % (stored_x, stored_y, x, y))


if __name__ == "__main__":
    try:
        main()
    except Failure as failure:
        print("FAIL " + str(failure), flush=True)
        sys.exit(1)
