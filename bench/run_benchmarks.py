#!/usr/bin/env python3
"""Kalvetor's benchmarks: start-up, selection and peak memory, each against
the least Qt itself needs for the same, measured side by side in one run
with the programs alternating. Builds nothing; run it on an X display (a
virtual one of its own without a window manager, as `make bench` does) on a
release build tree:

    scripts/x-desktop --no-window-manager python3 bench/run_benchmarks.py build/release

Prints each figure with its verdict and exits with status 0 when it
measured, whatever the verdicts; 2 when the benchmarks could not run or a
measurement failed. See docs/benchmarks.md.
"""

import argparse
import os
import select
import signal
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

STARTUP_TARGET = 1.10  # Kalvetor's start-up time over the label window's
SELECTION_TARGET = 1.05  # the selection operation in Kalvetor over setting the bare box
MEMORY_TARGET_MIB = 2.0  # Kalvetor's peak resident memory beyond the label window's
FIRST_FRAME_TIMEOUT_S = 30
ENTRIES = 24


class MeasurementFailed(Exception):
    pass


def fail(message):
    print(f"run_benchmarks.py: {message}", file=sys.stderr)
    sys.exit(2)


def start_to_first_frame(program, env):
    """Runs program until the probe plugin ends it at its first drawn frame.
    Returns the seconds from exec to that frame and the peak resident memory
    in KiB."""
    read_end, write_end = os.pipe()
    with tempfile.TemporaryFile() as errors:
        actions = [(os.POSIX_SPAWN_DUP2, write_end, 1), (os.POSIX_SPAWN_DUP2, errors.fileno(), 2)]
        started = time.clock_gettime_ns(time.CLOCK_MONOTONIC)
        pid = os.posix_spawn(program, [program], env, file_actions=actions)
        os.close(write_end)
        output = b""
        deadline = time.monotonic() + FIRST_FRAME_TIMEOUT_S
        while True:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([read_end], [], [], left)[0]:
                os.kill(pid, signal.SIGKILL)
                break
            chunk = os.read(read_end, 4096)
            if not chunk:
                break
            output += chunk
        os.close(read_end)
        _, status, usage = os.wait4(pid, 0)
        errors.seek(0)
        error_text = errors.read().decode(errors="replace")
    frames = [line.split()[1] for line in output.decode().splitlines() if line.startswith("first-frame-ns ")]
    code = os.waitstatus_to_exitcode(status)
    if not frames or code != 0:
        raise MeasurementFailed(
            f"{program} reported no first frame (exit status {code}); is the probe plugin loaded?\n{error_text}"
        )
    return (int(frames[0]) - started) / 1e9, usage.ru_maxrss


def measure_startups(programs, env, runs):
    """Start-up seconds and peak KiB of each program, runs times each, the
    programs alternating (forward on even runs, backward on odd ones) after
    one unrecorded run each."""
    results = {program: [] for program in programs}
    for program in programs:
        start_to_first_frame(program, env)
    for run in range(runs):
        for program in programs if run % 2 == 0 else reversed(programs):
            results[program].append(start_to_first_frame(program, env))
    return [results[program] for program in programs]


def measure_selections(selection_bench, env, rounds):
    """Per-round totals in seconds of choosing all names in Kalvetor and of
    setting all texts on the bare box."""
    run = subprocess.run([selection_bench, str(rounds)], env=env, capture_output=True, text=True)
    rows = [line.split()[1:] for line in run.stdout.splitlines() if line.startswith("round ")]
    if run.returncode != 0 or len(rows) != rounds:
        raise MeasurementFailed(f"{selection_bench} failed (exit status {run.returncode})\n{run.stderr}")
    return [int(k) / 1e9 for k, _ in rows], [int(b) / 1e9 for _, b in rows]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("build_dir", type=Path, help="a release build tree, e.g. build/release")
    parser.add_argument("--startups", type=int, default=40, help="start-ups of each program (default 40)")
    parser.add_argument("--rounds", type=int, default=200, help=f"rounds of {ENTRIES} choices (default 200)")
    args = parser.parse_args()

    if not os.environ.get("DISPLAY"):
        fail("no DISPLAY; run it under scripts/x-desktop (see docs/benchmarks.md)")
    build = args.build_dir.resolve()
    kalvetor, bare, label, selection_bench = (
        str(build / path)
        for path in ("window/qt/kalvetor", "bench/bare_window", "bench/label_window", "bench/selection_bench")
    )
    for program in (kalvetor, bare, label, selection_bench):
        if not os.access(program, os.X_OK):
            fail(f"{program} is missing; build {build} first")
    cache = build / "CMakeCache.txt"
    if "CMAKE_BUILD_TYPE:STRING=Release" not in cache.read_text().splitlines():
        fail(f"{build} is not a release build (see CMAKE_BUILD_TYPE in {cache})")

    env = dict(os.environ, QT_QPA_PLATFORM="xcb")
    probe_env = dict(env, QT_QPA_GENERIC_PLUGINS="firstframe", QT_PLUGIN_PATH=str(build / "bench/plugins"))
    try:
        startups = measure_startups([kalvetor, label, bare], probe_env, args.startups)
        selections = measure_selections(selection_bench, env, args.rounds)
    except MeasurementFailed as failure:
        fail(failure)

    median = statistics.median
    start_k, start_l, start_b = (median(seconds for seconds, _ in runs) for runs in startups)
    mib_k, mib_l, mib_b = (median(kib for _, kib in runs) / 1024 for runs in startups)
    choice_k, choice_b = (median(totals) / ENTRIES for totals in selections)

    rows = [
        ("start-up", "label window", f"{start_k * 1e3:.1f} ms", f"{start_l * 1e3:.1f} ms",
         f"{start_k / start_l:.3f} x", f"<= {STARTUP_TARGET:.2f} x", start_k / start_l <= STARTUP_TARGET),
        ("peak memory", "label window", f"{mib_k:.1f} MiB", f"{mib_l:.1f} MiB",
         f"{mib_k - mib_l:+.2f} MiB", f"<= +{MEMORY_TARGET_MIB:.0f} MiB", mib_k - mib_l <= MEMORY_TARGET_MIB),
        ("selection", "bare box", f"{choice_k * 1e3:.3f} ms", f"{choice_b * 1e3:.3f} ms",
         f"{choice_k / choice_b:.3f} x", f"<= {SELECTION_TARGET:.2f} x", choice_k / choice_b <= SELECTION_TARGET),
    ]
    print(f"medians of {args.startups} start-ups of each program and {args.rounds} rounds of {ENTRIES} choices")
    print(f"{'':12} {'against':>13} {'Kalvetor':>11} {'baseline':>11} {'relative':>11} {'target':>11}")
    for name, against, kalvetor_value, base_value, relative, target, met in rows:
        print(f"{name:12} {against:>13} {kalvetor_value:>11} {base_value:>11} {relative:>11} {target:>11}  "
              f"{'met' if met else 'MISSED'}")
    print(f"for reference, the bare window without text: start-up {start_b * 1e3:.1f} ms "
          f"(Kalvetor {start_k / start_b:.3f} x), peak memory {mib_b:.1f} MiB (Kalvetor {mib_k - mib_b:+.2f} MiB)")
    # The verdicts are information; only a failure to measure is an error.
    sys.exit(0)


if __name__ == "__main__":
    main()
