#!/usr/bin/env python3
"""The README's screenshot and what it shows. A screenshot carries, in a PNG
text chunk, a digest of the sources of what it shows: the catalogue's names,
descriptions and title, and the window definition. `make screenshot` takes a
new one and stamps it; a test checks that the committed one's digest is that
of the sources as they are, so a change to them that the picture does not
show yet fails until the screenshot is taken again.

    screenshot.py stamp <png>   # writes the sources' digest into the PNG
    screenshot.py check <png>   # fails unless the PNG carries that digest
"""

import hashlib
import struct
import sys
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
SOURCES = ["catalogue/content/entries.txt", "catalogue/content/title.txt", "window/definition.h"]
KEYWORD = b"Kalvetor sources"
SIGNATURE = b"\x89PNG\r\n\x1a\n"
# Chunks that say when or by what the picture was made, which would make each
# new screenshot differ from the last even where it shows the same.
DROPPED = {b"tEXt", b"zTXt", b"iTXt", b"tIME"}


def digest():
    sha = hashlib.sha256()
    for name in SOURCES:
        text = (ROOT / name).read_bytes().replace(b"\r\n", b"\n")
        sha.update(b"%s\0%d\0%s" % (name.encode(), len(text), text))
    return sha.hexdigest()


def chunks(png):
    if not png.startswith(SIGNATURE):
        raise ValueError("not a PNG file")
    at = len(SIGNATURE)
    while at < len(png):
        (length,) = struct.unpack(">I", png[at:at + 4])
        kind = png[at + 4:at + 8]
        yield kind, png[at + 8:at + 8 + length]
        at += 12 + length


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def stamp(path):
    kept = [(kind, data) for kind, data in chunks(path.read_bytes()) if kind not in DROPPED]
    stamped = chunk(b"tEXt", KEYWORD + b"\0" + digest().encode())
    out = SIGNATURE + chunk(*kept[0]) + stamped + b"".join(chunk(*c) for c in kept[1:])
    path.write_bytes(out)


def check(path):
    found = [data.split(b"\0", 1)[1].decode() for kind, data in chunks(path.read_bytes())
             if kind == b"tEXt" and data.startswith(KEYWORD + b"\0")]
    if found != [digest()]:
        print("%s shows older sources than %s (its digest %s, theirs %s); take it again with "
              "`make screenshot`" % (path, ", ".join(SOURCES), found[0] if found else "missing", digest()))
        return 1
    print("%s shows the sources as they are" % path)
    return 0


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("stamp", "check"):
        sys.exit(__doc__)
    path = Path(sys.argv[2])
    if sys.argv[1] == "stamp":
        stamp(path)
        return 0
    return check(path)


if __name__ == "__main__":
    sys.exit(main())
