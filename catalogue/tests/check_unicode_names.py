#!/usr/bin/env python3
"""Holds the build's character names against Python's Unicode database.

    check_unicode_names.py <unicode_names_dump>

Each name must be the character's Unicode name or formal alias, and every
character of Windows-1251 that a description may not hold must have one, so
that a refusal can say which invisible or look-alike character it means.
"""

import re
import subprocess
import sys
import unicodedata


def main(dump):
    result = subprocess.run([dump], capture_output=True, text=True, encoding="utf-8", timeout=60)
    if result.returncode != 0:
        print(f"FAIL: {dump} exited with status {result.returncode}: {result.stderr}")
        return 1
    failures = []
    named = {}
    for line in result.stdout.splitlines():
        match = re.fullmatch(r"U\+([0-9A-F]{4,6}) ([A-Z0-9 -]+)", line)
        if not match:
            failures.append(f"not of the form 'U+XXXX NAME': {line!r}")
            continue
        code, name = int(match.group(1), 16), match.group(2)
        if code in named:
            failures.append(f"U+{code:04X} named twice")
        named[code] = name
        try:
            looked_up = unicodedata.lookup(name)
        except KeyError:
            failures.append(f"U+{code:04X}: no character is called {name!r}")
            continue
        if looked_up != chr(code):
            failures.append(f"U+{code:04X}: {name!r} is the name of U+{ord(looked_up):04X}")

    # What a description may hold: the Cyrillic letters А to я, digits and
    # the punctuation of the catalogue.
    allowed = set(map(chr, range(0x410, 0x450))) | set("0123456789 I()-.,:;?/\"„“”–…")
    code_page = bytes(range(0x20, 0x100)).decode("cp1251", errors="ignore")
    for character in code_page:
        if character not in allowed and ord(character) not in named and character != "\x7f":
            failures.append(f"U+{ord(character):04X} {unicodedata.name(character, '')} is in Windows-1251 but "
                            "has no name in the build")
    for required in "\u045d\u040d\u0301\u0306\u00a0\u2014":
        if ord(required) not in named:
            failures.append(f"U+{ord(required):04X} {unicodedata.name(required)} has no name in the build")

    for failure in failures:
        print("FAIL:", failure)
    if failures:
        return 1
    print(f"ok: {len(named)} names agree with Unicode {unicodedata.unidata_version}")
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    sys.exit(main(sys.argv[1]))
