#!/usr/bin/env bash
# ARCHITECTURE.md is the one map of the source tree: fails when a path it names (in backticks,
# starting with a folder of the tree; `name.*` stands for a file's header and source) is
# not there, so the map cannot drift from the tree unnoticed.
# Usage: check-map.sh SOURCE_DIR
set -euo pipefail
root=$1
map=$root/ARCHITECTURE.md
status=0
named=0
while IFS= read -r path; do
  path=${path%% *}  # a command's arguments are not part of its path
  case $path in *'<'* | *'$'* | *'%'* | /*) continue ;; esac
  top=${path%%/*}
  [ "$top" != "$path" ] && [ -d "$root/$top" ] || continue
  named=$((named + 1))
  # shellcheck disable=SC2086  # the pattern is meant to be expanded
  matches=$(cd "$root" && compgen -G "${path%/}" || true)
  [ -n "$matches" ] || { echo "ARCHITECTURE.md names $path, which is not in the tree"; status=1; }
done < <(grep -o '`[^`]*`' "$map" | tr -d '`' | sort -u)
[ "$named" -gt 0 ] || { echo "ARCHITECTURE.md names no path"; exit 1; }
[ "$status" = 0 ] && echo "$named paths named in ARCHITECTURE.md, every one in the tree"
exit $status
