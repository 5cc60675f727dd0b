#!/usr/bin/env bash
# Runs one command on a private Xvfb display (1920x1080x24) and stops the server after it,
# so tests that open windows never share a screen and can run in parallel.
# Usage: run-with-xvfb.sh [--wm] command args...   (--wm also starts openbox first)
# Env: QUORLANE_XVFB_SCREEN, another screen size (WIDTHxHEIGHTxDEPTH) for a benchmark.
set -u
want_wm=0
if [ "${1:-}" = "--wm" ]; then want_wm=1; shift; fi

fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${QUORLANE_XVFB_SCREEN:-1920x1080x24}" -noreset -nolisten tcp 3>"$fdfile" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [ -s "$fdfile" ] && break
  sleep 0.05
done
if [ ! -s "$fdfile" ]; then
  echo "run-with-xvfb: Xvfb did not start" >&2
  kill "$xvfb_pid" 2>/dev/null
  rm -f "$fdfile"
  exit 1
fi
export DISPLAY=":$(head -n1 "$fdfile")"
rm -f "$fdfile"

wm_pid=
if [ "$want_wm" = 1 ]; then
  openbox >/dev/null 2>&1 &
  wm_pid=$!
  for _ in $(seq 1 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
  done
fi

"$@"
rc=$?
[ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
kill "$xvfb_pid" 2>/dev/null
wait "$xvfb_pid" 2>/dev/null
exit $rc
