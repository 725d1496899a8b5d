#!/usr/bin/env bash
# Opens identstrip.exe under Wine on a private Xvfb and writes a picture of
# its window, with the title bar, frame and caption buttons that Wine draws
# itself (the prefix lets no window manager place or frame the windows).
# usage: scripts/screenshot-windows.sh IDENTSTRIP.exe WINDOW_PROBE.exe WINE_PREFIX OUTPUT.png
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(realpath "$1")
probe=$(realpath "$2")
prefix=$(realpath -m "$3")
output=$(realpath -m "$4")
caption="Strip IDENTs from TXD/TXA"

. "$here/private-display.sh"

run() { "$here/wine-run.sh" --prefix="$prefix" "$@" </dev/null; }
(cd "$work" && run "$program" >"$work/program.log" 2>&1) &
# The window is ready once its input entry has the focus.
for _ in $(seq 600); do
  run "$probe" show "$caption" 2>/dev/null | grep -qP '^control\t102\t.*\t1\t1\t1\t' && break
  sleep 0.1
done
sleep 0.5
mkdir -p "$(dirname "$output")"
run "$probe" picture "$caption" "Z:${output//\//\\}"
echo "wrote $output"
