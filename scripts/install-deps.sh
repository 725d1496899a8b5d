#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the tools need,
# and only those that are missing. Each file in scripts/deps/ lists the
# packages of one area, one a line; '#' starts a comment.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

wanted=$(sed -e 's/#.*//' "$here"/deps/*.txt | tr -s ' \t' '\n' | sed '/^$/d' | sort -u)
missing=()
for pkg in $wanted; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
# Packages named with an architecture (wine32:i386) need it added before the
# package lists are fetched.
for arch in $(printf '%s\n' "${missing[@]}" | sed -n 's/.*:\([a-z0-9]*\)$/\1/p' | sort -u); do
  if [ "$arch" != "$(dpkg --print-architecture)" ] &&
     ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
    $sudo dpkg --add-architecture "$arch"
  fi
done
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
