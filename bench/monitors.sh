#!/usr/bin/env bash
# Whole-show figures for one and for two monitors of 1280x1024 (two RandR monitors side by
# side on one 2560x1024 Xvfb screen), with a window manager:
#   - from `Quorlane.scr /s` to the first frame swapped on every monitor (the last
#     renderer's first frame);
#   - CPU milliseconds per frame of each renderer (all its threads, llvmpipe's too), and the
#     whole show's CPU per second of flight;
#   - resident memory of the shell and of every renderer during the show.
# Timed by the swap probe (bench/swap_probe.c) preloaded into the programs.
# Usage: bench/monitors.sh [BUILD_DIR]   (default: build-bench in the source tree)
# Env: LAUNCHES (default 3), FRAMES (default 150).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = "--inside" ]; then
  build=$2 monitors=$3
  probe=$build/bench/swap_probe.so
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  export XDG_RUNTIME_DIR=$work/run
  mkdir -m 700 -p "$XDG_RUNTIME_DIR"
  export SDL_AUDIODRIVER=dummy
  if [ "$monitors" -gt 1 ]; then
    for i in $(seq 0 $((monitors - 1))); do
      output=none
      [ "$i" = 0 ] && output=screen
      xrandr --setmonitor "B$i" "1280/338x1024/270+$((i * 1280))+0" "$output" >/dev/null
    done
  fi
  ticks=$(getconf CLK_TCK)
  cpuTicks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
  rssMb() { awk '/^VmRSS:/ { printf "%d", $2 / 1024 }' "/proc/$1/status"; }
  median() { sort -n | awk '{ a[NR] = $1 } END { if (NR) print a[int((NR + 1) / 2)] }'; }
  count() { awk -v k="$1" '$1 == k { n++ } END { print n + 0 }' "$work/out" 2>/dev/null || echo 0; }

  first=() perFrame=() showCpu=()
  for launch in $(seq 1 "${LAUNCHES:-3}"); do
    rm -f "$work/out"
    QUORLANE_BENCH_OUT=$work/out QUORLANE_BENCH_WARMUP=30 QUORLANE_BENCH_FRAMES=${FRAMES:-150} \
      QUORLANE_BENCH_KEEP_RUNNING=1 LD_PRELOAD=$probe \
      QUORLANE_BENCH_T0_NS=$(date +%s%N) "$build/bin/Quorlane.scr" /s &
    shell=$!
    for _ in $(seq 1 400); do
      [ "$(count first_swap_ms)" -ge "$monitors" ] && break
      sleep 0.025
    done
    first+=("$(awk '$1 == "first_swap_ms" && $2 > m { m = $2 } END { printf "%.0f", m }' "$work/out")")
    mapfile -t renderers < <(pgrep -f "^$build/bin/Quorlane.dll" || true)

    # The whole show's CPU over a few seconds of flight.
    sleep 1
    before=0
    for pid in "$shell" "${renderers[@]}"; do before=$((before + $(cpuTicks "$pid"))); done
    sleep 3
    after=0
    for pid in "$shell" "${renderers[@]}"; do after=$((after + $(cpuTicks "$pid"))); done
    showCpu+=("$(awk -v t=$((after - before)) -v hz="$ticks" 'BEGIN { printf "%.0f", 1000 * t / hz / 3 }')")

    for _ in $(seq 1 1200); do
      [ "$(count cpu_ms_per_frame)" -ge "$monitors" ] && break
      sleep 0.05
    done
    perFrame+=("$(awk '$1 == "cpu_ms_per_frame" { printf "%s%.1f", n++ ? "/" : "", $2 }' "$work/out")")
    if [ "$launch" = 1 ]; then
      memory="Quorlane.scr $(rssMb "$shell") MB"
      for pid in "${renderers[@]}"; do memory+=", Quorlane.dll $(rssMb "$pid") MB"; done
    fi

    window=$(xdotool getwindowfocus)
    xdotool keydown --window "$window" Escape || echo "launch $launch: no window for Escape" >&2
    xdotool keyup Escape
    wait "$shell" || true
    sleep 0.5
  done
  echo "$monitors monitor(s): renderers ${#renderers[@]}"
  echo "  /s to first frame on every monitor (ms): ${first[*]}  median $(printf '%s\n' "${first[@]}" | median)"
  echo "  CPU per frame of each renderer (ms): ${perFrame[*]}"
  echo "  whole show's CPU (ms per second): ${showCpu[*]}  median $(printf '%s\n' "${showCpu[@]}" | median)"
  echo "  resident memory: $memory"
  exit 0
fi

build=$(realpath -m "${1:-$root/build-bench}")
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORLANE_BENCH=ON \
  -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target quorlane_shell quorlane_renderer swap_probe -j2 >/dev/null

echo "Show benchmark on one and on two 1280x1024 monitors (Xvfb, openbox, Mesa llvmpipe), $(nproc) cores"
QUORLANE_XVFB_SCREEN=1280x1024x24 "$root/tests/support/run-with-xvfb.sh" --wm "$0" --inside "$build" 1
QUORLANE_XVFB_SCREEN=2560x1024x24 "$root/tests/support/run-with-xvfb.sh" --wm "$0" --inside "$build" 2
