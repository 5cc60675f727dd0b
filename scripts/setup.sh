#!/usr/bin/env bash
# Installs the Debian packages the project needs; does nothing when all are present.
# Usage: setup.sh [show]   (show: only what a first show needs, scripts/packages-show.txt;
# without it, everything the tests need too, scripts/packages.txt, and the GNOME session of
# scripts/packages-gnome.txt without its recommends)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sudo=
[ "$(id -u)" -ne 0 ] && sudo=sudo
updated=

# Installs the packages of the lists given that are missing, with apt-get's options before.
# install_missing [apt-get options...] -- list...
install_missing() {
  local options=() missing=() wanted p
  while [ "$1" != -- ]; do options+=("$1"); shift; done
  shift
  mapfile -t wanted < <(cat "$@" | grep -v '^#' | grep -v '^$')
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  [ -n "$updated" ] || $sudo apt-get update -qq
  updated=1
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${options[@]}" "${missing[@]}"
}

if [ "${1:-}" = show ]; then
  install_missing -- "$here/packages-show.txt"
else
  install_missing -- "$here/packages-show.txt" "$here/packages.txt"
  install_missing --no-install-recommends -- "$here/packages-gnome.txt"
fi
