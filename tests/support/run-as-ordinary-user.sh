#!/usr/bin/env bash
# Runs a test program as an ordinary user when the suite runs as root, so that its checks of
# file permissions (which do not bind root) run instead of skipping; as anyone else it simply
# runs the program. The program is copied into a folder of its own that the user can read, as
# the build tree may not be (a clone in root's home), and runs with a home and a temporary
# folder of the user's. Usage: run-as-ordinary-user.sh PROGRAM [ARGUMENTS...]
set -euo pipefail
[ "$(id -u)" = 0 ] || exec "$@"
. "$(dirname "$0")/ordinary-user.sh"
user=quorlane-tests
ordinary_user "$user" || { echo "no ordinary user to run $1 as" >&2; exit 1; }
work=$(mktemp -d /tmp/quorlane-as-user-XXXXXX)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
program=$work/$(basename "$1")
cp "$1" "$program"
shift
mkdir "$work/home" "$work/tmp"
sanitizer_options_for "$work"
chown "$user" "$work/home" "$work/tmp"
# Not exec'd: the trap removes the copy afterwards.
status=0
runuser -u "$user" -- env -u XDG_CONFIG_HOME HOME="$work/home" TMPDIR="$work/tmp" \
  "$program" "$@" || status=$?
exit $status
