#!/usr/bin/env bash
# A show in a Wayland session beside the same show in an X session, in one run, at 1280x800:
#   - from `Quorlane.scr /s` to the renderer's first frame swapped, in a headless sway session
#     with XWayland (tests/support/sway-session.sh) and on a private Xvfb with openbox; the aim
#     is the Wayland show within 1.25 times the X show's figure;
#   - the capture's own time each way a Wayland session offers: the compositor's screen copy,
#     and the desktop portal's screenshot with its file read and decoded;
#   - the same first frame in a headless GNOME session (tests/support/gnome-session.sh), with
#     screenshots allowed (through GNOME's portal) and not allowed (no capture at all).
# The first frame is timed by the swap probe (bench/swap_probe.c) preloaded into the programs.
# Usage: bench/wayland.sh [BUILD_DIR]   (default: build in the source tree)
# Env: LAUNCHES (default 5).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

median() { sort -n | awk '{ a[NR] = $1 } END { if (NR) print a[int((NR + 1) / 2)] }'; }

# Shows one after another on the display this runs on; prints each one's first frame in ms.
# $2 ends the show whose renderer runs: a command that presses Escape.
first_frames() {
  local build=$1 press=$2 work out shell
  work=$(mktemp -d)
  out=$work/out
  for _ in $(seq 1 "${LAUNCHES:-5}"); do
    rm -f "$out"
    QUORLANE_BENCH_OUT=$out QUORLANE_BENCH_WARMUP=1000000000 QUORLANE_BENCH_FRAMES=1000000000 \
      LD_PRELOAD=$build/bench/swap_probe.so QUORLANE_BENCH_T0_NS=$(date +%s%N) \
      SDL_AUDIODRIVER=dummy "$build/bin/Quorlane.scr" /s 2>>"$work/err" &
    shell=$!
    for _ in $(seq 1 1200); do
      grep -q first_swap_ms "$out" 2>/dev/null && break
      sleep 0.025
    done
    awk '$1 == "first_swap_ms" { printf "%.0f\n", $2 }' "$out" 2>/dev/null || true
    for _ in $(seq 1 100); do
      kill -0 "$shell" 2>/dev/null || break
      $press >/dev/null 2>&1 || true
      sleep 0.1
    done
    wait "$shell" || true
  done
  if [ -s "$work/err" ]; then sed 's/^/  (stderr) /' "$work/err" >&2; fi
  rm -rf "$work"
}

# Inside a session: BUILD_DIR and the launches, which the sessions' clean environments drop.
if [[ ${1:-} == --in-* ]]; then export LAUNCHES=$3; fi
case "${1:-}" in
--in-x)
  build=$2
  export XDG_RUNTIME_DIR
  XDG_RUNTIME_DIR=$(mktemp -d)
  first_frames "$build" "xdotool key Escape" | median
  rm -rf "$XDG_RUNTIME_DIR"
  exit 0
  ;;
--in-sway)
  build=$2
  first_frames "$build" "wtype -k Escape" | median
  "$build/bench/wayland_capture_bench"
  exit 0
  ;;
--in-gnome)
  build=$2
  . "$root/tests/support/gnome-permission.sh"
  . "$root/tests/support/gnome-keyboard.sh"
  allow_screenshots && allowed_screenshots || { echo "cannot store GNOME's yes" >&2; exit 1; }
  first_frames "$build" "press_keys Escape" | median
  forget_screenshots
  first_frames "$build" "press_keys Escape" | median
  exit 0
  ;;
esac

build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build" --target quorlane_shell quorlane_renderer quorlane_wayland_module \
  swap_probe wayland_capture_bench -j"$(nproc)" >/dev/null
x=$(QUORLANE_XVFB_SCREEN=1280x800x24 "$root/tests/support/run-with-xvfb.sh" --wm \
  bash "$0" --in-x "$build" "${LAUNCHES:-5}")
echo "X session (Xvfb, openbox): /s to the first frame, median of ${LAUNCHES:-5}: $x ms"
wayland=$("$root/tests/support/sway-session.sh" --outputs 1280x800 -- bash "$0" --in-sway "$build" "${LAUNCHES:-5}")
w=$(head -n1 <<<"$wayland")
echo "Wayland session (headless sway, XWayland): /s to the first frame, median: $w ms"
tail -n +2 <<<"$wayland"
awk -v w="$w" -v x="$x" 'BEGIN { if (x > 0) printf "Wayland over X: %.2f (aim: at most 1.25)\n", w / x }'
# GNOME Shell's session needs root (a private system bus); it draws in software, so its figures
# say what a show costs there, not what a GNOME user with a GPU sees.
if gnome=$("$root/tests/support/gnome-session.sh" --monitors 1280x800 -- \
  bash "$0" --in-gnome "$build" "${LAUNCHES:-5}" 2>/dev/null); then
  # The session's own lines first; the two medians last.
  allowed=$(tail -n 2 <<<"$gnome" | head -n 1) refused=$(tail -n 1 <<<"$gnome")
  echo "GNOME session (headless GNOME Shell, XWayland), screenshots allowed: /s to the first frame, median: $allowed ms"
  echo "GNOME session, screenshots not allowed (the built-in picture): /s to the first frame, median: $refused ms"
  awk -v g="$allowed" -v x="$x" 'BEGIN { if (x > 0 && g > 0) printf "GNOME (allowed) over X: %.2f\n", g / x }'
else
  echo "GNOME session: not measured here (it needs root, GNOME Shell and its portal)"
fi
