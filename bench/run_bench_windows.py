#!/usr/bin/env python3
"""Vidorun.exe's benchmarks: what the disc carries besides the movies, and
how fast the program starts under Wine, each beside the text window built
the same way against the same Qt (a window with a menu bar and one line of
text), the floor any Qt program with words pays.

Disc footprint: the bytes of Vidorun.exe, the only file the disc needs
besides the project and the movies, against bench_text_window.exe.
Reading it from the disc: before the menu shows, Windows reads the whole of
Vidorun.exe from the disc (the run-from-swap bits make it one sequential
read). On paper: one access of 0.1 s, then the rate of the disc's inner
tracks, where the root's files lie (a CD spins at a constant speed, so a
24x drive reads about 10x there: 1.55 MB/s; 48x about 3.1 MB/s; a 16x DVD
about 9.5 MB/s; MB here are 10^6 bytes). What each library contributes
comes from the linker's map of the real link (bench/link_map.py).
Start-up: the wall time from starting the program under Wine, in the
windows build's own Wine prefix and on an Xvfb display, to its first painted
frame (the same probe as on Linux), in pairs; the ratio of the medians.
Absolute times under Wine mean little; the ratio does.

  python3 bench/run_bench_windows.py --build-dir build-windows [--runs 21]
"""
import argparse
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from run_bench import ProbeFailed, machine_text, load_average, run_once, spread_text, start_xvfb  # noqa: E402
import link_map  # noqa: E402

TARGET_EXTRA_BYTES = 1 << 20   # Vidorun.exe at most 1 MB above the floor
TARGET_SIZE = 9 << 20           # and at most 9 MB in all
TARGET_TIME = 1.10
TARGET_QT_MINUTES = 25          # the Windows Qt built in 25 minutes on two cores

# (medium, bytes per second at the inner tracks), after one access of 0.1 s
DISC_READS = (("24x CD", 1.55e6), ("48x CD", 3.1e6), ("16x DVD", 9.5e6))
DISC_ACCESS = 0.1
TARGET_CD24_SECONDS = 6.5


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
    # The Windows build puts every program in its top folder.
    floor = os.path.join(build, "bench_text_window.exe")
    for path in (program, floor):
        if not os.path.isfile(path):
            sys.exit("run_bench_windows: %s is not built (make bench-windows builds it)" % path)
    wine_run = os.path.join(here, "..", "tests", "windows", "wine-run.sh")
    prefix = os.path.join(build, "wine-prefix")

    lines = []
    program_bytes = os.path.getsize(program)
    floor_bytes = os.path.getsize(floor)
    extra = program_bytes - floor_bytes
    lines.append("Disc footprint (everything but the project and the movies):")
    lines.append("  %-40s %12s bytes (%.1f MB)" % ("text window, the floor", format(floor_bytes, ","), floor_bytes / 2**20))
    lines.append("  %-40s %12s bytes (%.1f MB)  target <= 9 MB: %s"
                 % ("Vidorun.exe", format(program_bytes, ","), program_bytes / 2**20,
                    "met" if program_bytes <= TARGET_SIZE else "NOT met"))
    lines.append("  %-40s %12s bytes (%.2f MB)  target <= 1 MB: %s"
                 % ("  above the floor", format(extra, ","), extra / 2**20,
                    "met" if extra <= TARGET_EXTRA_BYTES else "NOT met"))

    lines.append("Reading Vidorun.exe from the disc, on paper (%.1f s access, then the inner tracks):" % DISC_ACCESS)
    for medium, rate in DISC_READS:
        seconds = DISC_ACCESS + program_bytes / rate
        target = ""
        if medium == "24x CD":
            target = "  target < %.1f s: %s" % (TARGET_CD24_SECONDS, "met" if seconds < TARGET_CD24_SECONDS else "NOT met")
        lines.append("  %-40s %8.1f s   (floor %.1f s)%s"
                     % ("%s, %.2f MB/s" % (medium, rate / 1e6), seconds, DISC_ACCESS + floor_bytes / rate, target))
    minutes = qt_build_minutes(build)
    if minutes is not None:
        lines.append("  %-40s %8d min  target <= %d: %s" % ("the Windows Qt's build, on this machine", minutes,
                     TARGET_QT_MINUTES, "met" if minutes <= TARGET_QT_MINUTES else "NOT met"))
    link = os.path.join(build, "Vidorun.map")
    if os.path.isfile(link):
        lines.append("What each library puts into Vidorun.exe (from the linker's map):")
        lines.extend(link_map.table(link, args.objects))

    xvfb = start_xvfb()
    if not xvfb:
        sys.exit("run_bench_windows: Xvfb is not installed or did not start")
    work = tempfile.mkdtemp(prefix="vidorun-bench-windows-")
    try:
        env = {k: v for k, v in os.environ.items() if not k.startswith("QT_")}
        env["VIDORUN_STARTUP_PROBE"] = "1"
        env["VIDORUN_WINE_DISPLAY"] = xvfb[1]
        # The program's window size, which the floor then gets too.
        sized = run_once([wine_run, prefix, program], disc, env, timeout=120)
        commands = (("program", [wine_run, prefix, program]),
                    ("floor", [wine_run, prefix, floor, sized["width"], sized["height"]]))
        load_before = load_average()
        print("measuring start-up under Wine: %d runs each ..." % args.runs, flush=True)
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
        xvfb[0].send_signal(signal.SIGTERM)
        xvfb[0].wait()
        shutil.rmtree(work, ignore_errors=True)
        subprocess.run(["wineserver", "-k"], env=dict(os.environ, WINEPREFIX=prefix),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    p_ms = [r["first_ms"] for r in result["program"]]
    f_ms = [r["first_ms"] for r in result["floor"]]
    ratio = statistics.median(p_ms) / statistics.median(f_ms)
    pairs = [a / b for a, b in zip(p_ms, f_ms)]
    lines.append("Start-up under Wine on Xvfb (window %sx%s), median of %d runs (spread):"
                 % (sized["width"], sized["height"], args.runs))
    lines.append("  %-40s %8.1f ms  (%s)" % ("text window, first frame", statistics.median(f_ms), spread_text(f_ms)))
    lines.append("  %-40s %8.1f ms  (%s)" % ("Vidorun.exe, first frame", statistics.median(p_ms), spread_text(p_ms)))
    lines.append("  %-40s %8.2f x   (run by run: median %.2f, %s)  target <= %.2f: %s"
                 % ("  ratio to the text window", ratio, statistics.median(pairs), spread_text(pairs, 2),
                    TARGET_TIME, "met" if ratio <= TARGET_TIME else "NOT met"))
    p_mb = [r["peak_mb"] for r in result["program"]]
    f_mb = [r["peak_mb"] for r in result["floor"]]
    lines.append("  %-40s %8.1f MB  (%s)" % ("text window, peak working set", statistics.median(f_mb), spread_text(f_mb)))
    lines.append("  %-40s %8.1f MB  (%s)" % ("Vidorun.exe, peak working set", statistics.median(p_mb), spread_text(p_mb)))

    print()
    print("Vidorun.exe benchmarks on %s, under %s" % (machine_text(), wine_version()))
    print("1-minute load average %.2f before, %.2f after" % (load_before, load_after))
    for line in lines:
        print(line)


def qt_build_minutes(build):
    """The minutes the Windows Qt this build uses took to build, as its build script noted them."""
    try:
        with open(os.path.join(build, ".windows-qt")) as marker:
            prefix = marker.read().strip()
        with open(os.path.join(prefix, "share", "vidorun", "qt-build-minutes")) as noted:
            return int(noted.read().strip())
    except (OSError, ValueError):
        return None


def wine_version():
    out = subprocess.run(["wine", "--version"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    return out.stdout.decode().strip() or "Wine"


if __name__ == "__main__":
    main()
