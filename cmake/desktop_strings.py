#!/usr/bin/env python3
"""Writes the Linux desktop program's string table from the tray program's English and Russian
resource scripts, so that both desktops show the same texts from one source.

Keys: a string or menu command by its identifier ("IDS_TRAY_TIP", "ID_APP_EXIT"); a dialog's
caption as "<dialog>.CAPTION"; a dialog's control text by its identifier ("IDD_MAINDLG.IDOK"), or
for unnamed static texts by their order ("IDD_ABOUTBOX.STATIC1")."""

import re
import sys

LITERAL = r'"((?:[^"]|"")*)"'


def entries(path):
    table = {}
    dialog = None
    statics = 0
    for line in open(path, encoding="utf-8"):
        line = line.strip()
        match = re.match(r"(\w+)\s+DIALOGEX\b", line)
        if match:
            dialog, statics = match.group(1), 0
            continue
        if line == "END":
            continue
        match = re.match(r"CAPTION\s+" + LITERAL, line)
        if match and dialog:
            table[dialog + ".CAPTION"] = match.group(1)
            continue
        match = re.match(r"(?:[A-Z]*TEXT|[A-Z]*PUSHBUTTON|[A-Z]*CHECKBOX)\s+" + LITERAL + r"\s*,\s*(\w+)", line)
        if match and dialog:
            name = match.group(2)
            if name == "IDC_STATIC":
                statics += 1
                name = "STATIC%d" % statics
            table[dialog + "." + name] = match.group(1)
            continue
        match = re.match(r"MENUITEM\s+" + LITERAL + r"\s*,\s*(\w+)", line) or \
            re.match(r"(\w+)\s*,\s*" + LITERAL + r"\s*$", line)
        if match:
            dialog = None
            text, name = (match.group(1), match.group(2)) if line.startswith("MENUITEM") else \
                (match.group(2), match.group(1))
            table[name] = text
    return table


def cpp(text):
    # Resource scripts double their quotes and already escape line ends as C does.
    return 'u8"' + text.replace('""', '\\"') + '"'


def main(english_path, russian_path, output_path):
    english, russian = entries(english_path), entries(russian_path)
    missing = sorted(set(english) ^ set(russian))
    if missing:
        sys.exit("desktop_strings: not in both languages: " + ", ".join(missing))
    with open(output_path, "w", encoding="utf-8") as out:
        out.write("// Generated from the tray program's resource scripts; do not edit.\n")
        for key in sorted(english):
            out.write('{"%s", %s, %s},\n' % (key, cpp(english[key]), cpp(russian[key])))


if __name__ == "__main__":
    main(*sys.argv[1:4])
