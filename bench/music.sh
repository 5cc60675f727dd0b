#!/usr/bin/env bash
# CPU use of the shell's music while it plays in real time: an MP3, and CD audio streamed
# from a disc image. Usage: bench/music.sh [build folder] [seconds per case]
# Needs the lame encoder for the MP3. The sound goes to SDL's disk driver at its normal real-time pace, written to /dev/null.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
seconds=${2:-10}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake -S "$here" -B "$build" -DQUORLANE_BENCH=ON >/dev/null
cmake --build "$build" --target music_bench -j2 >/dev/null
bench="$build/bench/music_bench"

# A 30-second stereo MP3 at 192 kbit/s, a typical music file.
"$bench" --wav "$scratch/long.wav"
lame --quiet -b 192 "$scratch/long.wav" "$scratch/long.mp3"

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null \
  "$bench" "$scratch/long.mp3" "$scratch" "$seconds" 2> >(grep -v CRITICAL >&2)
