#!/usr/bin/env bash
# Rewrites the maze scene's reference frames from a build. Look at every frame that changed
# (git diff --stat tests/renderer/reference, then open them) before committing it.
# Usage: tests/renderer/update-reference-frames.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
cmake --build "$build" --target test_maze_scene -j2
QUORLANE_UPDATE_REFERENCES=1 "$root/tests/support/run-with-xvfb.sh" \
  "$build/tests/renderer/test_maze_scene" --gtest_filter='*Reference*:*WithoutAPicture*'
