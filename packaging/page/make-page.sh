#!/usr/bin/env bash
# Makes Quorlane's web page from README.md: the part between the lines "<!-- page -->" and
# "<!-- /page -->", in Markdown turned to HTML by cmark-gfm (GitHub's tables). The README's
# pictures are packaging/page/quorlane-*.png; on the page they lie beside it, so their folder is
# dropped. Usage: make-page.sh README.md OUT.html
set -euo pipefail
readme=$1
out=$2
command -v cmark-gfm >/dev/null || { echo "make-page: cmark-gfm is needed (Debian package cmark-gfm)" >&2; exit 1; }
part=$(sed -n '/^<!-- page -->$/,/^<!-- \/page -->$/p' "$readme" | sed '1d;$d')
[ -n "$part" ] || { echo "make-page: $readme has no <!-- page --> part" >&2; exit 1; }
body=$(sed 's|(packaging/page/\(quorlane-[a-z0-9-]*\.png\))|(\1)|g' <<<"$part" |
  cmark-gfm --extension table --extension autolink)
tmp=$out.tmp
cat >"$tmp" <<HTML
<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Quorlane</title>
<style>
body { max-width: 52em; margin: 2em auto; padding: 0 1em; font: 16px/1.5 sans-serif; color: #222; }
h1 { font-size: 2.2em; margin-bottom: 0.2em; }
h2 { border-bottom: 1px solid #ccc; margin-top: 1.6em; }
pre, code { font-family: monospace; background: #f3f3f3; }
pre { padding: 0.6em; overflow-x: auto; }
table { border-collapse: collapse; }
th, td { border: 1px solid #ccc; padding: 0.3em 0.5em; vertical-align: top; }
img { max-width: 100%; height: auto; border: 1px solid #ccc; }
</style>
</head>
<body>
<h1>Quorlane</h1>
$body
</body>
</html>
HTML
mv "$tmp" "$out"
