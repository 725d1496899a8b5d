# Sourced by the scripts that open Wine windows: starts a private Xvfb on a
# free display for this run and, when the script exits, ends the Wine
# processes of PREFIX (bound to that display) and the X server.
#   prefix=DIR; . private-display.sh   -> DISPLAY set, $work a scratch folder
work=$(mktemp -d)
xvfb=""
cleanup() {
  WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
  [ -z "$xvfb" ] || { kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; }
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display number and writes it to the pipe.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
unset WAYLAND_DISPLAY

# A server left from an earlier run would still speak to its own display.
WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
