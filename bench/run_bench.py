#!/usr/bin/env python3
"""Vidorun's benchmarks, as one table.

Start-up: the wall time from starting the program in a disc folder (a 99-movie
project and a 3000 x 4000 JPEG cover) to its first painted frame, and the peak
memory by then, beside two yardstick Qt programs of the same window size: a
bare one that shows an empty window, and a text one whose window has a menu
bar and one line of text, so that the fonts count on both sides. All three
are measured in the same run, in turns, under the offscreen platform and
under a real X server (Xvfb, when it is installed).
Project file: reading and writing a 99-movie project, and reading 100 MB of
junk (Google Benchmark).
Disc check: `vidorun --check` on a disc of 99 movies in a tree of 5,000 files,
the whole command from start to exit, with no display.
Publishing: `vidorun --publish` against `cp -r`, its disc image against
xorriso, and its peak memory on a movie of several GB (publish_bench.py).

Each figure is the median of several runs, with its spread: the interquartile
range (the middle half of the runs) and the whole range. Only the Python
standard library is used.

  python3 bench/run_bench.py --build-dir build-bench [--runs 21]
"""
import argparse
import json
import os
import select
import shutil
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import time

import publish_bench

TARGET_TIME = {"offscreen": 1.5, "xcb": 1.25}
TARGET_MEMORY = 1.25
# Against the text window, which pays for the fonts as Vidorun does.
TARGET_TEXT = 1.10


def quartiles(values):
    values = sorted(values)
    if len(values) < 4:
        return values[0], values[-1]
    q = statistics.quantiles(values, n=4, method="inclusive")
    return q[0], q[2]


def spread_text(values, digits=1):
    q1, q3 = quartiles(values)
    f = "{:.%df}" % digits
    return "IQR " + f.format(q1) + "-" + f.format(q3) + ", range " + f.format(min(values)) + "-" + f.format(max(values))


def processor_text():
    """The processor and its cores."""
    cpu = "unknown processor"
    try:
        with open("/proc/cpuinfo") as info:
            for line in info:
                if line.startswith("model name"):
                    cpu = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    return "%s, %d cores" % (cpu, os.cpu_count())


def machine_text():
    """The processor, its cores and the Qt the programs run with, as far as known."""
    qt = ""
    if shutil.which("dpkg-query"):
        out = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "libqt6core6"],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        if out.returncode == 0 and out.stdout:
            qt = ", Qt " + out.stdout.decode().split("+")[0]
    return processor_text() + qt


def load_average():
    try:
        return os.getloadavg()[0]
    except OSError:
        return float("nan")


class ProbeFailed(Exception):
    pass


def read_line(stream, deadline):
    ready, _, _ = select.select([stream], [], [], max(0.0, deadline - time.monotonic()))
    return stream.readline().decode(errors="replace") if ready else ""


def run_once(command, cwd, env, timeout=60.0):
    """Starts the program and waits for its probe's two lines. Answers a dict:
    first_ms (wall time to the first frame), settled_ms (to the frame that
    shows all the window shows at start), first_peak_mb and peak_mb (peak
    memory by each of them, as the program read it), width, height."""
    errors = tempfile.TemporaryFile()
    start = time.perf_counter()
    process = subprocess.Popen(command, cwd=cwd, env=env, stdout=subprocess.PIPE,
                               stderr=errors, stdin=subprocess.DEVNULL)
    deadline = time.monotonic() + timeout
    first = read_line(process.stdout, deadline)
    first_at = time.perf_counter()
    settled = read_line(process.stdout, deadline) if first.startswith("first-frame") else ""
    settled_at = time.perf_counter()
    if not settled.startswith("settled-frame"):
        process.kill()
        process.wait()
        errors.seek(0)
        raise ProbeFailed("%s gave no first frame:\n%s%s%s" % (command[0], first, settled,
                                                               errors.read().decode(errors="replace")))
    errors.close()
    process.wait()
    process.stdout.close()
    fields = dict(part.split("=", 1) for part in first.split()[1:])
    settled_fields = dict(part.split("=", 1) for part in settled.split()[1:])
    return {
        "first_ms": (first_at - start) * 1000.0,
        "settled_ms": (settled_at - start) * 1000.0,
        "first_peak_mb": int(fields["peak_kb"]) / 1024.0,
        "peak_mb": int(settled_fields["peak_kb"]) / 1024.0,
        "width": fields["width"],
        "height": fields["height"],
    }


def start_xvfb():
    """Starts Xvfb on a free display; answers (process, display) or None."""
    xvfb = shutil.which("Xvfb")
    if not xvfb:
        return None
    for number in range(140 + os.getpid() % 50, 400):
        if os.path.exists("/tmp/.X%d-lock" % number) or os.path.exists("/tmp/.X11-unix/X%d" % number):
            continue
        process = subprocess.Popen([xvfb, ":%d" % number, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        give_up = time.monotonic() + 20
        while time.monotonic() < give_up and process.poll() is None:
            try:
                with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as probe:
                    probe.connect("/tmp/.X11-unix/X%d" % number)
                return process, ":%d" % number
            except OSError:
                time.sleep(0.05)
        # Taken meanwhile, or the server would not start: try the next one.
        if process.poll() is None:
            process.kill()
        process.wait()
    return None


def startup_env(platform, display, runtime_dir):
    env = {k: v for k, v in os.environ.items()
           if not k.startswith("QT_") and k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    env["QT_QPA_PLATFORM"] = platform
    env["VIDORUN_STARTUP_PROBE"] = "1"
    env["XDG_RUNTIME_DIR"] = runtime_dir
    if display:
        env["DISPLAY"] = display
    return env


def measure_startup(program, yardsticks, disc, platform, display, runtime_dir, runs, warmups):
    env = startup_env(platform, display, runtime_dir)
    # The yardsticks get the program's window size, which the probe reports.
    sized = run_once([program], disc, env)
    commands = [("program", [program])] + [(name, [path, sized["width"], sized["height"]])
                                           for name, path in yardsticks]
    for _ in range(warmups):
        for _, command in commands:
            run_once(command, disc, env)
    result = {name: [] for name, _ in commands}
    # In turns, so that whatever else the machine does falls on all alike.
    for _ in range(runs):
        for name, command in commands:
            result[name].append(run_once(command, disc, env))
    result["size"] = (sized["width"], sized["height"])
    return result


def run_google_benchmarks(binary, repetitions):
    """Runs the project file benchmarks; answers, per benchmark, the list of
    its repetitions (Google Benchmark's JSON entries)."""
    out = subprocess.run([binary, "--benchmark_format=json", "--benchmark_repetitions=%d" % repetitions],
                         check=True, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    runs = {}
    for b in json.loads(out.stdout)["benchmarks"]:
        if b.get("run_type", "iteration") == "iteration":
            runs.setdefault(b.get("run_name", b["name"]), []).append(b)
    return runs


def print_startup(platform_label, platform, result, lines):
    prog = result["program"]
    floors = (("bare", "bare window", TARGET_TIME[platform], TARGET_MEMORY),
              ("text", "text window", TARGET_TEXT, TARGET_TEXT))

    def column(runs, key):
        return [r[key] for r in runs]

    def verdict(ratio, target):
        return "met" if ratio <= target else "NOT met"

    lines.append("Start-up, %s (window %sx%s), median of %d runs (spread):"
                 % (platform_label, result["size"][0], result["size"][1], len(prog)))
    for name, label, _, _ in floors:
        f_ms = column(result[name], "first_ms")
        lines.append("  %-40s %8.1f ms  (%s)" % (label + ", first frame", statistics.median(f_ms), spread_text(f_ms)))
    for key, label in (("first_ms", "Vidorun, first frame"), ("settled_ms", "Vidorun, frame with the cover")):
        p_ms = column(prog, key)
        lines.append("  %-40s %8.1f ms  (%s)" % (label, statistics.median(p_ms), spread_text(p_ms)))
        for name, floor_label, time_target, _ in floors:
            f_ms = column(result[name], "first_ms")
            ratio = statistics.median(p_ms) / statistics.median(f_ms)
            pairs = [a / b for a, b in zip(p_ms, f_ms)]
            lines.append("  %-40s %8.2f x   (run by run: median %.2f, %s)%s"
                         % ("  ratio to the " + floor_label, ratio, statistics.median(pairs), spread_text(pairs, 2),
                            "  target <= %.2f: %s" % (time_target, verdict(ratio, time_target))
                            if key == "first_ms" else ""))
    p_mb = column(prog, "peak_mb")
    for name, label, _, _ in floors:
        f_mb = column(result[name], "peak_mb")
        lines.append("  %-40s %8.1f MB  (%s)" % (label + ", peak memory", statistics.median(f_mb), spread_text(f_mb)))
    f_mb = column(prog, "first_peak_mb")
    lines.append("  %-40s %8.1f MB  (%s)" % ("Vidorun, peak memory at the first frame", statistics.median(f_mb), spread_text(f_mb)))
    lines.append("  %-40s %8.1f MB  (%s)" % ("Vidorun, peak memory with the cover", statistics.median(p_mb), spread_text(p_mb)))
    # The yardsticks have no cover: at the first frame the three are at the
    # same point; the cover's decoding comes on top of that.
    for name, floor_label, _, memory_target in floors:
        floor_mb = statistics.median(column(result[name], "peak_mb"))
        first_ratio = statistics.median(f_mb) / floor_mb
        mem_ratio = statistics.median(p_mb) / floor_mb
        lines.append("  %-40s %8.2f x at the first frame, %.2f x with the cover   target <= %.2f: %s"
                     % ("  ratio to the " + floor_label, first_ratio, mem_ratio, memory_target,
                        verdict(mem_ratio, memory_target)))


def measure_check(program, disc, runs, warmups):
    """Wall time of `vidorun --check DISC` and, for the program's own start,
    of `vidorun --version`, each from start to exit; answers the two lists
    of milliseconds and the report's totals line."""
    env = {k: v for k, v in os.environ.items()
           if not k.startswith("QT_") and k not in ("DISPLAY", "WAYLAND_DISPLAY")}

    def once(command):
        start = time.perf_counter()
        done = subprocess.run(command, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        elapsed = (time.perf_counter() - start) * 1000.0
        if done.returncode not in (0, 1):
            raise ProbeFailed("%s gave %d:\n%s" % (" ".join(command), done.returncode,
                                                     done.stderr.decode(errors="replace")))
        return elapsed, done.stdout.decode(errors="replace")

    check = [program, "--check", disc]
    version = [program, "--version"]
    for _ in range(warmups):
        once(check)
        once(version)
    result = {"check": [], "version": []}
    for _ in range(runs):
        result["check"].append(once(check)[0])
        result["version"].append(once(version)[0])
    totals = [line for line in once(check)[1].splitlines() if line.startswith("ok ")]
    result["totals"] = totals[0] if totals else "(no totals line)"
    return result


def print_check(files, result, lines):
    check = result["check"]
    version = result["version"]
    lines.append("Disc check, 99 movies in a tree of %d files, no display, median of %d runs (spread):"
                 % (files, len(check)))
    lines.append("  %-40s %8.1f ms  (%s)" % ("vidorun --check, start to exit", statistics.median(check),
                                              spread_text(check)))
    lines.append("  %-40s %8.1f ms  (%s)" % ("vidorun --version, start to exit", statistics.median(version),
                                              spread_text(version)))
    lines.append("  its totals: %s" % result["totals"][8:])


JUNK_MB = 100.0  # the junk files' size in MB (10^6 bytes)


def print_google(results, repetitions, lines):
    lines.append("Project file (Google Benchmark), median of %d repetitions (range):" % repetitions)
    rows = [
        ("BM_ReadProject99", "read a 99-movie project"),
        ("BM_WriteProject99Compose", "compose a 99-movie project"),
        ("BM_WriteProject99Save", "compose and save it whole (fsync)"),
        ("BM_ReadJunk100MB", "read 100 MB of junk"),
        ("BM_ReadJunk100MBOneLine", "read 100 MB, one endless line"),
    ]
    to_seconds = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    for name, label in rows:
        runs = results.get(name)
        if not runs:
            lines.append("  %-40s (missing)" % label)
            continue
        unit = runs[0].get("time_unit", "ns")
        seconds = [r["real_time"] * to_seconds[r.get("time_unit", unit)] for r in runs]
        if name.startswith("BM_ReadJunk"):
            # Throughput from wall time: the reader's own speed, file in the page cache.
            mbps = [JUNK_MB / t for t in seconds]
            growth = max(r.get("peak_growth_kB", 0) for r in runs)
            resident = max(r.get("peak_resident_MB", 0) for r in runs)
            lines.append("  %-40s %8.0f MB/s (%.0f-%.0f), %.0f ms each"
                         % (label, statistics.median(mbps), min(mbps), max(mbps), statistics.median(seconds) * 1e3))
            lines.append("  %-40s   the benchmark's peak memory: %.1f MB; the reading added %.0f kB"
                         % ("", resident, growth))
        else:
            shown = [t / to_seconds[unit] for t in seconds]
            lines.append("  %-40s %8.1f %s  (%.1f-%.1f)" % (label, statistics.median(shown), unit,
                                                          min(shown), max(shown)))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build-dir", default=os.path.join(here, "..", "build-bench"))
    parser.add_argument("--runs", type=int, default=21, help="start-up runs of each program per platform")
    parser.add_argument("--warmups", type=int, default=2)
    parser.add_argument("--repetitions", type=int, default=7, help="Google Benchmark repetitions")
    parser.add_argument("--platforms", default="offscreen,xcb")
    parser.add_argument("--skip-project-file", action="store_true")
    parser.add_argument("--check-files", type=int, default=5000,
                        help="files on the disc the disc check is measured on (0: no disc check)")
    parser.add_argument("--publish-mb", type=int, default=3000,
                        help="MB of movies published against cp -r (0: not measured)")
    parser.add_argument("--image-mb", type=int, default=700,
                        help="MB of the folder whose image is written against xorriso (0: not measured)")
    parser.add_argument("--big-movie-gb", type=float, default=4.0,
                        help="GB of the movie publishing's peak memory is measured on (0: not measured)")
    parser.add_argument("--publish-runs", type=int, default=3)
    parser.add_argument("--wait-quiet", type=float, default=0,
                        help="wait up to this many minutes for the 1-minute load average to drop below --quiet-load")
    parser.add_argument("--quiet-load", type=float, default=1.0)
    args = parser.parse_args()

    build = os.path.abspath(args.build_dir)
    program = os.path.join(build, "vidorun")
    bare = os.path.join(build, "bench", "bench_bare_window")
    text = os.path.join(build, "bench", "bench_text_window")
    make_disc = os.path.join(build, "bench", "bench_make_disc")
    project_bench = os.path.join(build, "bench", "bench_project_file")
    image_bench = os.path.join(build, "bench", "bench_disc_image")
    for path in (program, bare, text, make_disc, project_bench, image_bench):
        if not os.access(path, os.X_OK):
            sys.exit("run_bench: %s is not built (make bench builds it)" % path)

    deadline = time.time() + args.wait_quiet * 60
    while load_average() >= args.quiet_load and time.time() < deadline:
        print("waiting for a quiet machine: load %.2f" % load_average(), flush=True)
        time.sleep(30)

    work = tempfile.mkdtemp(prefix="vidorun-bench-")
    xvfb = None
    try:
        disc = os.path.join(work, "disc")
        runtime_dir = os.path.join(work, "runtime")
        os.mkdir(runtime_dir, 0o700)
        subprocess.run([make_disc, disc], check=True)

        load_before = load_average()
        lines = []
        labels = {"offscreen": "offscreen platform", "xcb": "Xvfb"}
        for platform in [p for p in args.platforms.split(",") if p]:
            display = None
            if platform == "xcb":
                xvfb = start_xvfb()
                if not xvfb:
                    lines.append("Start-up, Xvfb: skipped (Xvfb is not installed or did not start)")
                    continue
                display = xvfb[1]
            print("measuring start-up, %s: %d runs each ..." % (labels[platform], args.runs), flush=True)
            result = measure_startup(program, (("bare", bare), ("text", text)), disc, platform, display,
                                     runtime_dir, args.runs, args.warmups)
            print_startup(labels[platform], platform, result, lines)
            if xvfb:
                xvfb[0].send_signal(signal.SIGTERM)
                xvfb[0].wait()
                xvfb = None

        if not args.skip_project_file:
            print("measuring the project file: %d repetitions ..." % args.repetitions, flush=True)
            print_google(run_google_benchmarks(project_bench, args.repetitions), args.repetitions, lines)

        if args.check_files > 0:
            check_disc = os.path.join(work, "check-disc")
            subprocess.run([make_disc, check_disc, "--files", str(args.check_files)], check=True)
            print("measuring the disc check: %d runs ..." % args.runs, flush=True)
            print_check(args.check_files, measure_check(program, check_disc, args.runs, args.warmups), lines)
        publish_bench.measure_publishing(program, image_bench, work, args, lines)
        load_after = load_average()

        print()
        print("Vidorun benchmarks on %s" % machine_text())
        print("1-minute load average %.2f before, %.2f after" % (load_before, load_after))
        for line in lines:
            print(line)
    finally:
        if xvfb:
            xvfb[0].kill()
            xvfb[0].wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
