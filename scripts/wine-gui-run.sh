#!/usr/bin/env bash
# Runs a Windows program that opens windows under Wine on a private Xvfb of
# its own, then ends that prefix's Wine processes and the X server, so that
# nothing of the run outlives it.
#   wine-gui-run.sh --prefix=DIR PROGRAM.exe [ARGS...]
# The prefix must be one that only GUI runs use, one at a time: its Wine
# processes are bound to this run's display.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
case "${1:-}" in
  --prefix=*) prefix=${1#--prefix=}; shift ;;
  *) echo "usage: wine-gui-run.sh --prefix=DIR PROGRAM.exe [ARGS...]" >&2; exit 2 ;;
esac
# Wine takes only an absolute prefix.
prefix=$(realpath -m "$prefix")

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
status=0
"$here/wine-run.sh" --prefix="$prefix" "$@" || status=$?
exit "$status"
