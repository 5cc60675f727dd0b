#!/usr/bin/env bash
# Cross-compiles Quorlane for 64-bit Windows with MinGW-w64, warnings as errors, into
# BUILD_DIR/bin, with the Windows unit tests (the preset "windows" in CMakePresets.json), through
# the compiler cache when ccache is installed. Usage: build-windows.sh BUILD_DIR [cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
. "$root/scripts/compiler-cache.sh"
cmake -S "$root" -B "$dir" "${compiler_cache[@]}" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORLANE_WERROR=ON "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
