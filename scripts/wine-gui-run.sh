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

. "$here/private-display.sh"

status=0
"$here/wine-run.sh" --prefix="$prefix" "$@" || status=$?
exit "$status"
