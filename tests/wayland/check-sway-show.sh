#!/usr/bin/env bash
# The installed Quorlane in a headless sway session (tests/support/sway-session.sh):
#   one, two     one output, or two of different sizes: every output's screenshot shows a moving
#                flight whose walls carry the session's wallpaper, none of the desktop left in
#                place; a key other than Escape leaves it flying; Escape ends it all, exit 0,
#                no Quorlane process left;
#   scaled       as two, the second output at scale 2 (2048x1536 pixels, 1024x768 in layout);
#   no-portal    no compositor to copy from and no portal on the bus, or
#   refused      a portal that refuses: the show says so in one
#                line on standard error, and still flies.
# The screenshots are kept in SHOTS (default BUILD_DIR/wayland-shots) to be looked at.
# Usage: check-sway-show.sh BUILD_DIR one|two|scaled|no-portal|refused   (exit 77: cannot run here)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
fail() { echo "check-sway-show: FAILED: $*" >&2; exit 1; }

. "$root/tests/support/quorlane-processes.sh"
. "$root/tests/support/picture-checks.sh"
. "$root/tests/support/session-check.sh"

# One output's screenshot, at half size: enough to tell a flight from the desktop, and four
# times quicker to compare.
output_shot() { grim -s 0.5 -o "$output" "$1"; }

if [ "${1:-}" = "--in-session" ]; then
  scenario=$2 prefix=$3 work=$4 shots=$5
  show=$prefix/lib/quorlane/Quorlane.scr
  IFS=, read -ra outputs <<<"$SWAY_OUTPUTS"
  for output in "${outputs[@]}"; do output_shot "$work/desktop-$output.png"; done
  if [ "$scenario" = no-portal ] || [ "$scenario" = refused ]; then
    # A bus of its own that can start no service, and no compositor to copy from; for
    # refused, a portal on it that refuses.
    mkdir -p "$work/no-services"
    sed "s|<standard_session_servicedirs */>|<servicedir>$work/no-services</servicedir>|" \
      /usr/share/dbus-1/session.conf >"$work/bus.conf"
    portal=
    [ "$scenario" = refused ] && portal=$root/tests/support/refusing-portal.py
    WAYLAND_DISPLAY=no-compositor-here dbus-run-session --config-file="$work/bus.conf" -- \
      bash -c 'if [ -n "$1" ]; then
                 /usr/bin/python3 "$1" >"$2/portal.out" &
                 for _ in $(seq 1 300); do grep -q ready "$2/portal.out" && break; sleep 0.1; done
               fi
               exec "$3" /s' session "$portal" "$work" "$show" 2>"$work/show.err" &
  else
    "$show" /s 2>"$work/show.err" &
  fi
  show_pid=$!
  for output in "${outputs[@]}"; do
    wait_for_flight output_shot "$work/desktop-$output.png" "$work/shot.png" ||
      { cp "$work/shot.png" "$shots/$scenario-$output-failed.png"; cat "$work/show.err" >&2;
        fail "no flight on $output"; }
    cp "$work/shot.png" "$shots/$scenario-$output.png"
    if [ "$scenario" != no-portal ] && [ "$scenario" != refused ]; then
      wallpaper_shares "$work/shot.png"
      echo "$scenario: $output flies; wallpaper's magenta on $wallpaper_magenta, cyan on $wallpaper_cyan of it"
      wallpaper_shown || fail "the walls on $output do not carry the wallpaper"
    fi
  done
  if [ "$scenario" = no-portal ] || [ "$scenario" = refused ]; then
    # The bus's own complaints are not the show's.
    grep -v '^dbus-daemon' "$work/show.err" >"$work/show-lines.err" || true
    mv "$work/show-lines.err" "$work/show.err"
    # One line says why and what to do; the show's fallback then says what it shows instead.
    grep -v '^Quorlane.scr: no picture of the desktop: showing ' "$work/show.err" \
      >"$work/show-lines.err" || true
    lines=$(grep -c . "$work/show-lines.err" || true)
    cat "$work/show.err"
    [ "$lines" = 1 ] || fail "expected one line on standard error, got $lines"
    grep -q '^Quorlane.scr: no picture of the desktop: showing the built-in picture$' \
      "$work/show.err" || fail "the show did not fall back to the built-in picture"
    if [ "$scenario" = no-portal ]; then
      grep -q "no picture of the Wayland desktop: the compositor offers no screen copy and no desktop portal takes screenshots" \
        "$work/show.err" || fail "the line does not say why"
      grep -q "install the portal" "$work/show.err" || fail "the line does not say what to do"
    else
      grep -q "no picture of the Wayland desktop: the desktop portal refused the screenshot" \
        "$work/show.err" || fail "the line does not say why"
      # sway keeps no answer to ask again for: a picture of one's own is what is left.
      grep -q "refused the screenshot; choose a picture in the settings dialog (quorlane --settings)$" \
        "$work/show.err" || fail "the line does not say what to do"
    fi
  else
    [ ! -s "$work/show.err" ] || { cat "$work/show.err" >&2; fail "the show wrote to standard error"; }
  fi

  output=${outputs[0]}
  only_escape_ends_show "wtype -k a" "wtype -k Escape" output_shot "$work/desktop-$output.png" "$work/shot.png"
  echo "$scenario: Escape ended the show with 0 and left no Quorlane process"
  exit 0
fi

build=$(cd "$1" && pwd)
scenario=$2
# In a sanitizer build, memory errors are caught here too, but not leaks: under XWayland the
# system's GL driver is unloaded before the leak check, which then finds its buffers with no
# library to name (nothing to suppress) and fails the renderer's exit. The same renderer's
# leaks are checked on X, and the capture's in its own tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
command -v convert >/dev/null || { echo "ImageMagick is not installed" >&2; exit 77; }
[ "$scenario" != refused ] || /usr/bin/python3 -c 'from gi.repository import Gio' 2>/dev/null ||
  { echo "python3-gi is not installed" >&2; exit 77; }
prepare_session_check "$build" wayland
case $scenario in
two) sizes=1280x800,1024x768 ;;
scaled) sizes=1280x800,2048x1536@2 ;;
*) sizes=1280x800 ;;
esac
"$root/tests/support/sway-session.sh" --outputs "$sizes" --wallpaper "$work/wallpaper.png" -- \
  bash "$here/check-sway-show.sh" --in-session "$scenario" "$prefix" "$work/session" "$shots"
