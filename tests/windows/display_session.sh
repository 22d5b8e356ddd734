# shellcheck shell=bash
# Sourced by the Windows tests that run programs under Wine: the X display
# and the Wine session that a whole test run shares, in the run's prefix.
#
# shared_display PREFIX prints the display (":N"). The first caller starts
# it, under a lock beside the prefix: the prefix is made (once) before any
# display exists, so that nothing of Wine's first start shows, with Wine
# drawing the windows' captions and frames itself and handing no window to
# a window manager, as on Windows: Xvfb has none, and without Wine's own
# frames neither activation nor keys sent with SendInput behave as on
# Windows, while a window left to the manager that isn't there costs Wine a
# wait of up to two seconds at every show and hide; and a program that
# crashes ends at once with its backtrace. Then Xvfb, on a display
# number it chooses itself, and a wineserver that stays, whose desktop is on
# that display. PREFIX.display records the display and Xvfb's process; later
# callers check that it is still alive, and a record whose Xvfb is gone is
# ignored.
#
# stop_shared_display PREFIX ends the Wine session and Xvfb.
#
# Every command started under the lock gets it closed (9>&-): Xvfb, the
# wineserver and Wine's desktop outlive the caller and must not keep it.

_display_tools=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# The display of a record whose Xvfb still runs, or nothing.
_live_display() {
  local record=$1 number pid
  [ -s "$record" ] || return 0
  read -r number pid <"$record" || return 0
  [ -n "$number" ] && [ -n "$pid" ] || return 0
  [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ] || return 0
  [ -S "/tmp/.X11-unix/X$number" ] || return 0
  echo ":$number"
}

_start_shared_display() {
  local prefix=$1 record=$1.display number
  # Whatever ran in this prefix before ran on another display, or on none.
  WINEPREFIX=$prefix wineserver -k 9>&- 2>/dev/null || true
  local setting
  for setting in Decorated Managed; do
    "$_display_tools/wine-run.sh" "$prefix" reg add 'HKCU\Software\Wine\X11 Driver' \
      /v "$setting" /t REG_SZ /d N /f </dev/null >/dev/null 2>&1 9>&-
  done
  # A program that crashes ends with its backtrace on standard error, instead
  # of leaving Wine's crash dialog on the display for a user to answer.
  "$_display_tools/wine-run.sh" "$prefix" reg add 'HKCU\Software\Wine\WineDbg' \
    /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1 9>&-
  WINEPREFIX=$prefix wineserver -w 9>&-
  rm -f "$record.number"
  setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
    3>"$record.number" </dev/null >/dev/null 2>"$prefix.xvfb.log" 9>&- &
  local xvfb=$!
  for _ in $(seq 100); do [ -s "$record.number" ] && break; sleep 0.05; done
  number=$(cat "$record.number" 2>/dev/null || true)
  rm -f "$record.number"
  if [ -z "$number" ]; then
    echo "FAIL: Xvfb did not start:" >&2
    cat "$prefix.xvfb.log" >&2
    kill "$xvfb" 2>/dev/null || true
    return 1
  fi
  # The server stays until stop_shared_display, and so does the desktop:
  # Wine closes a desktop a second after its last program ends, and its
  # next program would start it anew, and wait for it to close again. A
  # command prompt that waits for a line that never comes keeps it; then
  # the desktop comes up on the display, before any test program starts.
  WINEPREFIX=$prefix wineserver -p </dev/null >/dev/null 2>&1 9>&-
  rm -f "$record.keeper"
  mkfifo "$record.keeper"
  VIDORUN_WINE_DISPLAY=:$number "$_display_tools/wine-run.sh" "$prefix" \
    cmd /c "set /p line=" <>"$record.keeper" >/dev/null 2>&1 9>&- &
  VIDORUN_WINE_DISPLAY=:$number "$_display_tools/wine-run.sh" "$prefix" \
    rundll32 user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 9>&- || true
  echo "$number $xvfb" >"$record"
}

shared_display() {
  local prefix=$1 display
  display=$(_live_display "$prefix.display")
  if [ -z "$display" ]; then
    mkdir -p "$(dirname "$prefix")"
    exec 9>"$prefix.display.lock"
    flock 9
    display=$(_live_display "$prefix.display")
    if [ -z "$display" ]; then
      _start_shared_display "$prefix" || { exec 9>&-; return 1; }
      display=$(_live_display "$prefix.display")
    fi
    exec 9>&-
  fi
  echo "$display"
}

stop_shared_display() {
  local prefix=$1 number pid
  mkdir -p "$(dirname "$prefix")"
  exec 9>"$prefix.display.lock"
  flock 9
  WINEPREFIX=$prefix wineserver -k 9>&- 2>/dev/null || true
  if [ -n "$(_live_display "$prefix.display")" ]; then
    read -r number pid <"$prefix.display"
    kill "$pid" 2>/dev/null || true
  fi
  rm -f "$prefix.display" "$prefix.display.keeper"
  exec 9>&-
}
