"""The publishing figures of `make bench`.

Folder: `vidorun --publish` of a two-label project of movies (real bytes,
not sparse files, which cp copies as holes) against `cp -r` of the same
project folder on the same disk. Image: writing the image of a disc folder
as `vidorun --publish --iso` does (bench_disc_image, which also times
libarchive's staging of the files apart from writing the image) against
`xorriso -as mkisofs -J -R` of the same folder. Memory: the peak of a whole
`vidorun --publish --iso` of a project with one movie of several GB.

Every run is timed to the end of a `sync` after it, so that what one command
leaves in the page cache to be written later counts against it; the two sides
run in turns. Only the Python standard library is used.
"""
import os
import shutil
import statistics
import subprocess
import time

MB = 1000 * 1000
CHUNK = 8 * 1024 * 1024


def fill(path, size, sparse=False):
    """A file of `size` bytes: random bytes (an 8 MiB pattern, varied per
    chunk), or, sparse, nothing but its size."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        if sparse:
            out.truncate(size)
            return
        pattern = bytearray(os.urandom(CHUNK))
        written = 0
        while written < size:
            pattern[0:8] = written.to_bytes(8, "little")
            piece = min(CHUNK, size - written)
            out.write(pattern[:piece])
            written += piece


def write_project(folder, movies):
    """Autorun.inf for `movies`, a list of (file name, label)."""
    lines = ["[autorun]", "OPEN=Vidorun.exe", "ICON=Vidorun.exe,0", "", "[vidorun]", "close=0",
             "the_title=Bench", "cover=", "player=", "codec="]
    for n, (name, label) in enumerate(movies, 1):
        lines += ["movie%02d=MOVIES\\%s" % (n, name), "title%02d=Movie %d" % (n, n), "mdisk%02d=%s" % (n, label)]
    with open(os.path.join(folder, "Autorun.inf"), "wb") as out:
        out.write(("\r\n".join(lines) + "\r\n").encode())


def run_timed(command):
    """Wall seconds of the command and a sync after it, and its peak memory in MB."""
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(process.pid, 0)
    process.returncode = os.waitstatus_to_exitcode(status)
    errors = process.stderr.read().decode(errors="replace")
    process.stderr.close()
    subprocess.run(["sync"], check=True)
    elapsed = time.perf_counter() - start
    if process.returncode not in (0, 1):
        raise RuntimeError("%s gave %d:\n%s" % (" ".join(command), process.returncode, errors))
    return elapsed, usage.ru_maxrss / 1024.0


def remove(path):
    if os.path.isdir(path):
        shutil.rmtree(path)
    elif os.path.exists(path):
        os.remove(path)
    subprocess.run(["sync"], check=True)


def median_line(label, seconds, data_bytes):
    return "  %-40s %8.2f s   (%.0f MB/s; range %.2f-%.2f)" % (
        label, statistics.median(seconds), data_bytes / MB / statistics.median(seconds), min(seconds), max(seconds))


def measure_folder(program, work, total_mb, runs, lines):
    source = os.path.join(work, "publish-project")
    movies = [("PART%d.AVI" % n, "BENCH1" if n <= 3 else "BENCH2") for n in range(1, 7)]
    for name, _ in movies:
        fill(os.path.join(source, "MOVIES", name), total_mb * MB // len(movies))
    write_project(source, movies)
    subprocess.run(["sync"], check=True)
    data = sum(os.path.getsize(os.path.join(source, "MOVIES", name)) for name, _ in movies)
    out = os.path.join(work, "publish-out")
    copy = os.path.join(work, "cp-out")
    published, copied, memory = [], [], []
    # A first run of each reads the project into the page cache.
    for run in range(runs + 1):
        seconds, peak = run_timed([program, "--publish", source, out, "--linux-only", "--quiet"])
        remove(out)
        cp_seconds, _ = run_timed(["cp", "-r", source, copy])
        remove(copy)
        if run > 0:
            published.append(seconds)
            copied.append(cp_seconds)
            memory.append(peak)
    ratio = statistics.median(published) / statistics.median(copied)
    lines.append("Publishing to a folder, 6 movies on 2 discs, %.0f MB in all, to the end of a sync, median of %d runs:"
                 % (data / MB, runs))
    lines.append(median_line("vidorun --publish (disc check included)", published, data))
    lines.append(median_line("cp -r of the project folder", copied, data))
    lines.append("  %-40s %8.2f x   target <= 1.10: %s" % ("ratio", ratio, "met" if ratio <= 1.10 else "NOT met"))
    lines.append("  %-40s %8.1f MB" % ("vidorun's peak memory", max(memory)))
    remove(source)


def measure_image(image_program, work, image_mb, runs, lines):
    if not shutil.which("xorriso"):
        lines.append("Disc image: skipped (xorriso is not installed)")
        return
    folder = os.path.join(work, "image-disc")
    for n in range(1, 8):
        fill(os.path.join(folder, "MOVIES", "PART%d.AVI" % n), image_mb * MB // 7)
    with open(os.path.join(folder, "Autorun.inf"), "wb") as out:
        out.write(b"[autorun]\r\nOPEN=Vidorun.exe\r\n")
    subprocess.run(["sync"], check=True)
    data = sum(os.path.getsize(os.path.join(folder, "MOVIES", n)) for n in os.listdir(os.path.join(folder, "MOVIES")))
    ours_image = os.path.join(work, "ours.iso")
    their_image = os.path.join(work, "xorriso.iso")
    ours, theirs, staging, writing = [], [], [], []
    sizes = ()
    for run in range(runs + 1):
        start = time.perf_counter()
        done = subprocess.run([image_program, folder, ours_image, "BENCH"], check=True, stdout=subprocess.PIPE)
        subprocess.run(["sync"], check=True)
        seconds = time.perf_counter() - start
        fields = dict(part.split("=") for part in done.stdout.decode().split())
        xorriso_seconds, _ = run_timed(["xorriso", "-as", "mkisofs", "-quiet", "-J", "-R", "-V", "BENCH",
                                        "-o", their_image, folder])
        sizes = (os.path.getsize(ours_image), os.path.getsize(their_image))
        remove(ours_image)
        remove(their_image)
        if run > 0:
            ours.append(seconds)
            theirs.append(xorriso_seconds)
            staging.append(int(fields["staging_ms"]) / 1000.0)
            writing.append(int(fields["writing_ms"]) / 1000.0)
    ratio = statistics.median(ours) / statistics.median(theirs)
    lines.append("Disc image of a %.0f MB folder, to the end of a sync, median of %d runs:" % (data / MB, runs))
    lines.append(median_line("libarchive, as vidorun --publish --iso", ours, data))
    lines.append("  %-40s %8.2f s staging the files, %.2f s writing the image"
                 % ("  of which", statistics.median(staging), statistics.median(writing)))
    lines.append(median_line("xorriso -as mkisofs -J -R", theirs, data))
    lines.append("  %-40s %8.2f x   target <= 1.10: %s" % ("ratio", ratio, "met" if ratio <= 1.10 else "NOT met"))
    lines.append("  %-40s %d bytes, xorriso's %d" % ("image size", sizes[0], sizes[1]))
    remove(folder)


def measure_big_movie(program, work, movie_gb, lines):
    source = os.path.join(work, "big-project")
    fill(os.path.join(source, "MOVIES", "BIG.AVI"), int(movie_gb * 1000) * MB, sparse=True)
    write_project(source, [("BIG.AVI", "BIG")])
    out = os.path.join(work, "big-out")
    seconds, peak = run_timed([program, "--publish", source, out, "--iso", "--linux-only", "--quiet"])
    lines.append("Peak memory, vidorun --publish --iso of one %.1f GB movie (a sparse file): %.1f MB, in %.1f s"
                 % (movie_gb, peak, seconds) + ("   target < 100 MB: %s" % ("met" if peak < 100 else "NOT met")))
    remove(out)
    remove(source)


def measure_publishing(program, image_program, work, args, lines):
    free_mb = shutil.disk_usage(work).free / MB
    needed_mb = max(2 * args.publish_mb, 3 * args.image_mb, 3 * args.big_movie_gb * 1000) * 1.1
    if free_mb < needed_mb:
        lines.append("Publishing: skipped (%.0f MB free beside %s, %.0f MB needed)" % (free_mb, work, needed_mb))
        return
    if args.publish_mb > 0:
        print("measuring publishing against cp -r: %d runs ..." % args.publish_runs, flush=True)
        measure_folder(program, work, args.publish_mb, args.publish_runs, lines)
    if args.image_mb > 0:
        print("measuring the disc image against xorriso: %d runs ..." % args.publish_runs, flush=True)
        measure_image(image_program, work, args.image_mb, args.publish_runs, lines)
    if args.big_movie_gb > 0:
        print("measuring publishing's memory on a %.1f GB movie ..." % args.big_movie_gb, flush=True)
        measure_big_movie(program, work, args.big_movie_gb, lines)
