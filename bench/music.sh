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

cmake --build "$build" --target shell_music >/dev/null
lib="$build/shell/music"
g++ -std=c++20 -O2 -I"$here" "$here/bench/music_bench.cpp" -o "$scratch/music_bench" \
  "$lib/libshell_music.a" "$lib/libshell_music_core.a" "$build/shell/startup/libshell_settings.a" \
  $(pkg-config --cflags --libs SDL2_mixer sdl2 libcdio) -pthread

# A 30-second stereo MP3 at 192 kbit/s, a typical music file.
"$scratch/music_bench" --wav "$scratch/long.wav"
lame --quiet -b 192 "$scratch/long.wav" "$scratch/long.mp3"

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null \
  "$scratch/music_bench" "$scratch/long.mp3" "$scratch" "$seconds" 2> >(grep -v CRITICAL >&2)
