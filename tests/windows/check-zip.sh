#!/usr/bin/env bash
# Fails unless the Windows zip holds exactly the two programs, the README and the web page with
# its pictures, the README with
# Windows' line ends, and the programs as Windows programs still carrying their icon.
# Usage: check-zip.sh ZIP
set -u
zip=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cmake -E tar xf "$zip") || { echo "cannot unpack $zip" >&2; exit 1; }
status=0
names=$(cd "$work" && ls -A | LC_ALL=C sort | tr '\n' ' ')
[ "$names" = "Quorlane.dll Quorlane.scr README.txt quorlane-dialog.png quorlane-show.png quorlane.html " ] || { echo "the zip holds: $names" >&2; status=1; }
readme=$work/README.txt
if grep -q $'[^\r]$' "$readme" || grep -q '^$' "$readme" || ! grep -q "right-click Quorlane.scr" "$readme"; then
  echo "README.txt: not CR LF throughout, or not the install text" >&2; status=1
fi
for program in Quorlane.scr Quorlane.dll; do
  head -c 2 "$work/$program" | grep -q '^MZ$' || { echo "$program is no Windows program" >&2; status=1; }
  # The product's name as the version resource stores it, in UTF-16.
  LC_ALL=C grep -qaP 'Q\x00u\x00o\x00r\x00l\x00a\x00n\x00e\x00 \x00\(\x00S\x00c\x00r' "$work/$program" ||
    { echo "$program lost its version information" >&2; status=1; }
done
exit $status
