#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine, in a Wine prefix of the
# build's own, so that tests never touch the user's ~/.wine.
#   wine-run.sh --prefix=DIR PROGRAM.exe [ARGS...]
# The prefix is made on first use, under a lock, since CTest starts several
# tests at once.
set -euo pipefail

prefix=""
case "${1:-}" in
  --prefix=*) prefix=${1#--prefix=}; shift ;;
esac
[ -n "$prefix" ] || prefix=${WINEPREFIX:-$(pwd)/wine-prefix}
[ $# -ge 1 ] || { echo "usage: wine-run.sh [--prefix=DIR] PROGRAM.exe [ARGS...]" >&2; exit 2; }

export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko downloads, and no dialogs asking for them.
export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
wine=$(command -v wine || echo /usr/lib/wine/wine)

mkdir -p "$(dirname "$prefix")"
{
  flock 9
  if [ ! -f "$prefix/.identstrip-ready" ]; then
    rm -rf "$prefix"
    # Wine's own background processes inherit the descriptors of whoever
    # starts them; keep them off the test's output, or CTest waits on them.
    "$wine" wineboot --init </dev/null >/dev/null 2>&1 9>&-
    # Debian's Wine finds its own fonts ("MS Sans Serif" of the program's
    # window, Marlett of the caption buttons) only in the prefix's Fonts folder.
    if [ -d /usr/share/wine/fonts ]; then
      cp -n /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
    # Windows are placed and sized by the program alone, as on Windows.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 9>&-
    wineserver -w
    touch "$prefix/.identstrip-ready"
  fi
  # One long-lived server for the whole test run instead of one per program.
  # When it is new, the first program would start the session's background
  # processes (services, explorer) with its own output, and whoever reads
  # that output (CTest listing the tests) would wait for them to end; start
  # them here instead, away from it.
  # Neither may keep the lock's descriptor, or the lock would last as long.
  if wineserver -p60 </dev/null >/dev/null 2>&1 9>&-; then
    "$wine" wineboot </dev/null >/dev/null 2>&1 9>&- || true
  fi
} 9>"$prefix.lock"

exec "$wine" "$@"
