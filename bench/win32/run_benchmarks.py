#!/usr/bin/env python3
"""Kalvetor.exe's start-up and peak working set against the least Win32
program that draws one word in the same font in a window of the same size,
measured side by side under Wine in one run, the programs alternating; and
the executable's size and the DLLs it imports. Builds nothing; run it on a
desktop for Wine (scripts/wine-desktop) on the windows build tree:

    scripts/wine-desktop build/windows/wineprefix \\
        python3 bench/win32/run_benchmarks.py build/windows [--rounds 31]

Prints each figure with its verdict and exits with status 0 when it
measured, whatever the verdicts; 2 when it could not measure. Wine's figures
are not Windows' figures. See docs/benchmarks.md.
"""

import argparse
import os
import statistics
import subprocess
import sys
from pathlib import Path

STARTUP_TARGET = 1.10  # Kalvetor's start-up time over the least program's
MEMORY_TARGET_MIB = 1.0  # Kalvetor's peak working set beyond the least program's
OBJDUMP = "x86_64-w64-mingw32-objdump"


def fail(message):
    print(f"run_benchmarks.py: {message}", file=sys.stderr)
    sys.exit(2)


def imports(exe):
    out = subprocess.run([OBJDUMP, "-p", str(exe)], capture_output=True, text=True, check=True).stdout
    return [line.split("DLL Name:", 1)[1].strip() for line in out.splitlines() if "DLL Name:" in line]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", type=Path, help="a windows build tree (build/windows)")
    parser.add_argument("--rounds", type=int, default=31, help="starts of each program (default 31)")
    args = parser.parse_args()

    build = args.build.resolve()
    root = Path(__file__).resolve().parents[2]
    kalvetor = build / "window" / "win32" / "Kalvetor.exe"
    least = build / "bench" / "win32" / "least_window.exe"
    probe = build / "bench" / "win32" / "startup_probe.exe"
    for program in (kalvetor, least, probe):
        if not program.is_file():
            fail(f"{program} is missing: build the windows preset first (make bench-windows does)")
    cache = (build / "CMakeCache.txt").read_text()
    if "CMAKE_BUILD_TYPE:STRING=Release" not in cache:
        fail(f"{build} is not a release build")
    if not os.environ.get("DISPLAY"):
        fail("no display: run under scripts/wine-desktop")

    load = os.getloadavg()
    wine_run = root / "scripts" / "wine-run"
    command = [str(wine_run), str(build / "wineprefix"), str(probe), str(args.rounds), str(kalvetor), str(least)]
    result = subprocess.run(command, capture_output=True, text=True, timeout=600)
    if result.returncode != 0:
        fail(f"startup_probe failed ({result.returncode}):\n{result.stderr}")
    times = {0: [], 1: []}
    peaks = {0: [], 1: []}
    for line in result.stdout.split("\n"):
        fields = line.split()
        if len(fields) == 3:
            index, milliseconds, peak = int(fields[0]), float(fields[1]), int(fields[2])
            times[index].append(milliseconds)
            peaks[index].append(peak)
    if len(times[0]) != args.rounds or len(times[1]) != args.rounds:
        fail(f"expected {args.rounds} starts of each program, got:\n{result.stdout}")
    # The first start of each warms Wine's caches; the medians leave it out.
    k_time = statistics.median(times[0][1:] or times[0])
    l_time = statistics.median(times[1][1:] or times[1])
    k_peak = statistics.median(peaks[0][1:] or peaks[0]) / 2**20
    l_peak = statistics.median(peaks[1][1:] or peaks[1]) / 2**20
    ratio = k_time / l_time
    extra = k_peak - l_peak

    def verdict(ok):
        return "met" if ok else "MISSED"

    print("Kalvetor.exe against the least Win32 program, under Wine (Wine's figures, not Windows')")
    print(f"  load average before the run: {load[0]:.2f} {load[1]:.2f} {load[2]:.2f} on {os.cpu_count()} cores")
    print(f"  {args.rounds} starts of each, alternating; medians without the first start")
    print(f"  start-up to the first idle moment after the first paint:")
    print(f"      Kalvetor.exe {k_time:8.1f} ms   least program {l_time:8.1f} ms   "
          f"ratio {ratio:.3f} (target <= {STARTUP_TARGET:.2f}): {verdict(ratio <= STARTUP_TARGET)}")
    print(f"  peak working set at that moment:")
    print(f"      Kalvetor.exe {k_peak:8.2f} MiB  least program {l_peak:8.2f} MiB  "
          f"difference {extra:+.2f} MiB (target <= +{MEMORY_TARGET_MIB:.1f} MiB): "
          f"{verdict(extra <= MEMORY_TARGET_MIB)}")
    print(f"  Kalvetor.exe: {kalvetor.stat().st_size} bytes, imports {', '.join(imports(kalvetor))}")
    print(f"  least program: {least.stat().st_size} bytes, imports {', '.join(imports(least))}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
