#!/usr/bin/env bash
# Fuzzes the BMP decoder for SECONDS (default 600) with clang's libFuzzer, starting from the
# seeds and the kept corpus. New interesting inputs are merged into fuzz/corpus (minimised);
# inputs that crash land in fuzz/crashers. Usage: fuzz/run.sh [SECONDS]
set -euo pipefail
seconds=${1:-600}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUORLANE_FUZZ_BUILD:-$root/build-fuzz}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORLANE_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" --target bmp_decoder_fuzzer bmp_seed_writer -j2

cd "$root/fuzz"
mkdir -p seeds corpus crashers
"$build/fuzz/bmp_seed_writer" seeds

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fuzzer="$build/fuzz/bmp_decoder_fuzzer"
# New inputs go to the scratch folder (the first one named). A crash ends the run and is
# kept in crashers/; fix it, then run again.
status=0
nice "$fuzzer" -jobs=1 -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$root/fuzz/crashers/" -print_final_stats=1 "$scratch" corpus seeds || status=$?
rm -f fuzz-0.log  # the worker's log; its end was already echoed above

# Keep a minimal set covering everything seen so far.
merged=$(mktemp -d)
"$fuzzer" -merge=1 -max_len=8192 "$merged" corpus "$scratch" >/dev/null 2>&1
rm -rf corpus && mv "$merged" corpus && chmod 755 corpus
echo "corpus: $(ls corpus | wc -l) inputs; crashers: $(ls crashers | wc -l)"
exit $status
