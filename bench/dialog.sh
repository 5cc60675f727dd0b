#!/usr/bin/env bash
# Settings dialog figures on a private Xvfb (1920x1080) with openbox:
#   - from `Quorlane.scr /c` to the dialog painted on screen, zoom included (target < 400 ms);
#   - the open dialog's CPU while idle (target < 0.5 % of a core);
#   - its resident memory (target < 60 MB).
# Usage: bench/dialog.sh [BUILD_DIR]   (default: build-bench in the source tree)
# Env: LAUNCHES (default 10), IDLE_SECONDS (default 10).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-bench}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORLANE_BENCH=ON \
  -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target quorlane_shell dialog_bench -j2 >/dev/null

# A copy of the program in a folder of its own, so that its settings file is the bench's.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/bin/Quorlane.scr" "$build"/bin/quorlane-*.so "$work/"
echo "Settings dialog benchmark (Xvfb 1920x1080, openbox), $(nproc) cores"
"$root/tests/support/run-with-xvfb.sh" --wm \
  "$build/bench/dialog_bench" "$work/Quorlane.scr" "${LAUNCHES:-10}" "${IDLE_SECONDS:-10}"
