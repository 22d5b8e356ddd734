"""What each library contributes to a Windows program, read from the GNU
linker's map of its link (-Wl,-Map): the bytes of every input section placed
in a file-backed output section, summed by the archive or object they came
from. Sections the link dropped (--gc-sections) are listed apart in the map
and not counted; .bss takes no room in the file and is not counted either.

  python3 bench/link_map.py build-windows/Vidorun.map [--objects 20]
"""
import argparse
import collections
import os
import re

# " .text  0x0000000140001000  0x1c4 /path/libQt6Core.a(qstring.cpp.obj)"
# or, when the section name is long, the name alone on one line and the rest
# on the next.
PLACED = re.compile(r"^ (\.\S+)?\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(\S.*)$")
SECTION_ONLY = re.compile(r"^ (\.\S+)$")
OUTPUT = re.compile(r"^(\.\S+)\s+0x[0-9a-f]+")
MEMBER = re.compile(r"^(.*?)\(([^()]*)\)$")

FILE_BACKED = (".text", ".data", ".rdata", ".pdata", ".xdata", ".rsrc", ".tls", ".CRT", ".idata", ".reloc",
               ".edata", ".eh_fram")


def library_name(path):
    """'libQt6Core.a' for /x/lib/libQt6Core.a(q.obj); the object's own name for a lone object."""
    match = MEMBER.match(path)
    if match:
        return os.path.basename(match.group(1)), match.group(2)
    return os.path.basename(path), os.path.basename(path)


def read_map(path):
    """(bytes by library, bytes by (library, object))"""
    by_library = collections.Counter()
    by_object = collections.Counter()
    in_memory_map = False
    output = None
    pending = None
    with open(path, errors="replace") as lines:
        for line in lines:
            line = line.rstrip("\n")
            if line.startswith("Linker script and memory map"):
                in_memory_map = True
                continue
            if not in_memory_map:
                continue
            out = OUTPUT.match(line)
            if out:
                output = out.group(1)
                continue
            if SECTION_ONLY.match(line):
                pending = line.strip()
                continue
            placed = PLACED.match(line)
            if placed and (placed.group(1) or pending):
                size = int(placed.group(2), 16)
                source = placed.group(3).strip()
                pending = None
                if not size or output is None or not output.startswith(FILE_BACKED):
                    continue
                if source.startswith("*") or "load address" in source:
                    continue
                library, obj = library_name(source)
                by_library[library] += size
                by_object[(library, obj)] += size
            else:
                pending = None
    return by_library, by_object


def shown_library(name):
    name = re.sub(r"^lib", "", name)
    name = re.sub(r"\.(a|obj|o)$", "", name)
    return name


def table(path, objects=0):
    by_library, by_object = read_map(path)
    total = sum(by_library.values())
    rows = ["  %-44s %10s  %5s" % ("library", "bytes", "share")]
    for library, size in by_library.most_common():
        if size < 20000:
            continue
        rows.append("  %-44s %10s  %4.1f %%" % (shown_library(library), format(size, ","), 100.0 * size / total))
    rest = sum(size for size in by_library.values() if size < 20000)
    rows.append("  %-44s %10s  %4.1f %%" % ("everything else (each under 20 kB)", format(rest, ","), 100.0 * rest / total))
    rows.append("  %-44s %10s" % ("placed in the file", format(total, ",")))
    if objects:
        rows.append("  largest objects:")
        for (library, obj), size in by_object.most_common(objects):
            rows.append("    %-42s %10s  (%s)" % (obj, format(size, ","), shown_library(library)))
    return rows


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("map")
    parser.add_argument("--objects", type=int, default=20)
    args = parser.parse_args()
    for row in table(args.map, args.objects):
        print(row)


if __name__ == "__main__":
    main()
