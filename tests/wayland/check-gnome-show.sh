#!/usr/bin/env bash
# The installed Quorlane in a headless GNOME session (tests/support/gnome-session.sh), where the
# desktop asks the user before a program's first screenshot without a dialog:
#   dialog       two monitors of different sizes; nothing allowed yet. Saving the settings
#                dialog with the desktop picture chosen makes GNOME ask; once allowed there,
#                the dialog ends and a show's walls carry the wallpaper on every monitor, a key
#                other than Escape leaves it flying, Escape ends it all with 0, nothing left;
#   not-allowed  nothing allowed: the show never asks the portal (which would put GNOME's
#                question under the show), says so in one line and flies with the built-in
#                picture; Escape ends it.
# The screenshots are kept in SHOTS (default BUILD_DIR/wayland-shots) to be looked at.
# Usage: check-gnome-show.sh BUILD_DIR dialog|not-allowed   (exit 77: cannot run here)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
fail() { echo "check-gnome-show: FAILED: $*" >&2; exit 1; }

. "$root/tests/support/quorlane-processes.sh"
. "$root/tests/support/picture-checks.sh"
. "$root/tests/support/session-check.sh"
. "$root/tests/support/gnome-permission.sh"
. "$root/tests/support/gnome-keyboard.sh"

keys() { press_keys "$@" || fail "the session's keyboard is gone"; }

# One monitor's part of a screenshot of the whole session, at half size: enough to tell a
# flight from the desktop, and four times quicker to compare.
monitor_shot() {
  /usr/bin/python3 "$GNOME_SESSION_TOOLS/gnome-screenshot.py" "$work/whole.png" &&
    convert "$work/whole.png" -crop "$monitor" +repage -scale 50% "$1"
}

# Waits until the bus has carried a call matching a dbus-monitor log's pattern, for at most
# TRIES tenths of a second (default 300).
wait_for_call() {
  for _ in $(seq 1 "${3:-300}"); do grep -q "$2" "$1" && return 0; sleep 0.1; done
  return 1
}

if [ "${1:-}" = "--in-session" ]; then
  scenario=$2 prefix=$3 work=$4 shots=$5
  show=$prefix/lib/quorlane/Quorlane.scr
  # The monitors as XWayland lists them: WxH+X+Y each.
  mapfile -t monitors < <(xrandr --listmonitors | awk 'NR > 1 { g = $3; gsub(/\/[0-9]+/, "", g); print g }')
  [ "${#monitors[@]}" -gt 0 ] || fail "XWayland lists no monitor"
  allow_screenshots
  for monitor in "${monitors[@]}"; do monitor_shot "$work/desktop-$monitor.png"; done
  forget_screenshots
  dbus-monitor --session "type='method_call',interface='org.freedesktop.portal.Screenshot'" \
    "type='method_call',interface='org.freedesktop.impl.portal.Access'" >"$work/bus.log" 2>&1 &
  monitor_pid=$!
  wait_for_call "$work/bus.log" "member=NameAcquired" || fail "cannot watch the session bus"

  if [ "$scenario" = dialog ]; then
    "$show" /c 2>"$work/dialog.err" &
    dialog_pid=$!
    for _ in $(seq 1 300); do
      dialog=$(xdotool search --name '^<Quorlane>$' 2>/dev/null | head -1 || true)
      [ -n "$dialog" ] && xwininfo -id "$dialog" | grep -q 'IsViewable' && break
      sleep 0.1
    done
    [ -n "$dialog" ] || fail "no settings dialog"
    echo "dialog: the settings dialog is open"
    eval "$(xwininfo -id "$dialog" | awk '/Absolute upper-left X/ { print "x=" $4 }
                                           /Absolute upper-left Y/ { print "y=" $4 }')"
    # 設定 (its centre in the dialog), with the desktop picture chosen as it is by default;
    # again until GNOME asks, should a click come before the dialog takes clicks.
    for _ in $(seq 1 20); do
      xdotool mousemove $((x + 270)) $((y + 268)) click 1
      wait_for_call "$work/bus.log" "member=AccessDialog" 10 && break
    done
    grep -q "member=AccessDialog" "$work/bus.log" ||
      { cat "$work/dialog.err" >&2; fail "GNOME did not ask the user"; }
    echo "dialog: saved; GNOME asks"
    # GNOME's question, Deny focused: Allow.
    for _ in $(seq 1 20); do
      allowed_screenshots && break
      keys Right Return
      sleep 0.2
    done
    allowed_screenshots || fail "the user's yes was not stored"
    status=0
    for _ in $(seq 1 300); do kill -0 "$dialog_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$dialog_pid" 2>/dev/null && { kill "$dialog_pid"; fail "the dialog did not end once allowed"; }
    wait "$dialog_pid" || status=$?
    [ "$status" = 0 ] || { cat "$work/dialog.err" >&2; fail "the dialog ended with $status"; }
    [ ! -s "$work/dialog.err" ] || { cat "$work/dialog.err" >&2; fail "the dialog wrote to standard error"; }
    echo "dialog: GNOME asked once the settings were saved; allowed, the dialog ended with 0"
    : >"$work/bus.log"
  fi

  "$show" /s 2>"$work/show.err" &
  show_pid=$!
  # Its capture is done before its first window.
  for _ in $(seq 1 300); do xdotool search --name '^Torvane_VC$' >/dev/null 2>&1 && break; sleep 0.1; done
  if [ "$scenario" = not-allowed ]; then
    for _ in $(seq 1 300); do grep -q 'showing the built-in picture' "$work/show.err" && break; sleep 0.1; done
    cat "$work/show.err"
    [ "$(grep -c . "$work/show.err")" = 2 ] || fail "expected the reason and the fallback, two lines"
    grep -q '^Quorlane.scr: no picture of the Wayland desktop: the desktop has not allowed screenshots without asking, and a show cannot ask; allow them once by saving the settings dialog (quorlane --settings) with the desktop picture chosen' \
      "$work/show.err" || fail "the line does not say why and what to do"
    grep -q '^Quorlane.scr: no picture of the desktop: showing the built-in picture$' \
      "$work/show.err" || fail "the show did not fall back to the built-in picture"
    ! grep -q "member=Screenshot\|member=AccessDialog" "$work/bus.log" ||
      fail "the show asked the portal: $(grep member= "$work/bus.log")"
    echo "not-allowed: the show did not ask the portal, and said so"
    # Now the test itself may look.
    allow_screenshots
  fi
  for monitor in "${monitors[@]}"; do
    wait_for_flight monitor_shot "$work/desktop-$monitor.png" "$work/shot.png" ||
      { cp "$work/shot.png" "$shots/gnome-$scenario-$monitor-failed.png"; cat "$work/show.err" >&2;
        fail "no flight on $monitor"; }
    cp "$work/shot.png" "$shots/gnome-$scenario-$monitor.png"
    wallpaper_shares "$work/shot.png"
    echo "$scenario: $monitor flies; wallpaper's magenta on $wallpaper_magenta, cyan on $wallpaper_cyan of it"
    if [ "$scenario" = dialog ]; then
      wallpaper_shown || fail "the walls on $monitor do not carry the wallpaper"
    else
      wallpaper_absent || fail "the walls on $monitor carry the wallpaper the show was not allowed to take"
    fi
  done
  [ "$scenario" != dialog ] || [ ! -s "$work/show.err" ] ||
    { cat "$work/show.err" >&2; fail "the show wrote to standard error"; }
  kill "$monitor_pid" 2>/dev/null || true

  monitor=${monitors[0]}
  only_escape_ends_show "keys a" "keys Escape" monitor_shot "$work/desktop-$monitor.png" "$work/shot.png"
  echo "$scenario: Escape ended the show with 0 and left no Quorlane process"
  exit 0
fi

build=$(cd "$1" && pwd)
scenario=$2
# As in the sway session: memory errors are caught, not leaks (the GL driver is unloaded
# before the leak check under XWayland).
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
for program in convert xdotool xwininfo dbus-monitor; do
  command -v "$program" >/dev/null || { echo "$program is not installed" >&2; exit 77; }
done
prepare_session_check "$build" gnome-check
case $scenario in
dialog) sizes=1280x800,1024x768 ;;
*) sizes=1280x800 ;;
esac
"$root/tests/support/gnome-session.sh" --monitors "$sizes" --wallpaper "$work/wallpaper.png" -- \
  bash "$here/check-gnome-show.sh" --in-session "$scenario" "$prefix" "$work/session" "$shots"
