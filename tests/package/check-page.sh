#!/usr/bin/env bash
# Opens Quorlane's web page in a real browser (Chromium, headless) and fails unless:
#   - every picture and link of the page as the browser read it resolves: a file beside the
#     page (a picture a PNG), or an anchor the page has; the browser reported no load error;
#   - it renders with its first picture, the show, in sight: the screenshot's upper part is
#     largely the show's colours, not only text on white.
# The screenshot is kept in SHOT when it is given, to be looked at.
# Usage: check-page.sh PAGE.html [SHOT.png]   (exit 77: no Chromium here)
set -euo pipefail
fail() { echo "check-page: FAILED: $*" >&2; exit 1; }
page=$(readlink -f "$1")
dir=$(dirname "$page")
browser=$(command -v chromium || command -v chromium-browser || true)
[ -n "$browser" ] || { echo "check-page: SKIPPED: no chromium" >&2; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
shot=${2:-$work/shot.png}
# A profile of its own; no sandbox, which needs what a root CI run lacks.
run_browser() {
  HOME=$work "$browser" --headless --no-sandbox --disable-gpu --no-first-run \
    --user-data-dir="$work/profile" --enable-logging=stderr --v=0 "$@"
}
run_browser --dump-dom "file://$page" >"$work/dom.html" 2>"$work/dump.log" ||
  { cat "$work/dump.log" >&2; fail "chromium could not open $page"; }
grep -q '<h1>Quorlane</h1>' "$work/dom.html" || fail "the page as read has no title heading"
! grep -E 'ERR_FILE_NOT_FOUND|Failed to load resource|Not allowed to load' "$work/dump.log" ||
  fail "the browser could not load a part of the page (above)"

count=0
while IFS= read -r ref; do
  count=$((count + 1))
  case "$ref" in
  https://* | http://* | mailto:*) ;;  # outside: not checked offline
  \#*) grep -q "id=\"${ref#\#}\"" "$work/dom.html" || fail "no anchor $ref" ;;
  *)
    target=$dir/${ref%%#*}
    [ -f "$target" ] || fail "$ref does not resolve beside the page"
    case "$ref" in *.png) [ "$(head -c 8 "$target" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] ||
      fail "$ref is no PNG" ;; esac
    ;;
  esac
done < <(grep -oE '(src|href)="[^"]*"' "$work/dom.html" | sed -E 's/^(src|href)="(.*)"$/\2/')
[ "$count" -ge 2 ] || fail "the page has $count pictures and links; the two pictures at least"

run_browser --screenshot="$shot" --window-size=1000,1000 --hide-scrollbars "file://$page" \
  >"$work/shot.log" 2>&1 || { cat "$work/shot.log" >&2; fail "no screenshot"; }
# The share of strongly coloured pixels: text on white has almost none, the show picture many.
coloured=$(convert "$shot" -colorspace HSL -channel G -separate -threshold 40% -format '%[fx:mean]' info:)
awk -v c="$coloured" 'BEGIN { exit !(c > 0.03) }' ||
  fail "the page shows no picture in sight (coloured share $coloured; screenshot $shot)"
echo "page: $count pictures and links resolve; coloured share of the first screen $coloured"
