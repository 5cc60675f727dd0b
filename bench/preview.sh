#!/usr/bin/env bash
# Preview figures on a private Xvfb (1920x1080, no window manager, as a settings page's
# preview area has none), with a 152 x 112 host made by the benchmark itself:
#   - from `Quorlane.scr /p <id>` to the still covering the host (target under 150 ms);
#   - the preview's resident memory (target under 40 MB);
#   - its CPU and wake-ups while idle (target 0 %);
#   - from the host's destruction to the preview's exit (at most 500 ms).
# Usage: bench/preview.sh [BUILD_DIR]   (default: build-bench in the source tree)
# Env: LAUNCHES (default 10), IDLE_SECONDS (default 10).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-bench}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORLANE_BENCH=ON \
  -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target quorlane_shell preview_bench -j2 >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/run"
echo "Preview benchmark (Xvfb 1920x1080, no window manager), $(nproc) cores"
XDG_RUNTIME_DIR=$work/run "$root/tests/support/run-with-xvfb.sh" \
  "$build/bench/preview_bench" "$build/bin/Quorlane.scr" "${LAUNCHES:-10}" "${IDLE_SECONDS:-10}"
