#!/usr/bin/env bash
# Checks the Debian package and what an installation holds, as a user and a packager meet them:
#   - lintian finds no error and no warning in the package and its .changes;
#   - the package holds every file in its place (the programs, the command, its link where
#     XScreenSaver looks, the description, the manual page, a valid menu entry, the icons, the
#     web page), with the dependencies a user needs (and, where apt has package lists and this
#     runs as root, apt could install it);
#   - the packaged `quorlane` command, unpacked, runs a short show on a private Xvfb display from
#     the packaged programs, and Escape ends it cleanly;
#   - `cmake --install` of a build tree into another prefix installs the same files.
# Usage: check-package.sh DEB_DIR BUILD_DIR   (DEB_DIR: what scripts/build-deb.sh made)
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

debs=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
deb=$(find "$debs" -maxdepth 1 -name 'quorlane_*.deb' | head -n1)
changes=$(find "$debs" -maxdepth 1 -name 'quorlane_*.changes' | head -n1)
[ -n "$deb" ] && [ -n "$changes" ] || fail "no quorlane_*.deb and .changes in $debs"

echo "== lintian"
lintian --fail-on error,warning --display-info "$changes" || fail "lintian (above)"

echo "== what the package holds"
tree=$work/root
dpkg-deb -x "$deb" "$tree"
prefix=$tree/usr
for f in bin/quorlane lib/quorlane/Quorlane.scr lib/quorlane/Quorlane.dll; do
  [ -x "$prefix/$f" ] || fail "$f is missing or not executable"
done
# The shell's parts are ordinary files beside it, whose libraries the loader can find.
for f in lib/quorlane/quorlane-qt.so lib/quorlane/quorlane-music.so; do
  [ -f "$prefix/$f" ] || fail "$f is missing"
  ! ldd "$prefix/$f" | grep -q 'not found' || fail "$f: $(ldd "$prefix/$f" | grep 'not found')"
done
# Marked as installed, so that settings go to each user's own folder, root's too.
[ -f "$prefix/lib/quorlane/Quorlane.installed" ] || fail "the installed copy is not marked"
# XScreenSaver finds its programs by name in this folder.
[ "$(readlink "$prefix/libexec/xscreensaver/quorlane")" = ../../bin/quorlane ] ||
  fail "libexec/xscreensaver/quorlane does not lead to bin/quorlane"
[ "$("$prefix/libexec/xscreensaver/quorlane" --version)" = "Quorlane 1.00" ] ||
  fail "quorlane --version through the XScreenSaver link"
desktop=$prefix/share/applications/quorlane.desktop
desktop-file-validate "$desktop" || fail "the menu entry is not valid (above)"
grep -qxF 'Name=Quorlane' "$desktop" || fail "the desktop entry is not named Quorlane"
grep -qxF 'Exec="/usr/lib/quorlane/Quorlane.scr" /c' "$desktop" ||
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
zcat "$prefix/share/man/man6/quorlane.6.gz" | grep -q '^\.TH QUORLANE 6 ' || fail "no manual page"
# The web page uncompressed, with its pictures, where the dialog's link looks for it.
[ -f "$prefix/share/doc/quorlane/quorlane.html" ] || fail "no web page in share/doc/quorlane"
bash "$here/check-page.sh" "$prefix/share/doc/quorlane/quorlane.html"
[ "$("$prefix/bin/quorlane" --version)" = "Quorlane 1.00" ] || fail "quorlane --version"
code=0
"$prefix/bin/quorlane" --no-such-option >/dev/null 2>&1 || code=$?
[ "$code" = 2 ] || fail "an unknown option gave code $code, not 2"

depends=$(dpkg-deb -f "$deb" Depends)
# Each library a program or part links comes with the version dpkg-shlibdeps found.
for d in libqt6widgets6 libglut3.12 libsdl2-mixer-2.0-0 libcdio19 libxrandr2; do
  grep -qE "(^|, )$d(:[a-z0-9]+)? \\(>= " <<<"$depends" ||
    fail "the package does not depend on a version of $d: $depends"
done
for d in fonts-ipafont-gothic qt6-translations-l10n xdg-utils libgl1-mesa-dri; do
  grep -qE "(^|, )$d(,|$)" <<<"$depends" || fail "the package does not depend on $d: $depends"
done
[ "$(dpkg-deb -f "$deb" Suggests)" = "xscreensaver | xsecurelock" ] ||
  fail "the package does not suggest the frameworks: $(dpkg-deb -f "$deb" Suggests)"
if compgen -G '/var/lib/apt/lists/*_Packages*' >/dev/null && [ "$(id -u)" = 0 ]; then
  apt-get install --simulate -qq "$deb" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt could not install the package"; }
  echo "apt-get install --simulate: the dependencies resolve"
fi
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes; Depends: $depends"
dpkg-deb -c "$deb" | awk '{ print $1, $6, $7, $8 }'

echo "== a short show from the packaged copy"
export XDG_RUNTIME_DIR=$work/run HOME=$work/home SDL_AUDIODRIVER=dummy
mkdir -m 700 "$XDG_RUNTIME_DIR" "$HOME"
"$root/tests/support/run-with-xvfb.sh" bash "$here/check-package.sh" --show "$prefix"

echo "== cmake --install into another prefix: the package's layout"
other=$work/prefix
cmake --install "$build" --prefix "$other" >/dev/null
# What dh adds for Debian alone: its copyright and changelog, and the page's doc-base entry.
(cd "$prefix" && find . ! -type d |
  grep -vxE './share/doc/quorlane/(copyright|changelog\.gz)|./share/doc-base/quorlane\.quorlane' |
  sort) >"$work/package.list"
(cd "$other" && find . ! -type d | sort) >"$work/install.list"
diff "$work/package.list" "$work/install.list" || fail "cmake --install differs from the package (above)"
[ "$(readlink "$other/libexec/xscreensaver/quorlane")" = ../../bin/quorlane ] ||
  fail "the XScreenSaver link of another prefix"
grep -qxF "Exec=\"$other/lib/quorlane/Quorlane.scr\" /c" "$other/share/applications/quorlane.desktop" ||
  fail "the desktop entry of another prefix: $(grep '^Exec=' "$other/share/applications/quorlane.desktop")"
echo "cmake --install: the same $(wc -l <"$work/install.list") files"
