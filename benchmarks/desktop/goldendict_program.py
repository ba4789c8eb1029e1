"""GoldenDict as the benchmark runs it: one website dictionary asking the fake dictionary, the
Ctrl+C+C clipboard hot key on, the answer in its scan popup, nothing that goes to the network.

Its configuration is GoldenDict's own: the program is started once in an empty home folder, writes
its defaults there, and the benchmark edits that file. So the settings left alone are exactly what
this version of GoldenDict gives a new user.
"""

import hashlib
import os
import shutil
import signal
import subprocess
import xml.etree.ElementTree as ElementTree

from fresh_home import home_environment
from session_bus import SessionBus
from x_display import wait_until

CONFIG = os.path.join(".config", "goldendict", "config")
# Where the website dictionary's page comes from: an iframe that the article view (QtWebKit)
# loads, GoldenDict's default for a website; or GoldenDict fetching the page itself and putting
# its text into the article.
WEBSITE_MODES = {"iframe": "1", "fetch": "0"}


def parsed_config(path):
    """The configuration file as an element tree, or None while it is missing or incomplete."""
    try:
        config = ElementTree.parse(path)
    except (OSError, ElementTree.ParseError):
        return None
    return config if config.find("preferences") is not None else None


def default_config(executable, home):
    """The configuration GoldenDict writes for a new user, read from a first start in `home`
    (an empty folder); the program is ended when the file is complete."""
    bus = SessionBus(os.path.join(home, "session-bus.log"))
    environment = dict(home_environment(home, "first start"), DBUS_SESSION_BUS_ADDRESS=bus.address)
    process = subprocess.Popen([executable], env=environment, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        config = wait_until(lambda: parsed_config(os.path.join(home, CONFIG)), 30)
    finally:
        process.terminate()
        process.wait(30)
        bus.close()
    if config is None:
        raise RuntimeError("GoldenDict wrote no configuration in %s" % home)
    return config


def set_preference(config, name, value):
    element = config.find("preferences/" + name)
    if element is None:
        raise RuntimeError("GoldenDict's configuration has no preference %s" % name)
    element.text = value


def configure(config, dictionary_url, website_mode):
    """Edits the default configuration: every shipped dictionary off, one website dictionary on."""
    for element in config.iterfind("mediawikis/mediawiki"):
        element.set("enabled", "0")
    for element in config.iterfind("programs/program"):
        element.set("enabled", "0")
    websites = config.find("websites")
    for element in list(websites):
        websites.remove(element)
    ElementTree.SubElement(websites, "website", {
        "name": "Fake Dictionary", "url": dictionary_url, "icon": "",
        "id": hashlib.md5(dictionary_url.encode()).hexdigest(),
        "inside_iframe": WEBSITE_MODES[website_mode], "enabled": "1"})
    for name, value in {
        "enableClipboardHotkey": "1",
        "clipboardHotkey": "Ctrl+C, Ctrl+C",
        "enableScanPopup": "1",  # the popup that shows a hot key's answer
        "startWithScanPopupOn": "0",  # no translation of every selection: the hot key alone
        "scanToMainWindow": "0",
        "enableTrayIcon": "1",
        "startToTray": "1",  # waits hidden, as a tray program does
        "checkForNewReleases": "0",  # no request leaves the machine
        "pronounceOnLoadPopup": "0",
    }.items():
        set_preference(config, name, value)


class GoldenDict:
    name = "GoldenDict"

    def __init__(self, executable, website_mode):
        self.executable = executable
        self.website_mode = website_mode
        self.environment = None
        self._config = None

    def prepare(self, home, port, run_id):
        """Writes the configuration into `home` (a new, empty folder) for the run that follows."""
        if self._config is None:
            first = home + ".first-start"
            os.makedirs(first)
            self._config = default_config(self.executable, first)
            shutil.rmtree(first)
            configure(self._config, "http://127.0.0.1:%d/gd?word=%%GDWORD%%" % port, self.website_mode)
        path = os.path.join(home, CONFIG)
        os.makedirs(os.path.dirname(path))
        self._config.write(path, encoding="utf-8")
        self.environment = home_environment(home, run_id)

    def command(self):
        return [self.executable]

    @staticmethod
    def asked_for(request, word):
        return request.path == "/gd" and request.query.get("word") == [word]

    def stop(self, process):
        """Ends the program as a session's end does: GoldenDict has no exit command."""
        process.send_signal(signal.SIGTERM)
        return "SIGTERM"
