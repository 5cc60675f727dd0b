#!/usr/bin/env bash
# Figures for the shell's push button:
#   - the time of one face paint at 69 x 25 (target under 0.2 ms);
#   - the CPU of four initialised buttons left alone, their hover timers running
#     (target under 0.2 % of a core), beside the same window without buttons, and with the
#     pointer resting on one of them (that one asks where the pointer is on every tick).
# Usage: bench/button.sh [BUILD_DIR] [SECONDS]   (default: build, 20 s per idle case)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = "--inside" ]; then
  bin=$2 seconds=$3
  ticks=$(getconf CLK_TCK)
  for case in "0 away" "4 away" "4 over"; do
    set -- $case
    buttons=$1
    # Away from the window, as over the rest of a dialog, unless the program puts it on a button.
    xdotool mousemove 1500 900
    "$bin" idle $((seconds + 2)) "$buttons" "$2" &
    pid=$!
    sleep 1.5  # past start-up
    before=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
    sleep "$seconds"
    after=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
    wait "$pid"
    awk -v t=$((after - before)) -v hz="$ticks" -v s="$seconds" -v n="$buttons" \
      -v where="$2" 'BEGIN { printf "window with %d buttons, pointer %s: %.3f%% of a core over %d s\n", n, where, 100 * t / hz / s, s }'
  done
  exit 0
fi

build=${1:-$root/build}
seconds=${2:-20}

cmake -S "$root" -B "$build" -DQUORLANE_BENCH=ON >/dev/null
cmake --build "$build" --target button_bench -j2 >/dev/null

QT_QPA_PLATFORM=offscreen "$build/bench/button_bench" paint 20000
QT_QPA_PLATFORM=xcb "$root/tests/support/run-with-xvfb.sh" --wm \
  "$root/bench/button.sh" --inside "$build/bench/button_bench" "$seconds"
