#!/usr/bin/env bash
# Installs what is missing, builds the project twice (plain; with AddressSanitizer and
# UndefinedBehaviorSanitizer) with warnings as errors and runs the whole test suite on both,
# makes the Debian package from a clean copy of the tree and checks it (lintian, its files, a
# show from it, the same layout from `cmake --install`). Then cross-builds for Windows and runs
# its tests under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh

bash scripts/build.sh build
bash scripts/build.sh build-asan -DQUORLANE_SANITIZE=ON
bash scripts/build-deb.sh build-deb
bash scripts/build-windows.sh build-windows

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$root/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# Every test runs once: a test that fails now and then is a fault to find, not to run again.
status=0
echo "== tests (plain build)"
ctest --test-dir build --output-on-failure -j2 || status=1
echo "== tests (sanitizer build)"
ctest --test-dir build-asan --output-on-failure -j2 || status=1
echo "== Debian package, and an installation"
bash tests/package/check-package.sh build-deb build || status=1
echo "== tests (Windows build, under Wine)"
# One at a time: under Wine a loaded machine delays injected input (clickAt in
# tests/windows/wine_screen.cpp now waits for it); serial runs keep the load low too.
ctest --test-dir build-windows --output-on-failure -j1 || status=1
exit $status
