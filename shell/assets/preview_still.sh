#!/usr/bin/env bash
# Makes preview_still.jpg, the preview's 120 x 90 still: a picture of a planet in space is
# drawn here, the built renderer flies through the maze covered with it on a private 4:3
# virtual display, and one frame of the flight is grabbed and scaled down.
# Usage: shell/assets/preview_still.sh [BUILD_DIR]   (needs python3, ImageMagick, Xvfb, xwd)
# Env: AT_SECONDS (moment of the flight to grab, default 14; the flight is timed by the
# clock, so a busy machine may catch another moment), OUT (another file to write).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build}
renderer=$(cd "$build" && pwd)/bin/Quorlane.dll
work=$(mktemp -d)
trap 'kill "${renderer_pid:-}" "${xvfb_pid:-}" 2>/dev/null; rm -rf "$work"' EXIT

# The picture (preview_planet.py draws it).
mkdir -m 700 "$work/orvask"
python3 "$here/preview_planet.py" "$work/orvask/Torvane.bmp"

# The flight, on a display of its own.
Xvfb -displayfd 3 -screen 0 640x480x24 -noreset -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$work/display")"
XDG_RUNTIME_DIR=$work "$renderer" &
renderer_pid=$!
sleep "${AT_SECONDS:-14}"
xwd -root -silent > "$work/frame.xwd"
convert xwd:"$work/frame.xwd" -filter Box -resize '120x90!' -strip -quality 90 \
  -sampling-factor 1x1 "${OUT:-$here/preview_still.jpg}"
echo "wrote ${OUT:-$here/preview_still.jpg}"
