#!/usr/bin/env bash
# Opens the main window under a private Xvfb with a window manager (for the
# title bar and its icon) and writes a picture of it.
# usage: scripts/screenshot.sh PREVIEW_PROGRAM OUTPUT.png
set -euo pipefail
program=$1
output=$2

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display number and writes it to the pipe.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done

mkdir -p "$(dirname "$output")"
XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=xcb timeout 30 "$program" --screenshot "$output"
echo "wrote $output"
