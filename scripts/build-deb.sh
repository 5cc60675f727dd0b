#!/usr/bin/env bash
# Makes the Debian package (debian/) with dpkg-buildpackage, from a clean copy of the tree, so
# that the checkout's own build folders are neither used nor touched.
# Usage: build-deb.sh OUT_DIR   (OUT_DIR gets quorlane_*.deb, its .changes and .buildinfo)
# The compiler cache named in CMAKE_CXX_COMPILER_LAUNCHER, else ccache when it is installed, is
# used (debian/rules passes it on); its paths are made relative to the copy, which stays at the
# same place for one OUT_DIR, so one build's results serve the next.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)
rm -rf "$out/src" "$out"/quorlane_* "$out"/quorlane-dbgsym_*
mkdir -p "$out/src/quorlane"
# Every file git knows or would add, as it is in the working tree (changes included).
(cd "$root" && git ls-files -z --cached --others --exclude-standard --deduplicate |
  while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
  tar --null -T - -cf -) | tar -xf - -C "$out/src/quorlane"
if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
export CCACHE_BASEDIR=$out/src/quorlane
(cd "$out/src/quorlane" && dpkg-buildpackage -us -uc -b) >"$out/build.log" 2>&1 ||
  { tail -n 60 "$out/build.log" >&2; echo "build-deb: dpkg-buildpackage failed ($out/build.log)" >&2; exit 1; }
mv "$out"/src/quorlane_* "$out"/src/quorlane-dbgsym_* "$out"/ 2>/dev/null || true
rm -rf "$out/src"
ls -1 "$out"/quorlane_*.deb
