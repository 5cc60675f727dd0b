#!/usr/bin/env bash
# Renderer figures at 1920x1080 on a private Xvfb with a window manager, in one run:
#   - launch to the first frame swapped (target: within 300 ms), over several launches;
#   - CPU milliseconds per frame of Quorlane.dll and of a minimal reference program that
#     draws the same display list with the same camera (target: at most 1.1 x the reference).
# The timing comes from an LD_PRELOAD probe around glutSwapBuffers (bench/swap_probe.c).
# Usage: bench/renderer.sh [BUILD_DIR]   (default: build-bench in the source tree)
# Env: LAUNCHES (default 5), FRAMES (default 150), ROUNDS (default 2).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = "--inside" ]; then
  build=$2
  bin=$build/bin/Quorlane.dll
  ref=$build/bench/renderer_reference
  probe=$build/bench/swap_probe.so
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  export XDG_RUNTIME_DIR=$work/run
  mkdir -m 700 -p "$XDG_RUNTIME_DIR/orvask"
  # A desktop-sized picture, as the shell would have saved it.
  convert -size 1920x1080 gradient:'#1d4e89-#f4a259' -fill '#ffffff' -pointsize 160 \
    -gravity center -annotate +0-200 'Quorlane' -type TrueColor \
    "BMP3:$XDG_RUNTIME_DIR/orvask/Torvane.bmp"

  # run PROGRAM WARMUP FRAMES -> appends the probe's lines to $work/out
  run() {
    rm -f "$work/out"
    QUORLANE_BENCH_OUT=$work/out QUORLANE_BENCH_WARMUP=$2 QUORLANE_BENCH_FRAMES=$3 \
      LD_PRELOAD=$probe QUORLANE_BENCH_T0_NS=$(date +%s%N) timeout 120 "$1" || true
    cat "$work/out" 2>/dev/null || true
  }
  value() { awk -v k="$1" '$1 == k { print $2 }'; }

  launches=()
  for _ in $(seq 1 "${LAUNCHES:-5}"); do
    launches+=("$(run "$bin" 1 0 | value first_swap_ms)")
  done
  median=$(printf '%s\n' "${launches[@]}" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')
  echo "launch to first frame swapped (ms): ${launches[*]}  median $median  (target <= 300)"

  product_cpu=()
  reference_cpu=()
  for round in $(seq 1 "${ROUNDS:-2}"); do
    out=$(run "$bin" 30 "${FRAMES:-150}")
    product_cpu+=("$(echo "$out" | value cpu_ms_per_frame)")
    echo "round $round Quorlane.dll: $(echo "$out" | value cpu_ms_per_frame) ms CPU, $(echo "$out" | value wall_ms_per_frame) ms wall per frame"
    out=$(run "$ref" 30 "${FRAMES:-150}")
    reference_cpu+=("$(echo "$out" | value cpu_ms_per_frame)")
    echo "round $round reference:    $(echo "$out" | value cpu_ms_per_frame) ms CPU, $(echo "$out" | value wall_ms_per_frame) ms wall per frame"
  done
  printf '%s\n' "${product_cpu[@]}" >"$work/p"
  printf '%s\n' "${reference_cpu[@]}" >"$work/r"
  awk 'NR == FNR { p += $1; n++; next } { r += $1; m++ }
       END { if (n && m && r > 0) printf "CPU per frame: Quorlane.dll %.2f ms, reference %.2f ms, ratio %.3f (target <= 1.1)\n", p / n, r / m, (p / n) / (r / m) }' \
    "$work/p" "$work/r"
  exit 0
fi

build=${1:-$root/build-bench}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORLANE_BENCH=ON \
  -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target quorlane_renderer renderer_reference swap_probe -j2 >/dev/null

echo "Renderer benchmark at 1920x1080 (Xvfb, openbox, Mesa llvmpipe), $(nproc) cores"
"$root/tests/support/run-with-xvfb.sh" --wm "$0" --inside "$build"
