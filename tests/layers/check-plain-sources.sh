#!/usr/bin/env bash
# Fails when a logic library's sources include a platform header (Qt, X11, Wayland, SDL,
# libcdio, GL, Windows), directly or through a header of this tree they include. The logic
# stays plain C++ so it can be tested alone and built for another platform; only the adapters
# may include these.
# Usage: check-plain-sources.sh SOURCE_DIR LIST  (LIST: lines "target|folder|source;source...")
set -euo pipefail
root=$1
list=$2
windows='[Ww]indows\.h|win[a-z0-9]*\.h|shlobj\.h|shellapi\.h|mmsystem\.h|commdlg\.h|objbase\.h|ole2\.h|olectl\.h|ocidl\.h'
platform="^[[:space:]]*#[[:space:]]*include[[:space:]]*<(Q[A-Za-z]*|Qt[A-Za-z]*/|X11/|SDL|cdio/|GL/|EGL/|wayland-|systemd/|$windows)"
status=0
declare -A seen
# Prints every file of the tree that $1 reaches through quoted includes, $1 first.
reach() {
  local file=$1 inc
  [ -n "${seen[$file]:-}" ] && return
  seen[$file]=1
  echo "$file"
  while read -r inc; do
    [ -f "$root/$inc" ] && reach "$root/$inc"
  done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/p' "$file")
}
checked=0
while IFS='|' read -r target folder sources; do
  [ -n "$target" ] || continue
  seen=()
  IFS=';' read -ra files <<<"$sources"
  for f in "${files[@]}"; do
    case $f in /*) ;; *) f=$folder/$f ;; esac
    case $f in *.cpp|*.h) ;; *) continue ;; esac
    while read -r reached; do
      if hit=$(grep -nE "$platform" "$reached"); then
        echo "$target: ${reached#"$root"/} includes a platform header (reached from ${f#"$root"/}):"
        echo "$hit" | sed 's/^/    /'
        status=1
      fi
    done < <(reach "$f")
    checked=$((checked + 1))
  done
done <"$list"
[ "$checked" -gt 0 ] || { echo "no logic sources were listed"; exit 1; }
[ "$status" = 0 ] && echo "$checked logic sources include no platform header"
exit $status
