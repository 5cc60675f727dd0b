#!/usr/bin/env bash
# Installs what a show needs (when missing), builds the programs and their parts (no tests, no
# benchmarks: scripts/test.sh builds those), and starts a show.
# With a display ($DISPLAY answers), the show runs there until you press Escape.
# Without one, it runs on a virtual 1920x1080 display with a small desktop on it, saves a few
# screenshots in screenshots/, then ends the show with Escape.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh show
bash scripts/build.sh build -DBUILD_TESTING=OFF -DQUORLANE_BENCH=OFF
bin="$root/build/bin"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "Starting a show on $DISPLAY; press Escape to end it."
  exec "$bin/Quorlane.scr" /s
fi

shots="$root/screenshots"
mkdir -p "$shots"
rm -f "$shots"/*.png
work=$(mktemp -d)
export XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"

fdfile="$work/display"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -noreset -nolisten tcp 3>"$fdfile" 2>/dev/null &
xvfb=$!
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 1 100); do [ -s "$fdfile" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$fdfile")"
echo "No display found: running on a virtual display $DISPLAY."

# A small desktop to capture: a patterned background and a few windows.
openbox >/dev/null 2>&1 & pids+=($!)
for _ in $(seq 1 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done
convert -size 1920x1080 gradient:'#1d4e89-#f4a259' \
  -fill '#ffffff' -pointsize 120 -gravity center -annotate +0-200 'Quorlane' \
  -fill '#ffe066' -draw 'circle 300,800 420,800' -fill '#3bb273' -draw 'rectangle 1400,650 1800,950' \
  "$work/desktop.png"
display -window root "$work/desktop.png" 2>/dev/null || true
xclock -geometry 300x300+80+80 >/dev/null 2>&1 & pids+=($!)
xlogo -geometry 250x250+1550+100 >/dev/null 2>&1 & pids+=($!)
sleep 1
import -window root "$shots/0-desktop.png"

"$bin/Quorlane.scr" /s 2>"$shots/show-stderr.log" &
show=$!
for i in 1 2 3; do
  sleep 3
  import -window root "$shots/$i-show.png"
done
renderer=$(xdotool search --name '^Torvane_VC$' | head -n1 || true)
if [ -n "$renderer" ]; then
  # The renderer ends on the key press; the release is sent on its own, since xdotool would
  # give up on the gone window and leave Escape held down (repeating) on the display.
  xdotool keydown --window "$renderer" Escape 2>/dev/null || true
  xdotool keyup Escape 2>/dev/null || true
fi
status=0
wait "$show" || status=$?
echo "The show ended (exit code $status). Screenshots:"
ls -1 "$shots"/*.png
exit $status
