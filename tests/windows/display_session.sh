# Sourced by the Windows tests that need Wine on an X display of their own
# (a real dialog, the real program's window). A Wine session keeps the
# display its first program had, and the other tests' sessions have none: so
# these runs (which ctest runs alone) end the running session, start Xvfb and
# a session of their own, and end both afterwards.
# Needs $prefix, $here and $work; sets $xvfb and exports DISPLAY.
xvfb=
stop_wine() { WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; }
stop_display_session() {
  stop_wine
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
}
start_display_session() {
  # Makes the prefix (once) before the display exists, so that nothing of
  # Wine's first start shows.
  "$here/wine-run.sh" "$prefix" cmd /c exit 0 >/dev/null 2>&1 || true
  stop_wine
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "FAIL: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
  DISPLAY=:$(cat "$work/display")
  export DISPLAY
}
