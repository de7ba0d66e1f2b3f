#!/usr/bin/env python3
"""Turns a device profile into what the build compiles: Profile.h, the
device's names as constants for the code and the resource scripts;
profile.cmake, the disc's names and settings for the build; strings.rc,
the string table of the launcher's messages from texts/<language>.po (one
gettext file per language, as translators' tools write them, the message
named by its context).

    profile.py PROFILE_DIR RESOURCE_HEADER OUT_DIR
    profile.py --value PROFILE_DIR SECTION.KEY     prints one checked value

RESOURCE_HEADER (res/resource.h) names the messages: every IDS_ identifier
there is one message, and each language has all of them and nothing else.
Anything wrong stops the build with one line that names the file, the
message and what was expected. Files are written only when they change.
"""
import os
import re
import sys
import tomllib

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


RESERVED = re.compile(r"(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])(\..*)?$", re.I)
GUID = re.compile(r"\{[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}\}$")
# Every key of profile.toml: section, key, and the rule its value follows.
KEYS = [
    ("suite", "display_name", "text"), ("suite", "executable", "file .exe"),
    ("suite", "uninstall_key", "guid"), ("suite", "default_folder", "folder"),
    ("maker", "name", "text"), ("maker", "mutex", "mutex"), ("maker", "registry_key_name", "text"),
    ("maker", "company", "text"), ("maker", "product", "text"), ("maker", "copyright", "text"),
    ("maker", "manifest_name", "assembly"),
    ("disc", "launcher", "file .exe"), ("disc", "image_dll", "file .dll"), ("disc", "image_dll_description", "text"), ("disc", "marker_file", "file"),
    ("disc", "link_file", "file"), ("disc", "link_marker", "ascii"), ("disc", "link", "link"),
    ("disc", "volume_label", "label"), ("dialogs", "title", "text"),
    ("faces", "surround", "colour"), ("faces", "corner_radius", "0-10"), ("faces", "label_height", "6-20"),
    ("faces", "ok_label", "text"), ("faces", "exit_label", "text"),
] + [("faces", f"{state}.{part}", "colour") for state in ("up", "down", "focused", "disabled")
     for part in ("top", "bottom", "border", "ink")]
# The images, in images/: file, kind and size in pixels at 96 dots.
IMAGES = [("notice_background.png", "png", (401, 156)), ("question_background.png", "png", (264, 156)),
          ("launcher.ico", "ico", None)] + [
    (f"{name}{state}.bmp", "bmp", (83, 23)) for name in ("OK", "EXIT") for state in "UDFX"]


def web_address_problem(link):
    """What keeps the launcher from opening `link` (workflow/LinkFile.cpp), or None."""
    match = re.match(r"(?i)https?://", link)
    if not match or len(link) == match.end() or link[match.end()] in "/?#":
        return "an http:// or https:// address with a host"
    if len(link) > 2048 or re.search(r'[^!#-\[\]-~]', link):
        return "at most 2048 characters of printable ASCII without blanks, double quotes or backslashes"
    return None


def check_value(rule, value):
    """What is wrong with `value` under `rule`, or None."""
    if re.match(r"\d+-\d+$", rule):
        low, high = map(int, rule.split("-"))
        ok = isinstance(value, int) and not isinstance(value, bool) and low <= value <= high
        return None if ok else f"a whole number from {low} to {high}"
    if rule == "colour":
        return None if isinstance(value, str) and re.match(r"#[0-9A-Fa-f]{6}$", value) else "a colour as #rrggbb"
    if not isinstance(value, str) or not value.strip():
        return "a text that is not empty"
    if any(ord(c) < 0x20 for c in value) or ('"' in value and rule != "link"):
        return "a text without control characters or double quotes"
    if rule in ("text", "ascii", "mutex") and "\\" in value:
        return "a text without a backslash"
    if rule.startswith("file"):
        ending = rule[5:]
        if re.search(r'[<>:"/\\|?*]', value) or value[-1] in ". " or RESERVED.match(value):
            return "a file name without a path separator, without <>:\"|?* and not a reserved name"
        if ending and not value.lower().endswith(ending):
            return f"a file name ending in {ending}"
    elif rule == "guid" and not GUID.match(value):
        return "a GUID in braces, {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX} of hexadecimal digits"
    elif rule == "folder":
        parts = value.replace("/", "\\").split("\\")
        if re.match(r"[A-Za-z]:", value) or value.startswith(("\\", "/")) or any(p in ("", ".", "..") for p in parts):
            return "a folder relative to Program Files, such as Maker\\Suite, without . or .. parts"
        if any(check_value("file", p) for p in parts):
            return "a folder whose every part is a file name"
    elif rule == "ascii" and re.search(r"[^ -~]", value):
        return "printable ASCII"
    elif rule == "link":
        return web_address_problem(value)
    elif rule == "assembly" and not re.match(r"[A-Za-z0-9_-]+(\.[A-Za-z0-9_-]+)*$", value):
        return "names of letters, digits, _ and - joined by dots"
    elif rule == "label" and not re.match(r"[A-Z0-9_]{1,32}$", value):
        return "1 to 32 characters of A-Z, 0-9 and _"
    return None


def read_profile(profile):
    path = os.path.join(profile, "profile.toml")
    try:
        with open(path, "rb") as f:
            data = tomllib.load(f)
    except OSError as e:
        raise ProfileError(f"{path}: cannot be read: {e.strerror}")
    except tomllib.TOMLDecodeError as e:
        raise ProfileError(f"{path}: not TOML: {e}")
    def flat(table, prefix=""):  # inline tables as dotted keys
        for key, value in table.items():
            if isinstance(value, dict):
                yield from flat(value, f"{prefix}{key}.")
            else:
                yield prefix + key, value
    known = {(section, key) for section, key, _ in KEYS}
    given = {}
    for section, table in data.items():
        for key, value in (flat(table) if isinstance(table, dict) else [(None, table)]):
            if (section, key) not in known:
                raise ProfileError(f"{path}: [{section}] {key or ''}: not a setting of the profile")
            given[(section, key)] = value
    values = {}
    for section, key, rule in KEYS:
        value = given.get((section, key))
        if value is None:
            raise ProfileError(f"{path}: [{section}] {key} is missing")
        problem = check_value(rule, value)
        if problem:
            raise ProfileError(f"{path}: [{section}] {key} = {value!r}: expected {problem}")
        values[f"{section}.{key}"] = value
    return values


def read_size(path, kind):
    """(width, height) of a PNG or an uncompressed 24-bit BMP, or a reason it is neither."""
    with open(path, "rb") as f:
        head = f.read(64)
    if kind == "png":
        if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
            return "not a PNG"
        if head[24] != 8 or head[25] != 6:
            return "not RGBA with 8 bits a channel"
        return int.from_bytes(head[16:20], "big"), int.from_bytes(head[20:24], "big")
    if kind == "bmp":
        if head[:2] != b"BM" or int.from_bytes(head[28:30], "little") != 24 or int.from_bytes(head[30:34], "little"):
            return "not an uncompressed 24-bit BMP"
        return int.from_bytes(head[18:22], "little", signed=True), abs(int.from_bytes(head[22:26], "little", signed=True))
    return "not an icon" if head[:4] != b"\x00\x00\x01\x00" else None


def check_images(profile):
    for name, kind, size in IMAGES:
        path = os.path.join(profile, "images", name)
        if not os.path.isfile(path):
            raise ProfileError(f"{path}: missing")
        found = read_size(path, kind)
        if isinstance(found, str):
            raise ProfileError(f"{path}: {found}")
        if size and found != size:
            raise ProfileError(f"{path}: {found[0]} x {found[1]} pixels, expected {size[0]} x {size[1]}")


def rgb(colour):
    return "RGB(0x{}, 0x{}, 0x{})".format(*(colour[i:i + 2].lower() for i in (1, 3, 5)))


def c_string(text, wide=True):
    return ("L" if wide else "") + '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def profile_header(v, profile):
    folder = "\\" + v["suite.default_folder"].replace("/", "\\").rstrip("\\") + "\\"
    uninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + v["suite.uninstall_key"]
    wide = [
        ("CVN_SUITE_EXECUTABLE", v["suite.executable"]), ("CVN_SUITE_UNINSTALL_KEY", uninstall),
        ("CVN_SUITE_DEFAULT_FOLDER", folder), ("CVN_INSTANCE_MUTEX", v["maker.mutex"]),
        ("CVN_REGISTRY_KEY_NAME", v["maker.registry_key_name"]), ("CVN_LAUNCHER_FILE", v["disc.launcher"]),
        ("CVN_IMAGE_DLL_FILE", v["disc.image_dll"]), ("CVN_MARKER_FILE", v["disc.marker_file"]),
        ("CVN_LINK_FILE", v["disc.link_file"]), ("CVN_MESSAGE_TITLE", v["dialogs.title"]),
    ]
    narrow = [
        ("CVN_LINK_MARKER", v["disc.link_marker"]), ("CVN_TITLE_TEXT", v["dialogs.title"]),
        ("CVN_LAUNCHER_FILE_TEXT", v["disc.launcher"]), ("CVN_LAUNCHER_NAME_TEXT", v["disc.launcher"][:-4]),
        ("CVN_IMAGE_DLL_DESCRIPTION", v["disc.image_dll_description"]),
        ("CVN_IMAGE_DLL_FILE_TEXT", v["disc.image_dll"]), ("CVN_IMAGE_DLL_NAME_TEXT", v["disc.image_dll"][:-4]),
        ("CVN_COMPANY", v["maker.company"]), ("CVN_PRODUCT", v["maker.product"]),
        ("CVN_COPYRIGHT", v["maker.copyright"]),
    ]
    lines = ["#pragma once", f"// Generated by tools/profile.py from {profile}/profile.toml: the device's names.",
             "// Wide for the code, narrow (UTF-8) for the resource scripts and the pure rules."]
    lines += [f"#define {name} {c_string(value)}" for name, value in wide]
    lines += [f"#define CVN_FACE_{label.upper()}_LABEL {c_string(v['faces.' + label + '_label'])}" for label in ("ok", "exit")]
    lines += [f"#define CVN_FACE_SURROUND {rgb(v['faces.surround'])}",
              f"#define CVN_FACE_CORNER_RADIUS {v['faces.corner_radius']}",
              f"#define CVN_FACE_LABEL_HEIGHT {v['faces.label_height']}"]
    lines += [f"#define CVN_FACE_{state.upper()} " + ", ".join(rgb(v[f"faces.{state}.{part}"]) for part in
              ("top", "bottom", "border", "ink")) for state in ("up", "down", "focused", "disabled")]
    lines += [f"#define {name} {c_string(value, False)}" for name, value in narrow]
    return "\n".join(lines) + "\n"


def profile_cmake(v, profile):
    def quoted(text):
        return '"' + text.replace("\\", "\\\\").replace('"', '\\"').replace("$", "\\$").replace(";", "\\;") + '"'
    settings = [("LAUNCHER", v["disc.launcher"]), ("IMAGE_DLL", v["disc.image_dll"]),
                ("MARKER_FILE", v["disc.marker_file"]), ("LINK_FILE", v["disc.link_file"]),
                ("LINK_MARKER", v["disc.link_marker"]), ("LINK", v["disc.link"]),
                ("VOLUME_LABEL", v["disc.volume_label"]), ("TITLE", v["dialogs.title"])]
    lines = [f"# Generated by tools/profile.py from {profile}/profile.toml."]
    lines += [f"set(CVN_PROFILE_{name} {quoted(value)})" for name, value in settings]
    return "\n".join(lines) + "\n"


def manifests(v, template):
    """The launcher's manifest for each processor, from the template."""
    with open(template, encoding="utf-8") as f:
        text = f.read()
    title = v["dialogs.title"].replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    text = text.replace("@MANIFEST_NAME@", v["maker.manifest_name"]).replace("@TITLE@", title)
    return {arch: text.replace("@ARCHITECTURE@", arch) for arch in ("x86", "amd64")}


def write_if_changed(path, text):
    old = None
    if os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            old = f.read()
    if old != text:
        with open(path, "w", encoding="utf-8", newline="\n") as f:
            f.write(text)


def main(argv):
    if len(argv) == 4 and argv[1] == "--value":
        try:
            print(read_profile(argv[2])[argv[3]])
            return 0
        except (ProfileError, KeyError) as e:
            print(f"profile: {e}", file=sys.stderr)
            return 1
    if len(argv) != 4:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    profile, header, out = argv[1:]
    name = os.path.basename(os.path.abspath(profile))
    try:
        values = read_profile(profile)
        check_images(profile)
        names = message_names(header)
        texts = read_texts(profile, names)
    except ProfileError as e:
        print(f"profile: {e}", file=sys.stderr)
        return 1
    os.makedirs(out, exist_ok=True)
    write_if_changed(os.path.join(out, "Profile.h"), profile_header(values, name))
    write_if_changed(os.path.join(out, "profile.cmake"), profile_cmake(values, name))
    write_if_changed(os.path.join(out, "strings.rc"), string_table(texts, names, name))
    for arch, text in manifests(values, os.path.join(os.path.dirname(header), "launcher.manifest.in")).items():
        write_if_changed(os.path.join(out, f"launcher-{arch}.manifest"), text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
