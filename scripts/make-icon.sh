#!/usr/bin/env bash
# Renders the application icon ui/pictures/identstrip.svg into the Windows
# icon ui/pictures/identstrip.ico (16 to 48 pixels, and 256 for large views).
# The .ico is committed, so the build needs neither tool; run this after
# changing the picture. Needs librsvg2-bin and icoutils.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
for tool in rsvg-convert icotool; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: apt-get install librsvg2-bin icoutils" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for side in 16 24 32 48 256; do
  rsvg-convert -w "$side" -h "$side" "$here/ui/pictures/identstrip.svg" -o "$work/$side.png"
done
icotool -c -o "$here/ui/pictures/identstrip.ico" "$work"/{16,24,32,48}.png -r "$work/256.png"
echo "wrote ui/pictures/identstrip.ico"
