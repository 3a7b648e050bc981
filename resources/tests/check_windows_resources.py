#!/usr/bin/env python3
"""Compiles the Windows resource script with the MinGW resource compiler and
checks the compiled resources: the version information, the icon and the
application manifest.

    check_windows_resources.py <kalvetor.rc> <kalvetor.ico> <work-dir> <kalvetor.manifest> \
        <version shown, 1.00> <file version, 1.0.0.0>
"""

import struct
import subprocess
import sys
from pathlib import Path


def utf16(text):
    return text.encode("utf-16-le")


def main():
    rc, ico, work, manifest = sys.argv[1], Path(sys.argv[2]), Path(sys.argv[3]), Path(sys.argv[4])
    shown, numbers = sys.argv[5], [int(n) for n in sys.argv[6].split(".")]
    work.mkdir(parents=True, exist_ok=True)
    res = work / "kalvetor.res"
    # The host's C preprocessor is enough: the script includes no Windows headers.
    subprocess.run(["x86_64-w64-mingw32-windres", "--preprocessor=cpp", "-i", rc, "-O", "res", "-o", str(res)],
                   check=True)
    data = res.read_bytes()

    problems = []
    for key, value in [("FileVersion", shown), ("ProductVersion", shown), ("InternalName", "Kalvetor"),
                       ("OriginalFilename", "Kalvetor.exe"), ("ProductName", "Kalvetor")]:
        # A string value: its key, padding to a 4-byte boundary, then the text.
        at = data.find(utf16(key + "\0"))
        text = (at + len(utf16(key + "\0")) + 3) & ~3
        if at < 0 or not data.startswith(utf16(value + "\0"), text):
            problems.append(f'no {key} "{value}"')
    if utf16("040904B0") not in data:
        problems.append("no string table for US English (0409) in Unicode (04B0)")
    if utf16("Translation\0") + b"\0\0" + struct.pack("<HH", 0x0409, 0x04B0) not in data:
        problems.append("no Translation 0x0409, 0x04B0")

    fixed = data.find(struct.pack("<I", 0xFEEF04BD))
    if fixed < 0:
        problems.append("no fixed version information")
    else:
        file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<IIII", data, fixed + 8)
        most, least = numbers[0] << 16 | numbers[1], numbers[2] << 16 | numbers[3]
        if (file_ms, file_ls, product_ms, product_ls) != (most, least, most, least):
            problems.append(f"file and product version are not {sys.argv[6]}")

    image = ico.read_bytes()[6 + 16:]
    if image not in data:
        problems.append("the icon's image is not among the resources")

    # The manifest as resource 1 of type RT_MANIFEST (24): a resource header
    # names its type and then its number, each as 0xFFFF and the value.
    text = manifest.read_bytes()
    if text not in data:
        problems.append("the manifest is not among the resources")
    elif struct.pack("<HHHH", 0xFFFF, 24, 0xFFFF, 1) not in data:
        problems.append("no resource 1 of type RT_MANIFEST")
    for setting in (b"PerMonitorV2", b"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", b"asInvoker"):
        if setting not in text:
            problems.append(f"the manifest does not say {setting.decode()}")

    for problem in problems:
        print(problem)
    if not problems:
        print("windows resources: version information, icon and manifest present")
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
