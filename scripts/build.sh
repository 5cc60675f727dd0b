#!/usr/bin/env bash
# Configures and builds one tree the way the project builds itself: warnings are errors and the
# benchmark programs are built too. Usage: build.sh BUILD_DIR [cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORLANE_WERROR=ON \
  -DQUORLANE_BENCH=ON "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
