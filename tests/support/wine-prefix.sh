#!/usr/bin/env bash
# A fresh Wine prefix for one run of the Windows tests, in a temporary folder.
#   wine-prefix.sh create RECORD   makes the prefix and writes its path into RECORD
#   wine-prefix.sh remove RECORD   stops its wineserver and deletes it
#   wine-prefix.sh run RECORD PROGRAM ARGS...   runs a Windows program in it
#   wine-prefix.sh once PROGRAM ARGS...   all three for one program, with its own prefix
# Without Mono or Gecko (their install prompts would wait for a user), and quiet.
set -u
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=wine64
action=$1; shift
if [ "$action" = once ]; then
  record=$(mktemp)
  "$0" create "$record" || { rm -f "$record"; exit 1; }
  "$0" run "$record" "$@"
  rc=$?
  "$0" remove "$record"
  exit $rc
fi
record=$1; shift
case "$action" in
create)
  prefix=$(mktemp -d "${TMPDIR:-/tmp}/quorlane-wine.XXXXXX") || exit 1
  WINEPREFIX=$prefix "$wine" wineboot -i >/dev/null 2>&1
  rc=$?
  # wineboot can return before its last registry writes; wait for them.
  WINEPREFIX=$prefix wineserver -w
  [ $rc -eq 0 ] && [ -f "$prefix/system.reg" ] || { echo "wine-prefix: wineboot failed" >&2; exit 1; }
  echo "$prefix" >"$record"
  ;;
remove)
  [ -s "$record" ] || exit 0
  prefix=$(cat "$record")
  WINEPREFIX=$prefix wineserver -k 2>/dev/null
  case "$prefix" in */quorlane-wine.*) rm -rf "$prefix" ;; esac
  rm -f "$record"
  ;;
run)
  [ -s "$record" ] || { echo "wine-prefix: no prefix recorded in $record" >&2; exit 1; }
  WINEPREFIX=$(cat "$record") exec "$wine" "$@"
  ;;
*)
  echo "usage: wine-prefix.sh create|remove|run RECORD ... | once PROGRAM ..." >&2
  exit 2
  ;;
esac
