#!/usr/bin/env bash
# Runs one command inside a private headless sway session, as a user's session has it: XWayland,
# a session bus, PipeWire and the desktop portals, the given outputs side by side with the given
# wallpaper. Sway refuses to run as root, so as root the session (and the command) runs as an
# ordinary user made for it. The session ends with the command; its exit code is returned.
# Inside, the command has WAYLAND_DISPLAY, DISPLAY, DBUS_SESSION_BUS_ADDRESS, SWAYSOCK,
# XDG_RUNTIME_DIR and HOME (an empty folder of the user's), and SWAY_OUTPUTS (the outputs' names).
# Usage: sway-session.sh [--outputs WxH[@SCALE],...] [--wallpaper FILE] -- command args...
#   (exit 77: sway, XWayland or the portals are not installed here, or no user can be had)
set -euo pipefail
outputs=1280x800
wallpaper=
while [ $# -gt 0 ]; do
  case $1 in
  --outputs) outputs=$2; shift 2 ;;
  --wallpaper) wallpaper=$2; shift 2 ;;
  --) shift; break ;;
  *) break ;;
  esac
done
skip() { echo "sway-session: SKIPPED: $*" >&2; exit 77; }
for program in sway Xwayland dbus-run-session pipewire grim wtype; do
  command -v "$program" >/dev/null || skip "$program is not installed"
done
[ -x /usr/libexec/xdg-desktop-portal ] || skip "xdg-desktop-portal is not installed"

. "$(dirname "$0")/ordinary-user.sh"
user=$(id -un)
if [ "$(id -u)" = 0 ]; then
  user=quorlane-wayland
  ordinary_user "$user" || skip "cannot make an ordinary user to run sway as"
fi
work=$(mktemp -d /tmp/quorlane-sway-XXXXXX)
chmod 755 "$work"
mkdir -p "$work/run" "$work/home"
chmod 700 "$work/run"
chown "$user" "$work/run" "$work/home"
session_pid=
cleanup() {
  # The session's processes all belong to its user and its runtime folder: end them by id.
  if [ -n "$session_pid" ]; then kill -TERM "$session_pid" 2>/dev/null || true; fi
  for p in $(pgrep -u "$user" 2>/dev/null); do
    if tr '\0' '\n' 2>/dev/null <"/proc/$p/environ" | grep -qx "XDG_RUNTIME_DIR=$work/run"; then
      kill -KILL "$p" 2>/dev/null || true
    fi
  done
  rm -rf "$work"
}
trap cleanup EXIT

# The outputs side by side from the left; the wallpaper readable by the session's user.
config=$work/sway.conf
{
  echo "xwayland enable"
  echo "default_border none"
  x=0 n=0
  for output in ${outputs//,/ }; do
    n=$((n + 1))
    size=${output%@*} scale=1
    [ "$output" = "$size" ] || scale=${output#*@}
    line="output HEADLESS-$n resolution $size scale $scale position $x 0"
    if [ -n "$wallpaper" ]; then
      cp "$wallpaper" "$work/wallpaper.${wallpaper##*.}"
      line="$line bg $work/wallpaper.${wallpaper##*.} fill"
    fi
    echo "$line"
    # Positions are in the layout's units, an output's pixels divided by its scale.
    x=$((x + ${size%x*} / scale))
  done
  # As a user's session does: the bus's services (the portals) see the display.
  echo "exec pipewire"
  echo "exec sh -c 'dbus-update-activation-environment WAYLAND_DISPLAY DISPLAY XDG_CURRENT_DESKTOP" \
    "SWAYSOCK; env >$work/run/session.env.new && mv $work/run/session.env.new $work/run/session.env'"
} >"$config"
chmod 644 "$config" "$work"/wallpaper.* 2>/dev/null || true
names=$(seq -s, -f 'HEADLESS-%g' 1 "$n")

as_user=()
[ "$(id -u)" = 0 ] && as_user=(runuser -u "$user" --)
"${as_user[@]}" env -i PATH="$PATH" HOME="$work/home" XDG_RUNTIME_DIR="$work/run" \
  XDG_CURRENT_DESKTOP=sway WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
  WLR_HEADLESS_OUTPUTS="$n" setsid dbus-run-session -- sway -c "$config" >"$work/sway.log" 2>&1 &
session_pid=$!

# The session is ready once its start-up commands have run and XWayland answers.
for _ in $(seq 1 200); do
  [ -s "$work/run/session.env" ] && grep -q '^DISPLAY=' "$work/run/session.env" && break
  kill -0 "$session_pid" 2>/dev/null || { cat "$work/sway.log" >&2; exit 1; }
  sleep 0.05
done
grep -q '^DISPLAY=' "$work/run/session.env" 2>/dev/null || {
  cat "$work/sway.log" >&2
  echo "sway-session: the session did not start" >&2
  exit 1
}
session_env=()
while IFS= read -r line; do
  case $line in WAYLAND_DISPLAY=* | DISPLAY=* | DBUS_SESSION_BUS_ADDRESS=* | SWAYSOCK=*)
    session_env+=("$line") ;;
  esac
done <"$work/run/session.env"
for _ in $(seq 1 200); do
  "${as_user[@]}" env "${session_env[@]}" timeout 5 xdpyinfo >/dev/null 2>&1 && break
  sleep 0.05
done

sanitizer_options_for "$work"
status=0
"${as_user[@]}" env -i PATH="$PATH" HOME="$work/home" XDG_RUNTIME_DIR="$work/run" \
  XDG_CURRENT_DESKTOP=sway SWAY_OUTPUTS="$names" SDL_AUDIODRIVER=dummy "${session_env[@]}" \
  "${sanitizer_env[@]}" "$@" || status=$?
exit $status
