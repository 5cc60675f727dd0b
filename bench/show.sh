#!/usr/bin/env bash
# Whole-show figures at 1920x1080 on a private Xvfb with a window manager, in one run:
#   - from `Quorlane.scr /s` to the renderer's first frame swapped (target under 300 ms);
#   - the shell's own part of that, from its start to the renderer's exec (target under 60 ms);
#   - beside each show, the bare renderer from its launch to its first frame, on the picture
#     that show saved, so a busy machine shows in both figures alike;
#   - the CPU time both took for that, which a busy machine does not inflate;
#   - from Escape to the shell's exit (target under 150 ms);
#   - the shell's CPU while a show runs (target under 1% of a core);
#   - resident memory of both programs during the show.
# The first frame is timed by the renderer's swap probe (bench/swap_probe.c), preloaded
# into both programs (the shell never swaps; in it the probe times the renderer's exec).
# Usage: bench/show.sh [BUILD_DIR]   (default: build-bench in the source tree)
# Env: LAUNCHES (default 5), IDLE_SECONDS (shell CPU window, default 10), RUNTIME_ON_DISK=1
# (the desktop image file on disk rather than on a tmpfs like a login session's runtime folder).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = "--inside" ]; then
  build=$2
  probe=$build/bench/swap_probe.so
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  export XDG_RUNTIME_DIR=$work/run
  if [ "${RUNTIME_ON_DISK:-0}" != 1 ] && [ -w /dev/shm ]; then
    XDG_RUNTIME_DIR=$(mktemp -d -p /dev/shm)
    trap 'rm -rf "$work" "$XDG_RUNTIME_DIR"' EXIT
  fi
  echo "runtime folder: $(df --output=fstype "$(dirname "$XDG_RUNTIME_DIR")" | tail -n1)"
  mkdir -m 700 -p "$XDG_RUNTIME_DIR"
  export SDL_AUDIODRIVER=dummy
  ticks=$(getconf CLK_TCK)

  nowMs() { echo $(( $(date +%s%N) / 1000000 )); }
  cpuTicks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
  rssKb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
  median() { sort -n | awk '{ a[NR] = $1 } END { if (NR) print a[int((NR + 1) / 2)] }'; }

  first=() shellPart=() shellCpu=() bare=() bareCpu=() escape=()
  for launch in $(seq 1 "${LAUNCHES:-5}"); do
    rm -f "$work/out"
    QUORLANE_BENCH_OUT=$work/out QUORLANE_BENCH_WARMUP=1000000000 \
      QUORLANE_BENCH_FRAMES=1000000000 LD_PRELOAD=$probe \
      QUORLANE_BENCH_T0_NS=$(date +%s%N) "$build/bin/Quorlane.scr" /s &
    shell=$!
    for _ in $(seq 1 400); do
      grep -q first_swap_ms "$work/out" 2>/dev/null && break
      sleep 0.025
    done
    first+=("$(awk '$1 == "first_swap_ms" { printf "%.0f", $2 }' "$work/out" 2>/dev/null)")
    shellPart+=("$(awk '$1 == "renderer_exec_ms" { printf "%.0f", $2 }' "$work/out" 2>/dev/null)")
    shellCpu+=("$(awk '$1 == "shell_cpu_ms" { printf "%.0f", $2 }' "$work/out" 2>/dev/null)")
    renderer=$(pgrep -n -f "^$build/bin/Quorlane.dll" || true)

    if [ "$launch" = 1 ]; then
      sleep 1  # past the start-up work
      seconds=${IDLE_SECONDS:-10}
      before=$(cpuTicks "$shell")
      sleep "$seconds"
      after=$(cpuTicks "$shell")
      awk -v t=$((after - before)) -v hz="$ticks" -v s="$seconds" \
        'BEGIN { printf "shell CPU during the show: %.2f%% of a core over %d s (target < 1%%)\n", 100 * t / hz / s, s }'
      echo "resident memory: Quorlane.scr $(( $(rssKb "$shell") / 1024 )) MB, Quorlane.dll $(( $(rssKb "$renderer") / 1024 )) MB"
    fi

    window=$(xdotool search --onlyvisible --name '^Torvane_VC$' | head -n1 || true)
    start=$(nowMs)
    # Released on its own: xdotool gives up on the window the press closed, and a held
    # Escape would repeat into the next launch's renderer and end it.
    xdotool keydown --window "${window:-0}" Escape ||
      echo "launch $launch: no renderer window for Escape" >&2
    xdotool keyup Escape
    wait "$shell" || true
    escape+=("$(( $(nowMs) - start ))")
    sleep 0.5

    # The renderer alone, on the picture this show saved.
    rm -f "$work/out"
    QUORLANE_BENCH_OUT=$work/out QUORLANE_BENCH_WARMUP=1 QUORLANE_BENCH_FRAMES=0 \
      LD_PRELOAD=$probe QUORLANE_BENCH_T0_NS=$(date +%s%N) timeout 60 "$build/bin/Quorlane.dll" || true
    bare+=("$(awk '$1 == "first_swap_ms" { printf "%.0f", $2 }' "$work/out" 2>/dev/null)")
    bareCpu+=("$(awk '$1 == "first_swap_cpu_ms" { printf "%.0f", $2 }' "$work/out" 2>/dev/null)")
    sleep 0.5
  done
  echo "/s to first frame (ms): ${first[*]}  median $(printf '%s\n' "${first[@]}" | median)  (target < 300)"
  echo "  shell's part, /s to renderer exec (ms): ${shellPart[*]}  median $(printf '%s\n' "${shellPart[@]}" | median)  (target < 60)"
  echo "  shell's CPU up to the renderer's fork (ms): ${shellCpu[*]}  median $(printf '%s\n' "${shellCpu[@]}" | median)"
  echo "  bare renderer, launch to first frame (ms): ${bare[*]}  median $(printf '%s\n' "${bare[@]}" | median)"
  echo "  bare renderer, CPU to first frame (ms): ${bareCpu[*]}  median $(printf '%s\n' "${bareCpu[@]}" | median)"
  echo "Escape to shell exit (ms): ${escape[*]}  median $(printf '%s\n' "${escape[@]}" | median)  (target < 150)"
  exit 0
fi

# Absolute, so the renderer the shell starts (by its full path) is found by that path.
build=$(realpath -m "${1:-$root/build-bench}")
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORLANE_BENCH=ON \
  -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target quorlane_shell quorlane_renderer swap_probe -j2 >/dev/null

echo "Show benchmark at 1920x1080 (Xvfb, openbox, Mesa llvmpipe), $(nproc) cores"
"$root/tests/support/run-with-xvfb.sh" --wm "$0" --inside "$build"
