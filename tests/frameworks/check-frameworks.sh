#!/usr/bin/env bash
# The installed quorlane inside the real screensaver frameworks, on a private Xvfb display:
#   xscreensaver  the XScreenSaver daemon runs "quorlane --root" on -activate: with
#                 grabDesktopImages on the flight covers the screen with the desktop it grabbed,
#                 with it off with the built-in still and no desktop; a show ended by SIGTERM (on
#                 -select) is no "abnormal" exit in the daemon's log; -deactivate leaves no
#                 Quorlane process and no picture file;
#   xsecurelock   xsecurelock with XSECURELOCK_SAVER naming the installed quorlane: the locked
#                 screen shows the flight over the built-in still, not white walls; SIGTERM to
#                 xsecurelock leaves no Quorlane process and no picture file.
# Before either, "quorlane --root --help" prints the help and starts nothing.
# Both refuse to run screensavers as root, so as root an ordinary user is made for the run.
# The screenshots are kept in SHOTS (default BUILD_DIR/framework-shots) to be looked at.
# Usage: check-frameworks.sh BUILD_DIR xscreensaver|xsecurelock   (exit 77: cannot run here)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
fail() { echo "check-frameworks: FAILED: $*" >&2; exit 1; }
skip() { echo "check-frameworks: SKIPPED: $*" >&2; exit 77; }

. "$root/tests/support/quorlane-processes.sh"
. "$root/tests/support/ordinary-user.sh"

# The share of the screen's pixels (scaled down) near the colour #3366cc: the desktop's.
desktop_share() {
  convert "$1" -scale 10% -fx '(abs(r-0.2)<0.15 && abs(g-0.4)<0.15 && abs(b-0.8)<0.15) ? 1 : 0' \
    -format '%[fx:mean]' info:
}
# The share that is warm (red well above blue): the built-in still's planets and frames.
warm_share() {
  convert "$1" -scale 10% -fx '(r-b>0.19) ? 1 : 0' -format '%[fx:mean]' info:
}
# The share that is pure white: walls without a picture.
white_share() {
  convert "$1" -scale 10% -fx '(r>0.98 && g>0.98 && b>0.98) ? 1 : 0' -format '%[fx:mean]' info:
}
at_least() { awk -v s="$1" -v m="$2" 'BEGIN { exit !(s >= m) }'; }
at_most() { awk -v s="$1" -v m="$2" 'BEGIN { exit !(s <= m) }'; }

# Every desktop picture file a show left in the user's runtime folder.
picture_files() { find "$XDG_RUNTIME_DIR" -name 'Torvane*' 2>/dev/null; }

# Waits for a moving flight on the screen: two screenshots, taken apart, that differ and
# neither of which is one colour. Leaves the later one in $2.
wait_for_flight() {
  local name=$1 shot=$2 previous=$work/previous.png
  for _ in $(seq 1 150); do
    xwd -root -silent | convert xwd:- "$shot"
    if [ "$(convert "$shot" -format '%[fx:standard_deviation > 0.02]' info:)" = 1 ]; then
      if [ -f "$previous" ] && ! compare -metric AE "$previous" "$shot" null: 2>/dev/null; then
        cp "$shot" "$shots/$name.png"
        return 0
      fi
      cp "$shot" "$previous"
    fi
    sleep 0.2
  done
  cp "$shot" "$shots/$name-failed.png"
  return 1
}

# Waits until no process of the installed Quorlane is left; prints how long it took.
wait_until_gone() {
  local start=$(date +%s%N)
  for _ in $(seq 1 250); do
    if [ -z "$(quorlane_processes)" ]; then
      echo "$(( ($(date +%s%N) - start) / 1000000 ))"
      return 0
    fi
    sleep 0.02
  done
  return 1
}

if [ "${1:-}" = "--on-display" ]; then
  framework=$2 prefix=$3 work=$4 shots=$5
  xsetroot -solid '#3366cc'  # the desktop the framework will cover
  case "$framework" in
  xscreensaver)
    settings() {
      cat >"$HOME/.xscreensaver" <<EOT
mode:		one
selected:	0
lock:		False
fade:		False
unfade:		False
splash:		False
grabDesktopImages:	$1
programs:								      \\
		quorlane --root						    \\n\\
		deco -root						    \\n
EOT
    }
    settings True
    # Written as the README says, Quorlane by name among other programs: XScreenSaver finds it
    # in its programs' folder, put first on its PATH as Debian's XScreenSaver does with its own.
    PATH=$prefix/libexec/xscreensaver:$PATH xscreensaver -no-splash -verbose \
      >"$work/xscreensaver.log" 2>&1 &
    daemon=$!
    for _ in $(seq 1 100); do xscreensaver-command -time >/dev/null 2>&1 && break; sleep 0.1; done
    for grab in True False; do
      settings "$grab"  # read by the program at its start, as XScreenSaver's own do
      xscreensaver-command -activate >/dev/null
      wait_for_flight "xscreensaver-grab-$grab" "$work/shot.png" ||
        { cat "$work/xscreensaver.log" >&2; fail "no flight on the screen after -activate"; }
      share=$(desktop_share "$work/shot.png") warm=$(warm_share "$work/shot.png")
      echo "xscreensaver, grabDesktopImages $grab: desktop's colour on $share, warm on $warm"
      if [ "$grab" = True ]; then
        at_least "$share" 0.3 || fail "the maze does not show the desktop"
        # Choosing the program again ends the running show with SIGTERM while XScreenSaver
        # stays to judge how it ended (it logs an exit code as an abnormal end).
        old=$(quorlane_processes)
        xscreensaver-command -select 1 >/dev/null
        for _ in $(seq 1 300); do
          alive=0
          for p in $old; do [ -e "/proc/$p" ] && alive=1; done
          [ "$alive" = 0 ] && break
          sleep 0.1
        done
        [ "$alive" = 0 ] || fail "the show ended by -select still runs"
        wait_for_flight xscreensaver-reselected "$work/shot.png" ||
          { cat "$work/xscreensaver.log" >&2; fail "no flight after -select"; }
      else
        at_most "$share" 0.02 || fail "the desktop shows with grabDesktopImages off"
        at_least "$warm" 0.05 || fail "the maze does not show the built-in still"
      fi
      xscreensaver-command -deactivate >/dev/null
      took=$(wait_until_gone) || fail "Quorlane still runs after -deactivate: $(quorlane_processes)"
      echo "xscreensaver: -deactivate left no Quorlane process (after $took ms)"
      [ -z "$(picture_files)" ] || fail "the show left its picture: $(picture_files)"
    done
    kill "$daemon"
    wait "$daemon" 2>/dev/null || true
    if grep -i 'abnormal' "$work/xscreensaver.log" >&2; then
      fail "XScreenSaver logged the end of a show as abnormal"
    fi
    ;;
  xsecurelock)
    XSECURELOCK_SAVER=$prefix/bin/quorlane xsecurelock >"$work/xsecurelock.log" 2>&1 &
    locker=$!
    wait_for_flight xsecurelock "$work/shot.png" ||
      { cat "$work/xsecurelock.log" >&2; fail "no flight on the locked screen"; }
    white=$(white_share "$work/shot.png") warm=$(warm_share "$work/shot.png")
    echo "xsecurelock: the locked screen shows the flight; white on $white, warm on $warm"
    at_most "$white" 0.3 || fail "the locked screen glares white"
    at_least "$warm" 0.05 || fail "the locked screen does not show the built-in still"
    kill -TERM "$locker"
    took=$(wait_until_gone) || fail "Quorlane still runs after SIGTERM to xsecurelock: $(quorlane_processes)"
    echo "xsecurelock: SIGTERM left no Quorlane process (after $took ms)"
    [ -z "$(picture_files)" ] || fail "the show left its picture: $(picture_files)"
    wait "$locker" 2>/dev/null || true
    ;;
  esac
  exit 0
fi

build=$(cd "$1" && pwd)
framework=$2
command -v "$framework" >/dev/null || skip "$framework is not installed"
command -v convert >/dev/null || skip "ImageMagick is not installed"
shots=${SHOTS:-$build/framework-shots}
mkdir -p "$shots"

# The frameworks run programs only for an ordinary user, who must reach the installed tree.
user=$(id -un)
if [ "$(id -u)" = 0 ]; then
  user=quorlane-frameworks
  ordinary_user "$user" || skip "cannot make an ordinary user to run $framework as"
fi
work=$(mktemp -d /tmp/quorlane-frameworks-XXXXXX)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
# Asked for help among a framework's options, the command prints it and draws nothing.
help=$(DISPLAY= "$prefix/bin/quorlane" --root --help 2>&1) || fail "quorlane --root --help failed"
case "$help" in "Usage: quorlane"*) ;; *) fail "quorlane --root --help printed: $help" ;; esac
mkdir -p "$work/home" "$work/run"
chmod 755 "$work"
chmod 700 "$work/run"
chown "$user" "$work/home" "$work/run" "$shots"

as_user=()
[ "$(id -u)" = 0 ] && as_user=(runuser -u "$user" --)
"$root/tests/support/run-with-xvfb.sh" "${as_user[@]}" env HOME="$work/home" \
  XDG_RUNTIME_DIR="$work/run" SDL_AUDIODRIVER=dummy PATH="$PATH" \
  bash "$here/check-frameworks.sh" --on-display "$framework" "$prefix" "$work/run" "$shots"
