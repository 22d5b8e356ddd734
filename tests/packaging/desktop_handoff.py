#!/usr/bin/python3
# A disc reaches Vidorun through GIO, as the desktops' file managers hand it
# over: a root with AUTORUN.INF is Windows software, Vidorun's menu entry is
# among the applications for it (and not for UNIX software, which the disc's
# autorun.sh answers), and launched on the disc it gets the disc's root as
# one argument. Runs with a data folder of its own, holding only the menu
# entry, its MIME cache and this machine's MIME database.
#   desktop_handoff.py DESKTOP_ENTRY
# Debian's own python3, where python3-gi puts the gi module; exits with 77
# (skipped) without it, shared-mime-info's database or desktop-file-utils.
import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIPPED = 77
MIME_DATABASE = "/usr/share/mime"

# A stand-in vidorun: writes its arguments, each ended by a NUL, aside and
# then renames the record into place.
STAND_IN = """#!/bin/sh
for argument in "$@"; do printf '%s\\0' "$argument"; done > "${0%/*}/../record.part"
mv "${0%/*}/../record.part" "${0%/*}/../record"
"""


def main():
    entry = sys.argv[1]
    if not os.path.isfile(os.path.join(MIME_DATABASE, "treemagic")):
        print("SKIP: shared-mime-info's database is not installed", file=sys.stderr)
        return SKIPPED
    if not shutil.which("update-desktop-database"):
        print("SKIP: update-desktop-database (desktop-file-utils) is not installed", file=sys.stderr)
        return SKIPPED
    work = tempfile.mkdtemp(prefix="vidorun-desktop-")
    try:
        return check(entry, work)
    finally:
        shutil.rmtree(work)


def check(entry, work):
    data = os.path.join(work, "share")
    bin_folder = os.path.join(work, "bin")
    # Before GLib first reads them.
    os.environ.update(HOME=work, XDG_DATA_HOME=data, XDG_DATA_DIRS=data,
                      XDG_CONFIG_HOME=os.path.join(work, "config"), XDG_CONFIG_DIRS=os.path.join(work, "config"),
                      PATH=bin_folder + os.pathsep + os.environ.get("PATH", "/usr/bin:/bin"))
    os.makedirs(os.path.join(data, "applications"))
    shutil.copy(entry, os.path.join(data, "applications", "vidorun.desktop"))
    # GIO finds the applications for a type in this cache, which
    # desktop-file-utils' dpkg trigger makes when the package is installed.
    subprocess.run(["update-desktop-database", os.path.join(data, "applications")], check=True)
    os.symlink(MIME_DATABASE, os.path.join(data, "mime"))
    os.mkdir(bin_folder)
    with open(os.path.join(bin_folder, "vidorun"), "w") as stand_in:
        stand_in.write(STAND_IN)
    os.chmod(os.path.join(bin_folder, "vidorun"), 0o755)
    try:
        import gi
        gi.require_version("Gio", "2.0")
        from gi.repository import Gio
    except (ImportError, ValueError):
        print("SKIP: python3-gi and gir1.2-glib-2.0 are not installed", file=sys.stderr)
        return SKIPPED

    failures = []
    disc = os.path.join(work, "media", "ann", "A FRIEND'S DISC")
    os.makedirs(disc)
    open(os.path.join(disc, "AUTORUN.INF"), "w").close()
    types = Gio.content_type_guess_for_tree(Gio.File.new_for_path(disc))
    if "x-content/win32-software" not in types:
        failures.append("a root with AUTORUN.INF is guessed as %s, not x-content/win32-software" % types)

    def application_ids(content_type):
        return [info.get_id() for info in Gio.AppInfo.get_all_for_type(content_type)]

    if "vidorun.desktop" not in application_ids("x-content/win32-software"):
        failures.append("Vidorun is not among the applications for x-content/win32-software: %s"
                        % application_ids("x-content/win32-software"))
    if "vidorun.desktop" in application_ids("x-content/unix-software"):
        failures.append("Vidorun claims x-content/unix-software, which the disc's autorun.sh answers")

    vidorun = Gio.DesktopAppInfo.new("vidorun.desktop")
    # GLib hands a file even to an entry that takes none; other launchers
    # hand it only where the Exec line asks for a local path (%f).
    if not vidorun.supports_files():
        failures.append("the menu entry takes no file: Exec=%s" % vidorun.get_commandline())
    record = os.path.join(work, "record")
    vidorun.launch([Gio.File.new_for_path(disc)], None)
    deadline = time.monotonic() + 10
    while not os.path.exists(record) and time.monotonic() < deadline:
        time.sleep(0.05)
    if not os.path.exists(record):
        failures.append("launched on the disc, the stand-in vidorun never ran")
    else:
        with open(record, "rb") as recorded:
            arguments = recorded.read().split(b"\0")[:-1]
        if arguments != [os.fsencode(disc)]:
            failures.append("launched on the disc, vidorun got %s, not [%r]" % (arguments, disc))

    for failure in failures:
        print("FAIL: " + failure, file=sys.stderr)
    if failures:
        return 1
    print("the desktop hands a disc with AUTORUN.INF to vidorun as %s" % disc)
    return 0


if __name__ == "__main__":
    sys.exit(main())
