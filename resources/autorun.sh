#!/bin/sh
# Desktops that offer to run a disc's autorun.sh (after asking the viewer)
# start Vidorun's movie menu on this disc with it: GNOME as
# "/bin/sh /media/ann/HOLIDAY1/autorun.sh" or "/bin/sh autorun.sh" in the
# disc's root, Xfce by running it directly. It writes nothing, on the disc
# or anywhere else.

# The disc's root is this script's folder, whatever its name holds; "./"
# before a relative one keeps cd from looking it up in CDPATH.
case $0 in
    /*) root=${0%/*}/ ;;
    */*) root=./${0%/*}/ ;;
    *) root=./ ;;
esac
cd "$root" || exit 1
if command -v vidorun >/dev/null 2>&1; then
    exec vidorun .
fi

# No Vidorun on this computer: say so, and open the movies' folder, whose
# movies play in the desktop's own player.
message="The movie menu of this disc needs Vidorun, which is not installed on this computer (on Debian and Ubuntu: the package vidorun). The movies are in the folder MOVIES."
if command -v zenity >/dev/null 2>&1; then
    zenity --info --title=Vidorun --text="$message"
elif command -v kdialog >/dev/null 2>&1; then
    kdialog --title Vidorun --msgbox "$message"
elif command -v xmessage >/dev/null 2>&1; then
    xmessage -center "$message"
else
    echo "$message" >&2
fi
if [ -d MOVIES ] && command -v xdg-open >/dev/null 2>&1; then
    exec xdg-open "$PWD/MOVIES"
fi
