#!/usr/bin/env python3
"""Vidorun.exe's benchmarks: what the disc carries besides the movies, how
long a viewer's drive takes to read it, and how fast the program starts
under Wine, each beside the floor: bench_floor_window.exe, a bare Win32
window of the main window's size below a menu bar, built the same way
(static, the same compiler and flags) with the same first-frame probe.

Disc footprint: the bytes of Vidorun.exe, the only file the disc needs
besides the project and the movies, against the floor, and against
bench_main_window.exe, the main window alone on the Windows front end.
Reading it from the disc: before the menu shows, Windows reads the whole of
Vidorun.exe from the disc (the run-from-swap bits make it one sequential
read). On paper: one access of 0.1 s, then the rate of the disc's inner
tracks, where the root's files lie (a CD spins at a constant speed, so a
24x drive reads about 10x there: 1.55 MB/s; 48x about 3.1 MB/s; a 16x DVD
about 9.5 MB/s; MB here are 10^6 bytes). What each library contributes
comes from the linker's map of the real link (bench/link_map.py).
Start-up: the wall time from starting the program under Wine to its first
painted frame (the probe of ui/win32/startup_probe.cpp), in the windows
build's own Wine prefix, on the X display and Wine session the test runs
use (tests/windows/wine-on-display.sh), in pairs, the program then the
floor; the ratio of the medians. Absolute times under Wine mean little; the
ratio does.

  python3 bench/run_bench_windows.py --build-dir build-windows [--runs 21]
"""
import argparse
import os
import statistics
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from run_bench import ProbeFailed, load_average, processor_text, run_once, spread_text  # noqa: E402
import link_map  # noqa: E402

TARGET_EXTRA_BYTES = 1 << 20   # Vidorun.exe at most 1 MiB above the floor
TARGET_SIZE = 1 << 20           # and at most 1 MiB in all
TARGET_TIME = 1.10

# (medium, bytes per second at the inner tracks), after one access of 0.1 s
DISC_READS = (("24x CD", 1.55e6), ("48x CD", 3.1e6), ("16x DVD", 9.5e6))
DISC_ACCESS = 0.1
TARGET_CD24_SECONDS = 0.8


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build-dir", default=os.path.join(here, "..", "build-windows"))
    parser.add_argument("--runs", type=int, default=21, help="start-up runs of each program")
    parser.add_argument("--warmups", type=int, default=2)
    parser.add_argument("--objects", type=int, default=15, help="largest objects to list from the linker's map")
    args = parser.parse_args()

    build = os.path.abspath(args.build_dir)
    disc = os.path.join(build, "disc")
    program = os.path.join(disc, "Vidorun.exe")
    floor = os.path.join(build, "bench", "bench_floor_window.exe")
    main_window = os.path.join(build, "bench", "bench_main_window.exe")
    for path in (program, floor, main_window):
        if not os.path.isfile(path):
            sys.exit("run_bench_windows: %s is not built (make bench-windows builds it)" % path)
    on_display = os.path.join(here, "..", "tests", "windows", "wine-on-display.sh")
    prefix = os.path.join(build, "wine-prefix")

    lines = []
    program_bytes = os.path.getsize(program)
    floor_bytes = os.path.getsize(floor)
    main_window_bytes = os.path.getsize(main_window)
    extra = program_bytes - floor_bytes
    lines.append("Disc footprint (everything but the project and the movies):")
    lines.append("  %-40s %12s bytes (%.2f MB)" % ("floor window", format(floor_bytes, ","), floor_bytes / 2**20))
    lines.append("  %-40s %12s bytes (%.2f MB)" % ("main window alone, on the front end",
                                                   format(main_window_bytes, ","), main_window_bytes / 2**20))
    lines.append("  %-40s %12s bytes (%.2f MB)  target <= 1 MiB: %s"
                 % ("Vidorun.exe", format(program_bytes, ","), program_bytes / 2**20,
                    "met" if program_bytes <= TARGET_SIZE else "NOT met"))
    lines.append("  %-40s %12s bytes (%.2f MB)  target <= 1 MiB: %s"
                 % ("  above the floor", format(extra, ","), extra / 2**20,
                    "met" if extra <= TARGET_EXTRA_BYTES else "NOT met"))

    lines.append("Reading Vidorun.exe from the disc, on paper (%.1f s access, then the inner tracks):" % DISC_ACCESS)
    for medium, rate in DISC_READS:
        seconds = DISC_ACCESS + program_bytes / rate
        target = ""
        if medium == "24x CD":
            target = "  target < %.1f s: %s" % (TARGET_CD24_SECONDS, "met" if seconds < TARGET_CD24_SECONDS else "NOT met")
        lines.append("  %-40s %8.2f s   (floor %.2f s)%s"
                     % ("%s, %.2f MB/s" % (medium, rate / 1e6), seconds, DISC_ACCESS + floor_bytes / rate, target))
    link = os.path.join(build, "Vidorun.map")
    if os.path.isfile(link):
        lines.append("What each library puts into Vidorun.exe (from the linker's map):")
        lines.extend(link_map.table(link, args.objects))

    env = dict(os.environ)
    env["VIDORUN_STARTUP_PROBE"] = "1"
    try:
        # The program's window size, which the floor then gets too.
        sized = run_once([on_display, prefix, program], disc, env, timeout=120)
        commands = (("program", [on_display, prefix, program]),
                    ("floor", [on_display, prefix, floor, sized["width"], sized["height"]]))
        load_before = load_average()
        print("measuring start-up under Wine: %d pairs ..." % args.runs, flush=True)
        for _ in range(args.warmups):
            for _, command in commands:
                run_once(command, disc, env, timeout=120)
        result = {name: [] for name, _ in commands}
        for _ in range(args.runs):
            for name, command in commands:
                result[name].append(run_once(command, disc, env, timeout=120))
        load_after = load_average()
    except ProbeFailed as failed:
        sys.exit("run_bench_windows: %s" % failed)
    finally:
        subprocess.run([on_display, "--stop", prefix], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    p_ms = [r["first_ms"] for r in result["program"]]
    f_ms = [r["first_ms"] for r in result["floor"]]
    ratio = statistics.median(p_ms) / statistics.median(f_ms)
    pairs = [a / b for a, b in zip(p_ms, f_ms)]
    lines.append("Start-up under Wine on Xvfb (window %sx%s), median of %d pairs (spread):"
                 % (sized["width"], sized["height"], args.runs))
    lines.append("  %-40s %8.1f ms  (%s)" % ("floor window, first frame", statistics.median(f_ms), spread_text(f_ms)))
    lines.append("  %-40s %8.1f ms  (%s)" % ("Vidorun.exe, first frame", statistics.median(p_ms), spread_text(p_ms)))
    lines.append("  %-40s %8.2f x   (pair by pair: median %.2f, %s)  target <= %.2f: %s"
                 % ("  ratio to the floor", ratio, statistics.median(pairs), spread_text(pairs, 2),
                    TARGET_TIME, "met" if ratio <= TARGET_TIME else "NOT met"))
    s_ms = [r["settled_ms"] for r in result["program"]]
    lines.append("  %-40s %8.1f ms  (%s)" % ("Vidorun.exe, with its cover", statistics.median(s_ms), spread_text(s_ms)))
    p_mb = [r["peak_mb"] for r in result["program"]]
    f_mb = [r["peak_mb"] for r in result["floor"]]
    lines.append("  %-40s %8.1f MB  (%s)" % ("floor window, peak working set", statistics.median(f_mb), spread_text(f_mb)))
    lines.append("  %-40s %8.1f MB  (%s)" % ("Vidorun.exe, peak working set", statistics.median(p_mb), spread_text(p_mb)))

    print()
    print("Vidorun.exe benchmarks on %s, under %s" % (processor_text(), wine_version()))
    print("1-minute load average %.2f before, %.2f after" % (load_before, load_after))
    for line in lines:
        print(line)


def wine_version():
    out = subprocess.run(["wine", "--version"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    return out.stdout.decode().strip() or "Wine"


if __name__ == "__main__":
    main()
