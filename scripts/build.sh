#!/usr/bin/env bash
# Configures and builds one tree the way the project builds itself: warnings are errors and the
# tests and benchmark programs are built too (options given after the folder override these);
# through the compiler cache when ccache is installed. The same settings as the presets in
# CMakePresets.json ("plain" is build.sh build).
# Usage: build.sh BUILD_DIR [cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
. "$root/scripts/compiler-cache.sh"
cmake -S "$root" -B "$dir" "${compiler_cache[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUORLANE_WERROR=ON -DBUILD_TESTING=ON -DQUORLANE_BENCH=ON "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
