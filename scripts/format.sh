#!/usr/bin/env bash
# Formats the project's C and C++ files with the style in .clang-format.
# Usage: format.sh          rewrite the files in place
#        format.sh --check  change nothing; list the files that are not formatted, exit 1 if any
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
format=$(command -v clang-format-14 || command -v clang-format || true)
[ -n "$format" ] || { echo "clang-format is missing (Debian package clang-format)" >&2; exit 2; }
mapfile -t files < <(git ls-files '*.c' '*.cpp' '*.h')
if [ "${1:-}" = "--check" ]; then
  status=0
  for f in "${files[@]}"; do
    "$format" --style=file --dry-run --Werror "$f" 2>/dev/null || { echo "$f"; status=1; }
  done
  exit $status
fi
"$format" --style=file -i "${files[@]}"
