#!/usr/bin/env bash
# Runs one command inside a private headless GNOME session (GNOME Shell on Wayland), as a
# user's session has it: XWayland, a session bus, the desktop portals, the given monitors side
# by side with the given wallpaper, at the desktop (not the overview it starts in).
# GNOME Shell needs a system bus and, without systemd-logind, must not see /run/systemd; so as
# root the session gets a private system bus and /run in a mount and process namespace of its
# own (all it started ends with it) and runs as an ordinary user made for it.
# Inside, the command has WAYLAND_DISPLAY, DISPLAY, XAUTHORITY, DBUS_SESSION_BUS_ADDRESS,
# XDG_RUNTIME_DIR and HOME (an empty folder of the user's), XDG_CURRENT_DESKTOP=GNOME, and
# GNOME_SESSION_TOOLS (this folder, for gnome-screenshot.py) and GNOME_KEYS (a FIFO: each
# line written to it names keys the session's keyboard taps, as gnome-keys.py says).
# Usage: gnome-session.sh [--monitors WxH,WxH...] [--wallpaper FILE] -- command args...
#   (exit 77: not root, or GNOME Shell, its portal or XWayland is not installed here)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
monitors=1280x800
wallpaper=
while [ $# -gt 0 ]; do
  case $1 in
  --monitors) monitors=$2; shift 2 ;;
  --wallpaper) wallpaper=$2; shift 2 ;;
  --) shift; break ;;
  *) break ;;
  esac
done
skip() { echo "gnome-session: SKIPPED: $*" >&2; exit 77; }
. "$here/ordinary-user.sh"
. "$here/gnome-keyboard.sh"

if [ "${GNOME_SESSION_INSIDE:-}" != 1 ]; then
  [ "$(id -u)" = 0 ] || skip "a private system bus for GNOME Shell needs root"
  for program in gnome-shell Xwayland dbus-run-session dbus-daemon unshare runuser xrandr; do
    command -v "$program" >/dev/null || skip "$program is not installed"
  done
  for service in xdg-desktop-portal xdg-desktop-portal-gnome; do
    [ -x "/usr/libexec/$service" ] || skip "$service is not installed"
  done
  /usr/bin/python3 -c 'from gi.repository import Gio' 2>/dev/null || skip "python3-gi is not installed"
  ordinary_user quorlane-gnome || skip "cannot make an ordinary user to run GNOME Shell as"
  # PID 1 of a namespace of its own: when this ends, the kernel ends all the session started.
  exec env GNOME_SESSION_INSIDE=1 unshare --mount --pid --fork --mount-proc --propagation private \
    bash "$0" --monitors "$monitors" --wallpaper "$wallpaper" -- "$@"
fi

user=quorlane-gnome
work=$(mktemp -d /tmp/quorlane-gnome-XXXXXX)
cleanup() {
  # As the namespace's first process: end all the session started, then what it mounted.
  kill -KILL -1 2>/dev/null || true
  { wait; } 2>/dev/null || true
  umount -l "$work/run/doc" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"
mkdir -p "$work/run" "$work/home"
chmod 700 "$work/run"
chown "$user" "$work/run" "$work/home"
mount -t tmpfs none /run
mkdir -p /run/dbus /run/user
dbus-daemon --system --fork

if [ -n "$wallpaper" ]; then
  cp "$wallpaper" "$work/wallpaper.${wallpaper##*.}"
  chmod 644 "$work/wallpaper.${wallpaper##*.}"
  wallpaper=$work/wallpaper.${wallpaper##*.}
fi
shell_args=(--headless --wayland)
for size in ${monitors//,/ }; do shell_args+=(--virtual-monitor "$size"); done
# The settings the session starts with, then GNOME Shell; the bus's address for the command.
cat >"$work/start.sh" <<INNER
set -e
if [ -n "$wallpaper" ]; then
  gsettings set org.gnome.desktop.background picture-uri "file://$wallpaper"
  gsettings set org.gnome.desktop.background picture-uri-dark "file://$wallpaper"
  gsettings set org.gnome.desktop.background picture-options stretched
fi
gsettings set org.gnome.desktop.interface enable-animations false
gsettings set org.gnome.desktop.session idle-delay 0
echo "\$DBUS_SESSION_BUS_ADDRESS" >"$work/run/bus.new" && mv "$work/run/bus.new" "$work/run/bus"
exec gnome-shell ${shell_args[*]}
INNER
chmod 644 "$work/start.sh"
runuser -u "$user" -- env -i PATH="$PATH" HOME="$work/home" XDG_RUNTIME_DIR="$work/run" \
  XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=wayland \
  dbus-run-session -- bash "$work/start.sh" >"$work/shell.log" 2>&1 &
session_pid=$!
disown

fail_start() { cat "$work/shell.log" >&2; echo "gnome-session: $*" >&2; exit 1; }
# As XWayland comes up, GNOME Shell 43 starts ibus-daemon through a fork whose child runs
# JavaScript before it executes the program. Now and then (two session starts of six here)
# that child deadlocks on a lock another of the shell's threads held at the fork, and the
# shell, waiting for the child, stops for good: XWayland never answers. ibus-daemon is no part
# of these sessions; a child of GNOME Shell still GNOME Shell seconds after its fork is such a
# child, and ending it lets the shell go on as if the program had started.
end_stuck_forks() {
  local shell child
  for shell in $(pgrep -x gnome-shell); do
    for child in $(pgrep -x -P "$shell" gnome-shell); do
      [ "$(ps -o etimes= -p "$child" | tr -d ' ')" -lt 5 ] 2>/dev/null && continue
      kill -KILL "$child" 2>/dev/null && echo "gnome-session: ended GNOME Shell's stuck fork" >&2
    done
  done
  return 0
}
# Ready once XWayland answers and GNOME Shell is on the bus. The waits below are bounded by
# this deadline too, which only stops a session that never comes up.
deadline=$((SECONDS + 180))
display= auth=
for _ in $(seq 1 300); do
  [ "$SECONDS" -lt "$deadline" ] || break
  kill -0 "$session_pid" 2>/dev/null || fail_start "GNOME Shell ended"
  end_stuck_forks
  if [ -z "$display" ]; then
    display=$(pgrep -a Xwayland | grep -o ' :[0-9]*' | head -1 | tr -d ' ' || true)
    auth=$(ls "$work"/run/.mutter-Xwaylandauth.* 2>/dev/null | head -1 || true)
  fi
  [ -n "$display" ] && [ -n "$auth" ] && [ -s "$work/run/bus" ] && break
  sleep 0.1
done
[ -n "$display" ] && [ -s "$work/run/bus" ] || fail_start "the session did not start"
session_env=(PATH="$PATH" HOME="$work/home" XDG_RUNTIME_DIR="$work/run"
  XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wayland-0
  DISPLAY="$display" XAUTHORITY="$auth" DBUS_SESSION_BUS_ADDRESS="$(cat "$work/run/bus")"
  GNOME_SESSION_TOOLS="$here" GNOME_KEYS="$work/run/keys")
as_user() { runuser -u "$user" -- env -i "${session_env[@]}" "$@"; }
shell_property() {
  as_user gdbus call --timeout 5 --session --dest org.gnome.Shell --object-path /org/gnome/Shell \
    --method org.freedesktop.DBus.Properties.Get org.gnome.Shell "$1" 2>/dev/null
}
for _ in $(seq 1 300); do
  [ "$SECONDS" -lt "$deadline" ] || fail_start "GNOME Shell did not come up"
  end_stuck_forks
  # An X server that has taken its connection but not yet answers would hold xdpyinfo for good.
  as_user timeout 5 xdpyinfo >/dev/null 2>&1 && [ -n "$(shell_property OverviewActive)" ] && break
  sleep 0.1
done
as_user /usr/bin/python3 "$here/gnome-keys.py" "$work/run/keys" >"$work/keys.log" 2>&1 &
disown
for _ in $(seq 1 300); do [ -p "$work/run/keys" ] && break; sleep 0.1; done
[ -p "$work/run/keys" ] || { cat "$work/keys.log" >&2; fail_start "no keyboard for the session"; }
# GNOME Shell starts in the overview; a user's idle desktop is not in it.
for _ in $(seq 1 50); do
  [ "$SECONDS" -lt "$deadline" ] || break
  [ "$(shell_property OverviewActive)" = "(<false>,)" ] && break
  GNOME_KEYS=$work/run/keys press_keys Escape || break
  sleep 0.1
done
[ "$(shell_property OverviewActive)" = "(<false>,)" ] || fail_start "the overview did not close"

echo "gnome-session: up in $SECONDS s, at its desktop"
sanitizer_options_for "$work"
status=0
as_user SDL_AUDIODRIVER=dummy "${sanitizer_env[@]}" "$@" || status=$?
exit $status
