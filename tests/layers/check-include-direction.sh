#!/usr/bin/env bash
# Fails when an include between folders runs sideways or back up. Each folder stands on a
# floor; a file may include its own folder, common/ (and its adapters' subfolders), and
# folders of its own program on lower floors only; a platform subfolder (shell/dialog/win32) may
# include the folder it adapts. The floors are the map's: each row of the floor table in
# ARCHITECTURE.md reads "| N | `folder`[, `folder`...] | ...".
# Usage: check-include-direction.sh SOURCE_DIR
set -euo pipefail
root=$1
declare -A floor
while IFS='|' read -r _ number folders _; do
  for folder in $(grep -o '`[^`]*`' <<<"$folders" | tr -d '`'); do
    floor[$folder]=${number// /}
  done
done < <(grep -E '^\| [0-9]+ \| `' "$root/ARCHITECTURE.md")
[ "${#floor[@]}" -gt 0 ] || { echo "ARCHITECTURE.md has no floor table"; exit 1; }
status=0
files=0
for folder in "${!floor[@]}"; do
  for file in "$root/$folder"/*.cpp "$root/$folder"/*.h; do
    [ -f "$file" ] || continue
    files=$((files + 1))
    while IFS=: read -r line inc; do
      target=$(dirname "$inc")
      case $target in "$folder" | common | common/*) continue ;; esac
      # A platform's subfolder adapts its own folder's logic: it stands on that folder's floor.
      [ "$target" = "${folder%/*}" ] && [ "$folder" != "$target" ] && continue
      if [ -z "${floor[$target]:-}" ]; then
        echo "${file#"$root"/}:$line includes $inc, from a folder on no floor"
        status=1
      elif [ "${folder%%/*}" != "${target%%/*}" ] || [ "${floor[$target]}" -ge "${floor[$folder]}" ]; then
        echo "${file#"$root"/}:$line includes $inc: $folder (floor ${floor[$folder]}) may not include $target (floor ${floor[$target]})"
        status=1
      fi
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]+/[^"]+"' "$file" |
             sed -E 's/^([0-9]+):[^"]*"([^"]+)".*/\1:\2/')
  done
done
[ "$files" -gt 0 ] || { echo "no files were checked"; exit 1; }
[ "$status" = 0 ] && echo "$files files: every include between folders points down"
exit $status
