#!/usr/bin/env bash
# Installs what is missing, builds the project twice (plain; with AddressSanitizer and
# UndefinedBehaviorSanitizer) with warnings as errors and runs the whole test suite on both,
# makes the Debian package from a clean copy of the tree and checks it (lintian, its files, a
# show from it, the same layout from `cmake --install`). Then cross-builds for Windows and runs
# its tests under Wine.
# Besides: the format and clang-tidy checks of the sources, the tests of the code with threads
# under ThreadSanitizer, and half a minute of fuzzing the BMP decoder from its kept corpus.
# The trees are the presets of CMakePresets.json; so are the sanitizers' options.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh

bash scripts/build.sh build
bash scripts/build.sh build-asan -DQUORLANE_SANITIZE=ON
bash scripts/build-deb.sh build-deb
bash scripts/build-windows.sh build-windows
. scripts/compiler-cache.sh
for preset in tsan fuzz; do
  cmake --preset "$preset" "${compiler_cache[@]}" >/dev/null
  cmake --build --preset "$preset" -j"$(nproc)"
done

# Every test runs once: a test that fails now and then is a fault to find, not to run again.
status=0
echo "== format (scripts/format.sh --check)"
bash scripts/format.sh --check || status=1
echo "== clang-tidy (plain build's compile commands)"
bash scripts/tidy.sh build || status=1
echo "== tests (plain build)"
ctest --test-dir build --output-on-failure -j2 || status=1
echo "== tests (sanitizer build)"
# Its preset turns off the runtime's tracking of the thread-local blocks that loaded libraries
# allocate (libjpeg's, through Qt's JPEG plugin): GCC 12's runtime guesses their bounds from the
# address, and about one exit in thirty its leak check reads a wrong guess and crashes. They
# stay reachable from each thread's own storage, so no leak is hidden or invented.
ctest --preset sanitizer -j2 || status=1
echo "== Debian package, and an installation"
bash tests/package/check-package.sh build-deb build || status=1
echo "== tests of the code with threads (ThreadSanitizer build)"
ctest --preset tsan -j2 || status=1
echo "== fuzzing the BMP decoder for 30 s from fuzz/corpus (libFuzzer build)"
# New inputs go to a scratch folder (the first one named), so the kept corpus stays as it is.
# An input that crashes it is kept in build-fuzz/crashers/.
fuzz_scratch=$(mktemp -d)
mkdir -p "$fuzz_scratch/seeds" "$fuzz_scratch/new" build-fuzz/crashers
build-fuzz/fuzz/bmp_seed_writer "$fuzz_scratch/seeds"
build-fuzz/fuzz/bmp_decoder_fuzzer -max_total_time=30 -max_len=8192 -timeout=10 \
  -rss_limit_mb=2048 -artifact_prefix="$root/build-fuzz/crashers/" -print_final_stats=1 \
  "$fuzz_scratch/new" fuzz/corpus "$fuzz_scratch/seeds" || status=1
rm -rf "$fuzz_scratch"
echo "== tests (Windows build, under Wine)"
# One at a time: under Wine a loaded machine delays injected input (clickAt in
# tests/windows/wine_screen.cpp now waits for it); serial runs keep the load low too.
ctest --test-dir build-windows --output-on-failure -j1 || status=1
exit $status
