#!/usr/bin/env python3
"""Packs a folder as a zip that the same files always make byte for byte.

    make_zip.py <folder> <output.zip>

The entries are in name order under the folder's own name, each dated
2000-01-01 and readable by all, with no time fields beyond that date.
"""

import sys
import zipfile
from pathlib import Path


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    folder, output = Path(sys.argv[1]), Path(sys.argv[2])
    with zipfile.ZipFile(output, "w", zipfile.ZIP_DEFLATED) as archive:
        for path in sorted(p for p in folder.rglob("*") if p.is_file()):
            entry = zipfile.ZipInfo(f"{folder.name}/{path.relative_to(folder).as_posix()}", (2000, 1, 1, 0, 0, 0))
            entry.external_attr = 0o644 << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(entry, path.read_bytes())


if __name__ == "__main__":
    main()
