#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Fails when a translation file is behind the source or wrong in form.

For each .ts file named: scripts/update-translations brings a copy up to date with the texts of
app/ and controls/, and every message of the copy must be translated (none new, none
unfinished, none empty); the committed file must hold no vanished or obsolete entries; and each
translation must carry the placeholders (%1, %2, %n, %L1) of its source and an access key (&)
exactly where the source has one.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

PLACEHOLDER = re.compile(r"%L?(\d+|n)")
# "&&" is a literal ampersand; "&x" marks x as the access key.
ACCESS_KEY = re.compile(r"&(?!&)(?=\S)")


def messages(path):
    """(context, source, translation element) for every message of the file."""
    for context in ET.parse(path).getroot().iter("context"):
        name = context.findtext("name", "")
        for message in context.iter("message"):
            yield name, message.findtext("source", ""), message.find("translation")


def texts(translation):
    """The translated texts: one, or one for each plural form."""
    forms = translation.findall("numerusform")
    return [f.text or "" for f in forms] if forms else [translation.text or ""]


def access_keys(text):
    return len(ACCESS_KEY.findall(text.replace("&&", "")))


def form_problems(source, translation):
    problems = []
    wanted = sorted(PLACEHOLDER.findall(source))
    for text in texts(translation):
        if sorted(PLACEHOLDER.findall(text)) != wanted:
            problems.append(f"placeholders differ: {source!r} -> {text!r}")
        if access_keys(text) != access_keys(source):
            problems.append(f"access key differs: {source!r} -> {text!r}")
    return problems


def check(ts, update_script):
    problems = []
    committed = {(c, s) for c, s, _ in messages(ts)}
    for context, source, translation in messages(ts):
        kind = translation.get("type") if translation is not None else None
        if kind in ("vanished", "obsolete"):
            problems.append(f"{kind} (run scripts/update-translations): [{context}] {source!r}")

    with tempfile.TemporaryDirectory() as folder:
        copy = os.path.join(folder, os.path.basename(ts))
        shutil.copyfile(ts, copy)
        subprocess.run(["bash", update_script, copy], check=True)
        for context, source, translation in messages(copy):
            if (context, source) not in committed:
                problems.append(f"new: [{context}] {source!r}")
            elif translation.get("type") == "unfinished":
                problems.append(f"unfinished: [{context}] {source!r}")
            elif not all(texts(translation)):
                problems.append(f"empty: [{context}] {source!r}")
            else:
                problems += [f"[{context}] {p}" for p in form_problems(source, translation)]
    return problems


def main():
    if len(sys.argv) < 3:
        sys.exit("usage: check_translations.py UPDATE_SCRIPT FILE.ts...")
    failed = False
    for ts in sys.argv[2:]:
        problems = check(ts, sys.argv[1])
        for problem in problems:
            print(f"{os.path.basename(ts)}: {problem}")
        failed = failed or bool(problems)
    if failed:
        print("Fix: scripts/update-translations, then translate what is listed.")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
