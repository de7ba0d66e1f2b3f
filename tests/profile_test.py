#!/usr/bin/env python3
"""Broken copies of the default profile stop the generator, each with one
line that names the file and the message; the default profile passes.
    profile_test.py SOURCE_DIR"""
import os, re, shutil, subprocess, sys, tempfile

src = sys.argv[1]
texts = "texts"


def edit(name, old, new, count=1):
    def change(folder):
        path = os.path.join(folder, name if name.endswith(".toml") else os.path.join(texts, name))
        with open(path, encoding="utf-8") as f:
            text = f.read()
        assert old in text, (name, old)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text.replace(old, new, count))
    return change


GUID = "{6A3E19C2-47D0-4B8E-9F21-0C5D7E8A4B13}"
CASES = [  # what is broken, expected message (a regular expression)
    (lambda d: None, None),
    (edit("profile.toml", GUID, GUID[1:-1]), r"profile\.toml: \[suite\] uninstall_key = .*expected a GUID in braces"),
    (edit("profile.toml", '"Corvana.exe"', '"bin/Corvana.exe"'), r"\[suite\] executable = .*without a path separator"),
    (edit("profile.toml", '"CVNAI.ini"', '"CON.ini"'), r"\[disc\] link_file = .*not a reserved name"),
    (edit("profile.toml", "'Tarnex\\Tarnex Corvana'", "'C:\\Tarnex'"), r"\[suite\] default_folder = .*relative to Program"),
    (edit("profile.toml", '"https://downloads', '"file://downloads'), r"\[disc\] link = .*http:// or https://"),
    (edit("profile.toml", '"CORVANA"', '"corvana"'), r"\[disc\] volume_label = .*A-Z, 0-9 and _"),
    (edit("profile.toml", 'company = "Tarnex"', 'company = "Tarnex \\"Devices\\""'),
     r"\[maker\] company = .*without control characters or double quotes"),
    (edit("profile.toml", "mutex =", "mutexx ="), r"\[maker\] mutexx: not a setting of the profile"),
    (edit("profile.toml", 'title = "CVN Auto Installer"', ""), r"\[dialogs\] title is missing"),
    (edit("profile.toml", "[disc]", "[disc"), r"profile\.toml: not TOML"),
    (edit("profile.toml", 'surround = "#eef0f4"', 'surround = "grey"'), r"\[faces\] surround = .*a colour as #rrggbb"),
    (edit("profile.toml", 'ink = "#0f1f3d"', 'ink = "#0f1f3"'), r"\[faces\] down\.ink = .*a colour"),
    (lambda d: shutil.copy(os.path.join(d, "images", "question_background.png"),
                           os.path.join(d, "images", "notice_background.png")),
     r"images/notice_background\.png: 264 x 156 pixels, expected 401 x 156"),
    (lambda d: shutil.copy(os.path.join(d, "images", "OKU.bmp"), os.path.join(d, "images", "question_background.png")),
     r"images/question_background\.png: not a PNG"),
    (lambda d: os.remove(os.path.join(d, texts, "el_GR.po")), r"texts/el_GR\.po: missing"),
    (lambda d: shutil.copy(os.path.join(d, texts, "en_US.po"), os.path.join(d, texts, "sv_SE.po")),
     r"texts/sv_SE\.po: not one of the launcher's languages"),
    (edit("fr_FR.po", 'msgctxt "IDS_CVN_VERIFY_ERROR"', 'msgctxt "IDS_CVN_VERIFY_EROR"'),
     r"texts/fr_FR\.po: line \d+: message 'IDS_CVN_VERIFY_EROR' is not one of"),
    (edit("de_DE.po", 'msgstr "Corvana ist installiert.\\r\\nStarten Sie Corvana."', 'msgstr ""'),
     r"texts/de_DE\.po: line \d+: IDS_CVN_INSTALLED has no translation"),
    (edit("tr_TR.po", 'msgctxt "IDS_LANGUAGE_NOT_SUPPORTED"', '#'),
     r"texts/tr_TR\.po: IDS_LANGUAGE_NOT_SUPPORTED is missing"),
    (edit("it_IT.po", 'installato.\\r\\nAvviare Corvana."', 'installato.'),
     r"texts/it_IT\.po: line \d+: expected a string in double quotes"),
    (edit("nl_NL.po", 'msgctxt "IDS_CVN_VERIFY_ERROR"', 'msgctxt "IDS_CVN_INSTALLED"'),
     r"texts/nl_NL\.po: line \d+: message 'IDS_CVN_INSTALLED' is there twice"),
]
failures = 0
for number, (breaks, expected) in enumerate(CASES):
    with tempfile.TemporaryDirectory() as work:
        profile = os.path.join(work, "profile")
        shutil.copytree(os.path.join(src, "profiles", "default"), profile)
        breaks(profile)
        run = subprocess.run([sys.executable, os.path.join(src, "tools", "profile.py"), profile,
                              os.path.join(src, "res", "resource.h"), os.path.join(work, "out")],
                             capture_output=True, text=True)
        said = run.stderr.strip()
        ok = run.returncode == 0 and not said if expected is None else (
            run.returncode == 1 and len(said.splitlines()) == 1 and re.search(expected, said))
        if not ok:
            failures += 1
            print(f"case {number}: expected {expected or 'success'}, got exit {run.returncode}: {said}")
print(f"{len(CASES) - failures} passed, {failures} failed")
sys.exit(1 if failures else 0)
