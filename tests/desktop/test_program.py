"""A program folder of vocabra-tray for tests and benchmarks, whose services ask a local fake
dictionary, and the environment that runs it there.

vocabra-tray finds its locale/ folder beside its own executable (through /proc/self/exe, so a
symbolic link would lead back to the build folder): the executable and its answer window library
are copied into the folder. Its settings live in a .reg file named by VOCABRA_REGISTRY.

    from test_program import prepare_program_folder, program_environment, direction_name
    program = prepare_program_folder("build/linux/tray/gtk", work, dictionary.port)
    subprocess.Popen([program.executable], env=program_environment(program))

The fake dictionary is tests/e2e/fake_dictionary.py; FAKE_DICTIONARY_FOLDER is put on sys.path
here, so `from fake_dictionary import FakeDictionary` works after importing this module.
"""

import collections
import os
import shutil
import sys
import time

SOURCE_ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
FAKE_DICTIONARY_FOLDER = os.path.join(SOURCE_ROOT, "tests", "e2e")
if FAKE_DICTIONARY_FOLDER not in sys.path:
    sys.path.insert(0, FAKE_DICTIONARY_FOLDER)

EXECUTABLE = "vocabra-tray"
ANSWER_WINDOW_LIBRARY = "libvocabra-answer-window.so"
SETTINGS_KEY = r"HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\LowRegistry\Corvane\Vocabra"

# A service of the test locale: what it is called, the directions it offers, the first part of its
# request path at the fake dictionary, the icon (from resources/services) it shows, and the size
# of its answer window (None: the service names no size and the program's default applies).
Service = collections.namedtuple("Service", "name directions path icon size")

SERVICES = collections.OrderedDict([
    ("Fake", Service("Fake Dictionary", ["en-ru", "ru-en", "de-ru"], "lookup", "google.ico", (600, 400))),
    ("Second", Service("Second Dictionary", ["de-ru", "en-ru", "fr-ru"], "second", "yandex.ico", None)),
])
DEFAULT_PRIORITY = list(SERVICES)
DEFAULT_DIRECTIONS = ["en-ru", "ru-en"]  # the favourites a new user starts with
DEFAULT_FAVOURITE_COUNT = 2
LANGUAGE_NAMES = {
    "en": {"en": "English", "ru": "Russian", "de": "German", "fr": "French"},
    "ru": {"en": "Английский", "ru": "Русский", "de": "Немецкий", "fr": "Французский"},
}

ProgramFolder = collections.namedtuple("ProgramFolder", "folder executable settings")


def direction_name(direction, language="en"):
    """A direction as the program shows it in `language`: "en-ru" is "English → Russian"."""
    source, target = direction.split("-")
    names = LANGUAGE_NAMES[language]
    return "%s → %s" % (names[source], names[target])


def request_path(service, direction):
    """The path of the request a service sends for a direction (the word goes into ?text=)."""
    return "/%s/%s" % (SERVICES[service].path, direction)


def prepare_program_folder(build_folder, destination, dictionary_port, priority=None,
                           favourite_count=DEFAULT_FAVOURITE_COUNT, default_directions=None, settings=None,
                           answer_window_library=None, with_answer_window=True):
    """Makes `destination` (created; must not exist yet) a program folder of vocabra-tray.

    build_folder: where vocabra-tray was built.
    dictionary_port: the fake dictionary's port on 127.0.0.1, which every service asks.
    priority: the service ids in the order the locale offers them ("dictionaries"); SERVICES' order
        when None.
    favourite_count, default_directions: the locale's "favour.dictionary.count" and
        "default.directions" (DEFAULT_DIRECTIONS when None).
    settings: registry values the user has already set, {name: int (DWORD) or str (string)}. The
        settings file always says that the update check was just made, so that no run asks the
        real update site; a test of the check overrides "lastCheckForUpdateTime".
    answer_window_library: libvocabra-answer-window.so when it is not in build_folder.
    with_answer_window: False leaves the library out: the program then hands answers to the
        desktop's browser.

    Returns a ProgramFolder: the folder, the copied executable and the settings file's path.
    """
    os.makedirs(destination)
    shutil.copy2(os.path.join(build_folder, EXECUTABLE), os.path.join(destination, EXECUTABLE))
    if with_answer_window:
        library = answer_window_library or os.path.join(build_folder, ANSWER_WINDOW_LIBRARY)
        shutil.copy2(library, os.path.join(destination, ANSWER_WINDOW_LIBRARY))
    write_locale(destination, dictionary_port, priority or DEFAULT_PRIORITY, favourite_count,
                 default_directions or DEFAULT_DIRECTIONS)
    icons = os.path.join(destination, "icons")
    os.makedirs(icons)
    for service in SERVICES.values():
        shutil.copy2(os.path.join(SOURCE_ROOT, "resources", "services", service.icon),
                     os.path.join(icons, service.icon))
    values = {"lastCheckForUpdateTime": QWord(int(time.time()))}
    values.update(settings or {})
    settings_path = os.path.join(destination, "settings.reg")
    write_settings(settings_path, values)
    return ProgramFolder(destination, os.path.join(destination, EXECUTABLE), settings_path)


def program_environment(program, base=None):
    """The environment that runs the program of a ProgramFolder under a virtual display: its
    settings file, and WebKitGTK without the compositing and the sandbox that Xvfb in a container
    cannot give it (tests only)."""
    environment = dict(os.environ if base is None else base)
    environment.update({
        "VOCABRA_REGISTRY": program.settings,
        "WEBKIT_DISABLE_COMPOSITING_MODE": "1",
        "WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS": "1",
    })
    return environment


def service_properties(service, port):
    size = "" if service.size is None else \
        "dictionary.window.width=%d\ndictionary.window.height=%d\n" % service.size
    return ("service.name=%s\n"
            "service.icon=icons/%s\n"
            "service.home.url=http://127.0.0.1:%d/\n"
            "supported.directions=%s\n"
            "dictionary.service.url=http://127.0.0.1:%d/%s/%%direction%%?text=%%words%%\n"
            "dictionary.direction.to.parameter=%s\n"
            "dictionary.display.type=popup\n"
            "%s"
            % (service.name, service.icon, port, ",".join(service.directions), port, service.path,
               ",".join(service.directions), size))


def write_locale(folder, port, priority, favourite_count, default_directions):
    """locale/en and locale/ru: the services, their order, the favourites and the language names."""
    configuration = "dictionaries=%s\nfavour.dictionary.count=%d\n" % (",".join(priority), favourite_count)
    for service_id in SERVICES:
        configuration += "dictionary.%s.type=simple\ndictionary.%s.config=%s.properties\n" % (
            service_id, service_id, service_id)
    for language, names in LANGUAGE_NAMES.items():
        files = {"Configuration.properties": configuration}
        for service_id, service in SERVICES.items():
            files[service_id + ".properties"] = service_properties(service, port)
        files["translate_direction.properties"] = "".join(
            "%s-=%s\n-%s=→ %s\n" % (code, name, code, name) for code, name in names.items()) + \
            "default.directions=%s\n" % ",".join(default_directions)
        locale = os.path.join(folder, "locale", language)
        os.makedirs(locale)
        for name, text in files.items():
            with open(os.path.join(locale, name), "w", encoding="utf-8") as out:
                out.write(text)


class QWord(int):
    """A registry QWORD (an int alone is written as a DWORD)."""


def registry_line(name, value):
    quoted = '"%s"' % name.replace("\\", "\\\\").replace('"', '\\"')
    if isinstance(value, QWord):
        return "%s=hex(b):%s" % (quoted, ",".join("%02x" % byte for byte in value.to_bytes(8, "little")))
    if isinstance(value, int):
        return "%s=dword:%08x" % (quoted, value)
    return '%s="%s"' % (quoted, value.replace("\\", "\\\\").replace('"', '\\"'))


def write_settings(path, values):
    """The program's settings file (regedit's text format, UTF-8) holding `values`."""
    with open(path, "w", encoding="utf-8") as out:
        out.write("Windows Registry Editor Version 5.00\n\n[%s]\n" % SETTINGS_KEY)
        out.writelines(registry_line(name, value) + "\n" for name, value in values.items())
