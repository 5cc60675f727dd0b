#!/usr/bin/env bash
# Shows started with inputs far larger than usual, measured by bench/show.sh (`/s` to the
# renderer's first frame, Escape to exit, resident memory), each set in the settings file
# beside the programs for the time of its run:
#   - a chosen 8000 x 6000 JPEG (48 megapixels);
#   - a 100-minute WAV at 8 kHz, 8-bit, mono (48 MB) as the music;
# and, without a show, reading a settings file of 50 MB of short lines (`/c` reads the
# settings and ends), timed with /usr/bin/time.
# Usage: bench/large_inputs.sh [BUILD_DIR]   (default: build-bench in the source tree)
# Env: LAUNCHES (default 3).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-bench}
scratch=$(mktemp -d)
ini=$build/bin/Quorlane.ini
trap 'rm -rf "$scratch"; rm -f "$ini"' EXIT
export LAUNCHES=${LAUNCHES:-3} IDLE_SECONDS=${IDLE_SECONDS:-1}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORLANE_BENCH=ON \
  -DBUILD_TESTING=OFF >/dev/null
build=$(cd "$build" && pwd)  # show.sh finds the renderer by its absolute path
cmake --build "$build" --target quorlane_shell quorlane_renderer swap_probe -j2 >/dev/null

# Key names in code page 932: picture mode, picture file, music mode, music file.
pictureMode='\x89\xe6\x91\x9c' pictureFile='\x89\xe6\x91\x9c\xcc\xa7\xb2\xd9'
musicMode='BGM\x8b\xe6\x95\xaa' musicFile='BGM\xcc\xa7\xb2\xd9'
show() { "$root/tests/support/run-with-xvfb.sh" --wm "$root/bench/show.sh" --inside "$build"; }

# A photo-like picture: colour ramps with some detail, so the JPEG is of a usual size.
cat > "$scratch/photo.cpp" <<'CPP'
#include <QImage>
#include <cmath>
#include <cstdlib>
int main(int, char** argv) {
    const int w = std::atoi(argv[2]), h = std::atoi(argv[3]);
    QImage image(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < w; ++x) {
            row[3 * x] = uchar(255 * x / w);
            row[3 * x + 1] = uchar(255 * y / h);
            row[3 * x + 2] = uchar(128 + 100 * std::sin(x * 0.01) * std::cos(y * 0.013));
        }
    }
    return image.save(argv[1], "JPEG", 90) ? 0 : 1;
}
CPP
g++ -std=c++20 -O2 -fPIC "$scratch/photo.cpp" -o "$scratch/photo" $(pkg-config --cflags --libs Qt6Gui)
"$scratch/photo" "$scratch/photo.jpg" 8000 6000
echo "== chosen picture: 8000 x 6000 JPEG, $(( $(stat -c %s "$scratch/photo.jpg") / 1024 )) KiB"
printf "[Section]\r\n$pictureMode=1\r\n$pictureFile=%s\r\n" "$scratch/photo.jpg" > "$ini"
show

# 44-byte header, then 48,000,000 bytes of 8-bit samples (a hole in the file: flat silence).
python3 - "$scratch/long.wav" <<'PY'
import struct, sys
data = 48_000_000
with open(sys.argv[1], "wb") as f:
    f.write(b"RIFF" + struct.pack("<I", 36 + data) + b"WAVEfmt " +
            struct.pack("<IHHIIHH", 16, 1, 1, 8000, 8000, 1, 8) + b"data" + struct.pack("<I", data))
    f.truncate(44 + data)
PY
echo "== music: 100-minute WAV, 8 kHz 8-bit mono, 48 MB"
printf "[Section]\r\n$musicMode=2\r\n$musicFile=%s\r\n" "$scratch/long.wav" > "$ini"
show

echo "== settings file: 50 MB of short lines"
# `yes` ends by SIGPIPE, which pipefail would take for a failure of the whole script.
{ printf "[Section]\r\n$musicMode=1\r\n"; { yes 'a=1' || true; } | head -c 50000000 | sed 's/$/\r/'; } > "$ini"
# Without a display `/c` ends once the settings are read (it cannot open the dialog), so its
# failing exit is expected here.
env -u DISPLAY /usr/bin/time -f "read with /c: %e s, %M KB resident at most" \
  "$build/bin/Quorlane.scr" /c 2>&1 | tail -n 2 || true
