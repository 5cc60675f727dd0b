#!/usr/bin/env bash
# A show's start and memory against the floor of any GL screensaver, in one run, at 1920x1080
# on a private Xvfb with a window manager. Launches alternate, show then reference, so a
# machine that drifts moves both alike:
#   - launch to first frame swapped of `Quorlane.scr /s` and of a bare full-screen GLUT
#     clear-and-swap loop (bench/glut_clear_loop.c) started the same way; their ratio, pair
#     by pair (target: at most 1.10);
#   - the renderer alone to its first frame, on the picture the show saved, and the same maze
#     drawn by the least GLUT program (bench/renderer_reference.cpp), with its memory, and
#     the show's first frame against that plain GL program's, pair by pair;
#   - the shell's part, from its start to the renderer's exec, and its CPU up to the fork;
#   - the CPU both took to their first frame (a busy machine delays it, but does not add to it);
#   - resident memory of the renderer during the show and of the bare loop while it runs,
#     and the difference, pair by pair (target: at most 20 MB);
#   - Escape to the shell's exit.
# The first frame is timed by the swap probe (bench/swap_probe.c) preloaded into both.
# Usage: bench/start_and_memory.sh [BUILD_DIR]   (default: build-release in the source tree,
# a Release build). Env: LAUNCHES (default 7), SETTLE (seconds into a run before its memory
# is read, default 2).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = "--inside" ]; then
  build=$2
  probe=$build/bench/swap_probe.so
  loop=$build/bench/glut_clear_loop
  maze=$build/bench/renderer_reference
  work=$(mktemp -d)
  export XDG_RUNTIME_DIR
  XDG_RUNTIME_DIR=$(mktemp -d -p /dev/shm 2>/dev/null || echo "$work/run")
  trap 'rm -rf "$work" "$XDG_RUNTIME_DIR"' EXIT
  mkdir -m 700 -p "$XDG_RUNTIME_DIR"
  export SDL_AUDIODRIVER=dummy
  settle=${SETTLE:-2}

  rssKb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null || echo 0; }
  median() { sort -n | awk '{ a[NR] = $1 } END { if (NR) print a[int((NR + 1) / 2)] }'; }
  value() { awk -v k="$1" '$1 == k { printf "%.1f", $2 }' "$work/out" 2>/dev/null; }
  # Waits for the probe's first swap, at most 10 s.
  awaitFirstFrame() {
    for _ in $(seq 1 400); do
      grep -q first_swap_ms "$work/out" 2>/dev/null && return 0
      sleep 0.025
    done
    return 1
  }

  show=() mazeRatio=() mazeFirst=() mazeMem=() showCpu=() loopCpu=() alone=() loopFirst=() ratio=() shellPart=() shellCpu=() showMem=() loopMem=() extra=() escape=()
  for launch in $(seq 1 "${LAUNCHES:-7}"); do
    # The show.
    rm -f "$work/out"
    QUORLANE_BENCH_OUT=$work/out QUORLANE_BENCH_WARMUP=1000000000 \
      QUORLANE_BENCH_FRAMES=1000000000 LD_PRELOAD=$probe \
      QUORLANE_BENCH_T0_NS=$(date +%s%N) "$build/bin/Quorlane.scr" /s &
    shell=$!
    awaitFirstFrame || echo "launch $launch: the show drew no frame" >&2
    a=$(value first_swap_ms)
    show+=("$a")
    shellPart+=("$(value renderer_exec_ms)")
    shellCpu+=("$(value shell_cpu_ms)")
    showCpu+=("$(awk '$1 == "shell_cpu_ms" || $1 == "first_swap_cpu_ms" { t += $2 } END { printf "%.1f", t }' "$work/out")")
    sleep "$settle"
    renderer=$(pgrep -n -f "^$build/bin/Quorlane.dll" || true)
    m=$(( $(rssKb "${renderer:-0}") / 1024 ))
    showMem+=("$m")
    window=$(xdotool search --onlyvisible --name '^Torvane_VC$' | head -n1 || true)
    start=$(date +%s%N)
    # Released on its own: a held Escape would repeat into the next program and end it.
    xdotool keydown --window "${window:-0}" Escape || echo "launch $launch: no renderer window" >&2
    xdotool keyup Escape
    wait "$shell" || true
    escape+=("$(( ($(date +%s%N) - start) / 1000000 ))")
    sleep 0.5

    # The renderer alone, on the picture this show saved: the shell's share shows beside it.
    rm -f "$work/out"
    QUORLANE_BENCH_OUT=$work/out QUORLANE_BENCH_WARMUP=1 QUORLANE_BENCH_FRAMES=0 \
      LD_PRELOAD=$probe QUORLANE_BENCH_T0_NS=$(date +%s%N) timeout 60 "$build/bin/Quorlane.dll" || true
    alone+=("$(value first_swap_ms)")
    sleep 0.5

    # The same maze drawn by the least GLUT program (bench/renderer_reference.cpp), on the
    # same picture: what drawing this maze costs with no show around it.
    rm -f "$work/out"
    QUORLANE_BENCH_OUT=$work/out QUORLANE_BENCH_WARMUP=1000000000 \
      QUORLANE_BENCH_FRAMES=1000000000 LD_PRELOAD=$probe \
      QUORLANE_BENCH_T0_NS=$(date +%s%N) "$maze" &
    least=$!
    awaitFirstFrame || echo "launch $launch: the maze reference drew no frame" >&2
    c=$(value first_swap_ms)
    mazeFirst+=("$c")
    sleep "$settle"
    mazeMem+=("$(( $(rssKb "$least") / 1024 ))")
    kill "$least" 2>/dev/null || true
    wait "$least" 2>/dev/null || true
    sleep 0.5

    # The bare loop, started the same way.
    rm -f "$work/out"
    QUORLANE_BENCH_OUT=$work/out QUORLANE_BENCH_WARMUP=1000000000 \
      QUORLANE_BENCH_FRAMES=1000000000 LD_PRELOAD=$probe \
      QUORLANE_BENCH_T0_NS=$(date +%s%N) "$loop" &
    bare=$!
    awaitFirstFrame || echo "launch $launch: the bare loop drew no frame" >&2
    b=$(value first_swap_ms)
    loopFirst+=("$b")
    loopCpu+=("$(value first_swap_cpu_ms)")
    sleep "$settle"
    n=$(( $(rssKb "$bare") / 1024 ))
    loopMem+=("$n")
    kill "$bare" 2>/dev/null || true
    wait "$bare" 2>/dev/null || true
    sleep 0.5

    ratio+=("$(awk -v a="$a" -v b="$b" 'BEGIN { if (b > 0) printf "%.3f", a / b }')")
    mazeRatio+=("$(awk -v a="$a" -v c="$c" 'BEGIN { if (c > 0) printf "%.3f", a / c }')")
    extra+=("$((m - n))")
  done
  echo "/s to first frame (ms): ${show[*]}  median $(printf '%s\n' "${show[@]}" | median)"
  echo "  Quorlane.dll alone, launch to first frame (ms): ${alone[*]}  median $(printf '%s\n' "${alone[@]}" | median)"
  echo "  maze reference, launch to first frame (ms): ${mazeFirst[*]}  median $(printf '%s\n' "${mazeFirst[@]}" | median)"
  echo "  /s against the maze reference, pair by pair: ${mazeRatio[*]}  median $(printf '%s\n' "${mazeRatio[@]}" | median)"
  echo "bare GLUT loop, launch to first frame (ms): ${loopFirst[*]}  median $(printf '%s\n' "${loopFirst[@]}" | median)"
  echo "  ratio, pair by pair: ${ratio[*]}  median $(printf '%s\n' "${ratio[@]}" | median)  (target <= 1.10)"
  echo "  shell's part, /s to renderer exec (ms): ${shellPart[*]}  median $(printf '%s\n' "${shellPart[@]}" | median)"
  echo "  shell's CPU up to the renderer's fork (ms): ${shellCpu[*]}  median $(printf '%s\n' "${shellCpu[@]}" | median)"
  echo "CPU to first frame, shell up to its fork and renderer (ms): ${showCpu[*]}  median $(printf '%s\n' "${showCpu[@]}" | median)"
  echo "  bare GLUT loop's CPU to first frame (ms): ${loopCpu[*]}  median $(printf '%s\n' "${loopCpu[@]}" | median)"
  echo "renderer resident during the show (MB): ${showMem[*]}  median $(printf '%s\n' "${showMem[@]}" | median)"
  echo "  maze reference resident (MB): ${mazeMem[*]}  median $(printf '%s\n' "${mazeMem[@]}" | median)"
  echo "bare GLUT loop resident (MB): ${loopMem[*]}  median $(printf '%s\n' "${loopMem[@]}" | median)"
  echo "  renderer above the loop, pair by pair (MB): ${extra[*]}  median $(printf '%s\n' "${extra[@]}" | median)  (target <= 20)"
  echo "Escape to shell exit (ms): ${escape[*]}  median $(printf '%s\n' "${escape[@]}" | median)"
  exit 0
fi

# Absolute, so the renderer the shell starts (by its full path) is found by that path.
build=$(realpath -m "${1:-$root/build-release}")
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUORLANE_BENCH=ON >/dev/null
cmake --build "$build" --target quorlane_shell quorlane_renderer swap_probe glut_clear_loop \
  renderer_reference -j2 >/dev/null

echo "Start and memory at 1920x1080 (Xvfb, openbox, Mesa llvmpipe), $(nproc) cores"
"$root/tests/support/run-with-xvfb.sh" --wm "$0" --inside "$build"
