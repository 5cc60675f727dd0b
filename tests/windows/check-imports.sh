#!/usr/bin/env bash
# Fails when a Windows program imports a DLL that is not part of Windows itself: the programs
# are linked statically and ship without companions.
# Usage: check-imports.sh OBJDUMP PROGRAM...
set -u
objdump=$1; shift
allowed=" advapi32.dll comdlg32.dll gdi32.dll glu32.dll kernel32.dll msimg32.dll msvcrt.dll ole32.dll oleaut32.dll opengl32.dll shell32.dll user32.dll version.dll windowscodecs.dll winmm.dll "
status=0
for program in "$@"; do
  dlls=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
  [ -n "$dlls" ] || { echo "$program: no imports found" >&2; status=1; }
  for dll in $dlls; do
    case "$allowed" in
    *" $dll "*) ;;
    *) echo "$program imports $dll, which Windows does not have" >&2; status=1 ;;
    esac
  done
done
exit $status
