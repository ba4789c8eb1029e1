"""The lookup history of Vocabra.exe under Wine, observed from outside: its file in the profile,
the requests at the fake dictionary, the tray menu's "Recent" submenu and the files it exports.

Used by tray_e2e.py inside its English session, with the dialog shown."""

import glob
import os

from checks import check
from tray_e2e import (SERVICE, SERVICES, answer_windows, choose, close_answers, menu_keys, open_submenu,
                      open_tray_menu, registry_dword, request_for, type_into_dialog)
from wine_session import geometry, screenshot, visible_windows_of, wait_until, window_name, xdotool

# "Recent" is the item just above "Service"; its own last items, from the bottom: Clear history,
# Export…, Keep a history.
RECENT = SERVICE + ("Up",)
CLEAR, EXPORT, KEEP = ("End",), ("End", "Up"), ("End", "Up", "Up")


def history_entries(wine):
    """(word, direction, service id) of each line of the history file, newest first."""
    found = glob.glob(os.path.join(wine.prefix, "drive_c", "users", "*", "AppData", "Roaming", "Vocabra",
                                   "history.tsv"))
    if not found:
        return []
    with open(found[0], encoding="utf-8") as history:
        return [tuple(line.split("\t")[:3]) for line in history.read().splitlines() if line]


def requests_for(dictionary, word):
    return [r for r in dictionary.requests() if request_for(word)(r)]


def recent_submenu():
    """The tray menu and its open "Recent" submenu."""
    menu = open_tray_menu()
    recent = open_submenu(menu, RECENT)
    check(recent is not None, "the tray menu has a Recent submenu above Service")
    return menu, recent


def choose_and_answer(menu, keys, key):
    """Chooses the item, whose question box (a new window of the program's) `key` answers: y or n."""
    known = set(visible_windows_of("vocabra.exe"))
    choose(menu, keys)
    boxes = wait_until(lambda: [w for w in visible_windows_of("vocabra.exe")
                                if w not in known and window_name(w) == "Vocabra"], 10)
    check(bool(boxes), "a question is asked")
    xdotool("windowfocus", "--sync", str(boxes[0]))
    xdotool("key", key)
    check(wait_until(lambda: boxes[0] not in visible_windows_of("vocabra.exe"), 10) is not None,
          "the question box closes with %r" % key)


def hot_keys_remembered(wine, words, ignored):
    """After translations by hot key (in another run of the program: the file is read again at
    start), their words are the newest entries; a double press that was switched off left none."""
    entries = [entry[0] for entry in history_entries(wine)]
    check(entries[:len(words)] == list(reversed(words)), "the hot keys' words are the history's newest entries, "
          "newest first (%s)" % entries[:len(words)])
    check(ignored not in entries, "the switched-off double press left no entry")


def typed_translation(dialog, dictionary, word):
    """The word typed into the dialog and Return; the request it sends."""
    before = len(requests_for(dictionary, word))
    type_into_dialog(dialog, word)
    check(wait_until(lambda: len(requests_for(dictionary, word)) > before, 30) is not None,
          "the dialog translates %r" % word)
    return requests_for(dictionary, word)[-1]


def history_from_the_tray(wine, dictionary, dialog, shots, exported):
    """A hot-key translation is remembered; Recent translates it again, Export writes the file a
    flash-card program imports, Keep a history switched off adds nothing, Clear empties Recent."""
    word = "remembered"
    request = typed_translation(dialog, dictionary, word)
    _, path, direction = request.path.split("/")
    service = next(s for s, (_, _, own_path) in SERVICES.items() if own_path == path)
    check(wait_until(lambda: history_entries(wine)[:1] == [(word, direction, service)], 10) is not None,
          "the dialog's word is the history's newest entry (%s)" % history_entries(wine)[:1])
    close_answers({dialog})

    menu, recent = recent_submenu()
    full_height = geometry(recent)[3]
    screenshot(os.path.join(shots, "menu-recent-history.png"))
    choose(menu, ())  # the first item, selected as the submenu opens: the newest word
    check(wait_until(lambda: len(requests_for(dictionary, word)) == 2, 30) is not None,
          "Recent's first item asks the fake dictionary for %r again" % word)
    close_answers({dialog})

    # The word box offers the earlier words as the user types: the shell's drop-down, a new
    # unnamed window of the program.
    before = set(visible_windows_of("vocabra.exe"))
    type_into_dialog(dialog, "rem", enter=False)
    dropped = wait_until(lambda: [w for w in visible_windows_of("vocabra.exe")
                                  if w not in before and not window_name(w)], 10)
    check(dropped is not None, "typing into the word box drops its earlier words down")
    screenshot(os.path.join(shots, "word-suggestions.png"))
    xdotool("key", "Escape")
    check(wait_until(lambda: dropped[0] not in visible_windows_of("vocabra.exe"), 10) is not None
          and dialog in visible_windows_of("vocabra.exe"), "Esc closes the drop-down and leaves the dialog open")

    menu, recent = recent_submenu()
    choose(menu, EXPORT)
    titles = wait_until(lambda: [w for w in visible_windows_of("vocabra.exe")
                                 if window_name(w) == "Export the history"], 15)
    check(bool(titles), "Export… opens the Save dialog")
    xdotool("windowfocus", "--sync", str(titles[0]))
    xdotool("key", "ctrl+a")
    xdotool("type", "--delay", "20", "C:\\%s" % exported)
    xdotool("key", "Return")
    path = os.path.join(wine.prefix, "drive_c", exported)
    check(wait_until(lambda: os.path.exists(path), 15) is not None, "the export is written to C:\\%s" % exported)
    with open(path, encoding="utf-8") as export:
        lines = export.read().splitlines()
    check(lines[:3] == ["#separator:tab", "#html:false", "#columns:Word\tDirection\tService\tTime"],
          "the export starts with the flash-card program's header lines")
    check(lines[3].startswith("%s\t%s\t%s\t" % (word, direction, SERVICES[service][0])),
          "its first card is the newest word with the service's name (%r)" % lines[3])

    menu, recent = recent_submenu()
    choose_and_answer(menu, KEEP, "n")
    check(wait_until(lambda: registry_dword(wine, "keepHistory") == 0, 10) is not None,
          "Keep a history switched off stores keepHistory = 0")
    typed_translation(dialog, dictionary, "unkept")
    close_answers({dialog})
    menu, recent = recent_submenu()
    choose(menu, KEEP)
    check(wait_until(lambda: registry_dword(wine, "keepHistory") == 1, 10) is not None,
          "switched on again without a question")
    # The next write holds everything kept since: "unkept" is not in it.
    typed_translation(dialog, dictionary, "kept again")
    check(wait_until(lambda: history_entries(wine)[:1] == [("kept again", direction, service)], 10) is not None,
          "switched on again, the next lookup is kept")
    check([e[0] for e in history_entries(wine)][:2] == ["kept again", word], "with the history off nothing was "
          "added; answered No, nothing was cleared")
    close_answers({dialog})

    menu, recent = recent_submenu()
    choose_and_answer(menu, CLEAR, "y")
    check(wait_until(lambda: not history_entries(wine), 10) is not None, "Clear history empties the file")
    menu, recent = recent_submenu()
    check(geometry(recent)[3] < full_height, "the Recent submenu holds no words any more")
    screenshot(os.path.join(shots, "menu-recent-cleared.png"))
    menu_keys(menu, "Escape", "Escape")
    check(wait_until(lambda: recent not in visible_windows_of("vocabra.exe")
                     and menu not in visible_windows_of("vocabra.exe"), 10) is not None, "Escape closes the menus")

    # Words for the pictures of the Recent submenu.
    for word in ("Gute Nacht", "remembered"):
        typed_translation(dialog, dictionary, word)
        close_answers({dialog})
    check(answer_windows({dialog}) == [], "the answer windows are closed")
