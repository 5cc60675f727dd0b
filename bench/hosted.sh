#!/usr/bin/env bash
# A show in a framework's window beside a show of its own, at 1920x1080 on a private Xvfb with
# a window manager, in one run, launches alternating:
#   - from the shell's start to the first frame swapped in the window (`Quorlane.scr -root`:
#     the root window, as a framework without its own window gives it) and, beside it, from
#     `Quorlane.scr /s` to the renderer's first frame;
#   - the renderer's CPU time per frame (all its threads, llvmpipe's too) over 150 frames
#     after 30, and the wall time per frame, for both.
# The frames are timed by the swap probe (bench/swap_probe.c) preloaded into both programs.
# Usage: bench/hosted.sh [BUILD_DIR]   (default: build-bench in the source tree)
# Env: LAUNCHES (each kind, default 3)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = "--inside" ]; then
  build=$2
  probe=$build/bench/swap_probe.so
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  export XDG_RUNTIME_DIR=$work/run SDL_AUDIODRIVER=dummy
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  median() { sort -n | awk '{ a[NR] = $1 } END { if (NR) print a[int((NR + 1) / 2)] }'; }
  value() { awk -v k="$1" '$1 == k { printf "%.1f", $2 }' "$work/out" 2>/dev/null; }
  declare -A first cpu wall
  for launch in $(seq 1 "${LAUNCHES:-3}"); do
    for kind in hosted show; do
      # A desktop of two colours, so that the hosted show has a picture to take from the root.
      xsetroot -mod 16 16 -fg '#3366cc' -bg '#cc6633'
      args=(/s)
      [ "$kind" = hosted ] && args=(-root)
      rm -f "$work/out"
      QUORLANE_BENCH_OUT=$work/out LD_PRELOAD=$probe QUORLANE_BENCH_T0_NS=$(date +%s%N) \
        "$build/bin/Quorlane.scr" "${args[@]}" 2>>"$work/stderr" &
      shell=$!
      # The probe ends the renderer after its frames; the shell then ends its show.
      for _ in $(seq 1 1200); do
        grep -q wall_ms_per_frame "$work/out" 2>/dev/null && break
        sleep 0.05
      done
      wait "$shell" || true
      first[$kind]+="$(value first_swap_ms) "
      cpu[$kind]+="$(value cpu_ms_per_frame) "
      wall[$kind]+="$(value wall_ms_per_frame) "
    done
  done
  for kind in hosted show; do
    label="Quorlane.scr /s   "
    [ "$kind" = hosted ] && label="Quorlane.scr -root"
    printf '%s start to first frame %s ms (median of: %s)\n' "$label" \
      "$(tr ' ' '\n' <<<"${first[$kind]}" | grep . | median)" "${first[$kind]}"
    printf '%s CPU per frame %s ms, wall per frame %s ms (medians of: %s/ %s)\n' "$label" \
      "$(tr ' ' '\n' <<<"${cpu[$kind]}" | grep . | median)" \
      "$(tr ' ' '\n' <<<"${wall[$kind]}" | grep . | median)" "${cpu[$kind]}" "${wall[$kind]}"
  done
  exit 0
fi

build=${1:-$root/build-bench}
if [ ! -x "$build/bin/Quorlane.scr" ] || [ ! -f "$build/bench/swap_probe.so" ]; then
  bash "$root/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=Release
fi
build=$(cd "$build" && pwd)
"$root/tests/support/run-with-xvfb.sh" --wm "$0" --inside "$build"
