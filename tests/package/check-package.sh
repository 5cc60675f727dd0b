#!/usr/bin/env bash
# Checks what a built tree installs and packages, as a user and a packager meet it:
#   - `cmake --install` into a temporary prefix puts every file in its place;
#   - the installed `quorlane` command runs a short show on a private Xvfb display, from the
#     installed programs, and Escape ends it cleanly;
#   - `cpack -G DEB` makes a package holding both programs, with its run-time dependencies
#     (and, where apt has package lists, apt could install it).
# Usage: check-package.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
fail() { echo "check-package: FAILED: $*" >&2; exit 1; }

if [ "${1:-}" = "--show" ]; then
  # On the private display: start the installed command, wait for the renderer, end with Escape.
  prefix=$2
  "$prefix/bin/quorlane" 2>"$XDG_RUNTIME_DIR/show.log" &
  show=$!
  window=
  for _ in $(seq 1 200); do
    window=$(xdotool search --name '^Torvane_VC$' 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { cat "$XDG_RUNTIME_DIR/show.log" >&2; fail "no renderer window within 20 s"; }
  renderer=
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/exe" 2>/dev/null)" = "$prefix/lib/quorlane/Quorlane.dll" ] &&
      [ "$(awk '{ print $4 }' "$p/stat" 2>/dev/null)" = "$show" ] && renderer=${p#/proc/}
  done
  [ -n "$renderer" ] || fail "the installed shell did not start the installed renderer"
  [ "$(readlink "/proc/$show/exe")" = "$prefix/lib/quorlane/Quorlane.scr" ] ||
    fail "quorlane did not run the installed Quorlane.scr"
  [ -s "$XDG_RUNTIME_DIR/orvask/Torvane.bmp" ] || fail "no desktop picture was saved"
  sleep 2  # a short show
  # Released on its own: xdotool gives up on the window the press closed (see run-show.sh).
  xdotool keydown --window "$window" Escape 2>/dev/null || true
  xdotool keyup Escape 2>/dev/null || true
  status=0
  wait "$show" || status=$?
  [ "$status" = 0 ] || { cat "$XDG_RUNTIME_DIR/show.log" >&2; fail "the show ended with code $status"; }
  echo "show: renderer window $window, ended by Escape with code 0"
  exit 0
fi

build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== install into a temporary prefix"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/quorlane lib/quorlane/Quorlane.scr lib/quorlane/Quorlane.dll; do
  [ -x "$prefix/$f" ] || fail "$f is missing or not executable"
done
# The shell's parts are ordinary files beside it, whose libraries the loader can find.
for f in lib/quorlane/quorlane-windows.so lib/quorlane/quorlane-music.so; do
  [ -f "$prefix/$f" ] || fail "$f is missing"
  ! ldd "$prefix/$f" | grep -q 'not found' || fail "$f: $(ldd "$prefix/$f" | grep 'not found')"
done
# Marked as installed, so that settings go to each user's own folder, root's too.
[ -f "$prefix/lib/quorlane/Quorlane.installed" ] || fail "the installed copy is not marked"
desktop=$prefix/share/applications/quorlane.desktop
grep -qxF 'Name=Quorlane' "$desktop" || fail "the desktop entry is not named Quorlane"
grep -qxF "Exec=\"$prefix/lib/quorlane/Quorlane.scr\" /c" "$desktop" ||
  fail "the desktop entry does not open the installed settings: $(grep '^Exec=' "$desktop")"
grep -qxF 'Icon=quorlane' "$desktop" || fail "the desktop entry has no theme icon"
for n in 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${n}x${n}/apps/quorlane.png
  # A PNG's width and height are the two big-endian words at bytes 16 to 23.
  size=$(od -An -tu1 -j16 -N8 "$icon" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }')
  [ "$size" = "${n}x${n}" ] || fail "icon ${n}x${n} is $size"
done
grep -q '<screensaver name="quorlane" _label="Quorlane"' \
  "$prefix/share/xscreensaver/config/quorlane.xml" || fail "no XScreenSaver description"
zcat "$prefix/share/man/man1/quorlane.1.gz" | grep -q '^\.TH QUORLANE 1' || fail "no man page"
[ "$("$prefix/bin/quorlane" --version)" = "Quorlane 1.00" ] || fail "quorlane --version"
code=0
"$prefix/bin/quorlane" --no-such-option >/dev/null 2>&1 || code=$?
[ "$code" = 2 ] || fail "an unknown option gave code $code, not 2"
echo "installed: $(cd "$prefix" && find . -type f | sort | tr '\n' ' ')"

echo "== a short show from the installed copy"
export XDG_RUNTIME_DIR=$work/run HOME=$work/home SDL_AUDIODRIVER=dummy
mkdir -m 700 "$XDG_RUNTIME_DIR" "$HOME"
"$root/tests/support/run-with-xvfb.sh" bash "$here/check-package.sh" --show "$prefix"

echo "== Debian package"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack"; }
debs=("$work"/deb/quorlane_*.deb)
[ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no quorlane_*.deb"
deb=${debs[0]}
contents=$(dpkg-deb -c "$deb")
for f in ./usr/lib/quorlane/Quorlane.scr ./usr/lib/quorlane/Quorlane.dll ./usr/bin/quorlane \
         ./usr/lib/quorlane/quorlane-windows.so ./usr/lib/quorlane/quorlane-music.so \
         ./usr/lib/quorlane/Quorlane.installed \
         ./usr/share/applications/quorlane.desktop ./usr/share/xscreensaver/config/quorlane.xml; do
  grep -q " $f\$" <<<"$contents" || fail "the package lacks $f"
done
depends=$(dpkg-deb -f "$deb" Depends)
# Each library a part links comes with the version dpkg-shlibdeps found, not a bare name.
for d in libqt6widgets6 libglut3.12 libsdl2-mixer-2.0-0 libcdio19; do
  grep -qE "(^|, )$d(:[a-z0-9]+)? \\(>= " <<<"$depends" ||
    fail "the package does not depend on a version of $d: $depends"
done
grep -q fonts-ipafont-gothic <<<"$depends" || fail "the package does not depend on the font: $depends"
grep -q qt6-translations-l10n <<<"$depends" ||
  fail "the package does not depend on Qt's translations: $depends"
[ "$(dpkg-deb -f "$deb" Suggests)" = "xscreensaver | xsecurelock" ] ||
  fail "the package does not suggest the frameworks: $(dpkg-deb -f "$deb" Suggests)"
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/applications/quorlane.desktop |
  grep -qxF 'Exec="/usr/lib/quorlane/Quorlane.scr" /c' || fail "the packaged desktop entry"
if compgen -G '/var/lib/apt/lists/*_Packages*' >/dev/null && [ "$(id -u)" = 0 ]; then
  apt-get install --simulate -qq "$deb" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt could not install the package"; }
  echo "apt-get install --simulate: the dependencies resolve"
fi
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes; Depends: $depends"
