#!/usr/bin/env bash
# Installs the Debian packages the project needs; does nothing when all are present.
# Usage: setup.sh [show]   (show: only what a first show needs, scripts/packages-show.txt;
# without it, everything the tests need too, scripts/packages.txt)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
lists=("$here/packages-show.txt")
[ "${1:-}" = show ] || lists+=("$here/packages.txt")
mapfile -t wanted < <(cat "${lists[@]}" | grep -v '^#' | grep -v '^$')
missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=
[ "$(id -u)" -ne 0 ] && sudo=sudo
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
