#!/usr/bin/env bash
# Takes the web page's pictures into packaging/page/ (commit them): a show over the small desktop
# of scripts/run-show.sh (on a virtual display), and the settings dialog, both scaled down and
# reduced to a few colours to stay small. Usage: take-pictures.sh   (run from anywhere)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

if [ "${1:-}" = "--dialog" ]; then
  # On the private display: open the dialog, wait until it stands still, take it, close it.
  out=$2
  "$root/build/bin/Quorlane.scr" /c &
  dialog=$!
  window=
  for _ in $(seq 1 200); do
    window=$(xdotool search --name '^<Quorlane>$' 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "take-pictures: no dialog" >&2; exit 1; }
  previous=
  for _ in $(seq 1 100); do  # the dialog zooms out of the pointer first
    geometry=$(xwininfo -id "$window" | grep -E 'Width|Height|Absolute' | tr -d ' \n')
    [ "$geometry" = "$previous" ] && break
    previous=$geometry
    sleep 0.2
  done
  import -window "$window" "$out"
  kill "$dialog"
  exit 0
fi

env -u DISPLAY bash "$root/scripts/run-show.sh" >/dev/null
# The third picture of the show, flown furthest into the maze.
convert "$root/screenshots/3-show.png" -resize 640x360 -colors 128 -strip "PNG8:$here/quorlane-show.png"
shot=$(mktemp --suffix=.png)
trap 'rm -f "$shot"' EXIT
XDG_CONFIG_HOME=$(mktemp -d) "$root/tests/support/run-with-xvfb.sh" --wm \
  bash "$here/take-pictures.sh" --dialog "$shot"
convert "$shot" -colors 64 -strip "PNG8:$here/quorlane-dialog.png"
ls -l "$here"/quorlane-*.png
