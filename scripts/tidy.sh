#!/usr/bin/env bash
# Runs clang-tidy with the checks in .clang-tidy over the programs' own sources (common,
# renderer, shell, fuzz, bench; not the tests, not generated files), through the
# compile_commands.json of a configured build tree (default: the plain build, build/).
# Prints what it finds; exit 1 if anything. Usage: tidy.sh [BUILD_DIR] [FILE_REGEX]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
tidy=$(command -v run-clang-tidy-14 || command -v run-clang-tidy || true)
[ -n "$tidy" ] || { echo "run-clang-tidy is missing (Debian package clang-tidy)" >&2; exit 2; }
[ -f "$build/compile_commands.json" ] || { echo "no $build/compile_commands.json" >&2; exit 2; }
files=${2:-"^$root/(common|renderer|shell|fuzz|bench)/.*\\.(c|cpp)\$"}
# Windows' sources are not in a Linux build's database, so they are never checked here. GCC's
# own warning options mean nothing to clang.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
status=0
"$tidy" -quiet -p "$build" -j "$(nproc)" -extra-arg=-Wno-unknown-warning-option "$files" >"$out" 2>/dev/null || status=$?
grep -v -e '^[0-9]* warnings\? generated\.$' -e '^Suppressed ' -e '^Use -header-filter' \
  -e '^clang-tidy-14 ' -e '^Running clang-tidy' "$out" || true
exit $status
