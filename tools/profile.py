#!/usr/bin/env python3
"""Turns a device profile into what the build compiles: the string table of
the launcher's messages, from the profile's texts/<language>.po (one gettext
file per language, as translators' tools write them, the message named by
its context).

    profile.py PROFILE_DIR RESOURCE_HEADER OUT_DIR

RESOURCE_HEADER (res/resource.h) names the messages: every IDS_ identifier
there is one message, and each language has all of them and nothing else.
Anything wrong stops the build with one line that names the file, the
message and what was expected. Files are written only when they change.
"""
import os
import re
import sys

# The launcher's ten languages (app/LocaleTable.h): file name, locale
# identifier, and the resource compiler's primary and sub-language.
LANGUAGES = [
    ("en_US", 1033, 0x09, 0x01, "English (United States)"),
    ("en_GB", 2057, 0x09, 0x02, "English (United Kingdom)"),
    ("nl_NL", 1043, 0x13, 0x01, "Dutch (Netherlands)"),
    ("fr_FR", 1036, 0x0C, 0x01, "French (France)"),
    ("de_DE", 1031, 0x07, 0x01, "German (Germany)"),
    ("el_GR", 1032, 0x08, 0x01, "Greek (Greece)"),
    ("it_IT", 1040, 0x10, 0x01, "Italian (Italy)"),
    ("pt_PT", 2070, 0x16, 0x02, "Portuguese (Portugal)"),
    ("es_ES", 3082, 0x0A, 0x03, "Spanish (Spain, modern sort)"),
    ("tr_TR", 1055, 0x1F, 0x01, "Turkish (Turkey)"),
]


class ProfileError(Exception):
    pass


def message_names(header):
    with open(header, encoding="utf-8") as f:
        names = re.findall(r"^#define (IDS_\w+) \d+", f.read(), re.M)
    if not names:
        raise ProfileError(f"{header}: no IDS_ message identifiers")
    return names


ESCAPES = {"n": "\n", "r": "\r", "t": "\t", '"': '"', "\\": "\\"}


def po_string(path, number, text):
    """The value of one quoted PO string, its escapes resolved."""
    if len(text) < 2 or text[0] != '"' or text[-1] != '"':
        raise ProfileError(f'{path}: line {number}: expected a string in double quotes, found {text}')
    out, i, body = [], 0, text[1:-1]
    while i < len(body):
        c = body[i]
        if c == "\\":
            if i + 1 == len(body) or body[i + 1] not in ESCAPES:
                raise ProfileError(f"{path}: line {number}: unknown escape in {text}")
            out.append(ESCAPES[body[i + 1]])
            i += 2
            continue
        if c == '"':
            raise ProfileError(f'{path}: line {number}: a double quote inside {text} needs a backslash')
        out.append(c)
        i += 1
    return "".join(out)


def read_po(path):
    """(context, translation, line) of each entry of a PO file: msgctxt
    (optional), msgid and msgstr, each a string that may go on in quoted
    lines below it."""
    entries, entry, key = [], {}, None

    def finish():
        if entry and "msgstr" not in entry:
            raise ProfileError(f"{path}: line {entry['line']}: an entry without msgstr")
        if entry:
            entries.append((entry.get("msgctxt"), entry["msgstr"], entry["line"]))
        entry.clear()

    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    for number, line in enumerate(lines, 1):
        line = line.strip()
        keyword, _, rest = line.partition(" ")
        if not line or line.startswith("#"):
            key = None
        elif line.startswith('"') and key:
            entry[key] += po_string(path, number, line)
        elif keyword in ("msgctxt", "msgid", "msgstr"):
            if keyword == "msgctxt" or (keyword == "msgid" and "msgstr" in entry):
                finish()
            if keyword in entry or (keyword == "msgstr" and "msgid" not in entry):
                raise ProfileError(f"{path}: line {number}: {keyword} out of place")
            key = keyword
            entry[key] = po_string(path, number, rest.strip())
            entry.setdefault("line", number)
        else:
            raise ProfileError(f"{path}: line {number}: expected msgctxt, msgid, msgstr or a quoted line, "
                               f"found {line}")
    finish()
    return entries


def read_texts(profile, names):
    folder = os.path.join(profile, "texts")
    expected = {code + ".po" for code, *_ in LANGUAGES}
    found = set(os.listdir(folder)) if os.path.isdir(folder) else set()
    for extra in sorted(f for f in found - expected if f.endswith(".po")):
        raise ProfileError(f"{os.path.join(folder, extra)}: not one of the launcher's languages "
                           f"({', '.join(sorted(expected))})")
    texts = {}
    for code, *_ in LANGUAGES:
        path = os.path.join(folder, code + ".po")
        if code + ".po" not in found:
            raise ProfileError(f"{path}: missing: every one of the ten languages needs its texts")
        seen = {}
        for context, text, line in read_po(path):
            if context is None:  # the header
                continue
            if context not in names or context in seen:
                raise ProfileError(f"{path}: line {line}: message '{context}' is "
                                   + ("there twice" if context in seen else f"not one of {', '.join(names)}"))
            if not text.strip():
                raise ProfileError(f"{path}: line {line}: {context} has no translation")
            seen[context] = text
        for name in names:
            if name not in seen:
                raise ProfileError(f"{path}: {name} is missing")
        texts[code] = seen
    return texts


def rc_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '""').replace("\r", "\\r").replace("\n", "\\n") + '"'


def string_table(texts, names, profile):
    lines = ["#pragma code_page(65001)",
             f"// Generated by tools/profile.py from {profile}/texts: the launcher's messages,",
             "// one block per language. UTF-8."]
    for code, lcid, primary, sub, name in LANGUAGES:
        lines += ["", f"// {lcid} {code}", f"LANGUAGE 0x{primary:02X}, 0x{sub:02X}  // {name}", "STRINGTABLE", "BEGIN"]
        lines += [f"    {message} {rc_string(texts[code][message])}" for message in names]
        lines.append("END")
    return "\n".join(lines) + "\n"


def write_if_changed(path, text):
    old = None
    if os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            old = f.read()
    if old != text:
        with open(path, "w", encoding="utf-8", newline="\n") as f:
            f.write(text)


def main(argv):
    if len(argv) != 4:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    profile, header, out = argv[1:]
    try:
        names = message_names(header)
        texts = read_texts(profile, names)
    except ProfileError as e:
        print(f"profile: {e}", file=sys.stderr)
        return 1
    os.makedirs(out, exist_ok=True)
    write_if_changed(os.path.join(out, "strings.rc"), string_table(texts, names, os.path.basename(profile.rstrip("/"))))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
