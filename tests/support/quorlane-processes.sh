# Sourced by the whole-session checks: every process of the Quorlane installed in $prefix,
# whoever runs it, one process id a line.
quorlane_processes() {
  local p exe
  for p in /proc/[0-9]*; do
    exe=$(readlink "$p/exe" 2>/dev/null) || continue
    case "$exe" in "$prefix"/lib/quorlane/*) echo "${p#/proc/}" ;; esac
  done
}

# Presses Escape with the command given, again while the show $show_pid runs (a key right after
# a session starts may be lost), then requires it to have ended with 0 leaving no Quorlane
# process. The caller has fail() and the show's standard error in $work/show.err.
escape_ends_show() {
  local press=$1 status=0
  for _ in $(seq 1 100); do
    kill -0 "$show_pid" 2>/dev/null || break
    $press
    sleep 0.1
  done
  if kill -0 "$show_pid" 2>/dev/null; then
    cat "$work/show.err" >&2
    kill "$show_pid"
    fail "Escape did not end the show"
  fi
  wait "$show_pid" || status=$?
  [ "$status" = 0 ] || fail "the show ended with $status after Escape"
  for _ in $(seq 1 100); do [ -z "$(quorlane_processes)" ] && break; sleep 0.05; done
  [ -z "$(quorlane_processes)" ] || fail "Quorlane still runs after Escape: $(quorlane_processes)"
}

# Another key (PRESS_OTHER) leaves the flight going, as wait_for_flight sees with TAKE against
# DESKTOP into SHOT; then Escape (PRESS_ESCAPE) ends the show, as escape_ends_show requires.
# only_escape_ends_show PRESS_OTHER PRESS_ESCAPE TAKE DESKTOP SHOT
only_escape_ends_show() {
  $1
  wait_for_flight "$3" "$4" "$5" || fail "the flight stopped after a key"
  kill -0 "$show_pid" 2>/dev/null || fail "a key other than Escape ended the show"
  escape_ends_show "$2"
}
