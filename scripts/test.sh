#!/usr/bin/env bash
# Installs what is missing, builds the project twice (plain, and with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs the whole test suite on both builds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh

bash scripts/build.sh build
bash scripts/build.sh build-asan -DQUORLANE_SANITIZE=ON

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$root/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

status=0
echo "== tests (plain build)"
ctest --test-dir build --output-on-failure -j2 || status=1
echo "== tests (sanitizer build)"
ctest --test-dir build-asan --output-on-failure -j2 || status=1
exit $status
