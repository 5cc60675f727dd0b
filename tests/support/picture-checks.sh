# Sourced. What a screenshot of a show looks like, by ImageMagick, for the session tests.

# The share of a picture's pixels near a colour given as r,g,b fractions.
colour_share() {
  convert "$1" -scale 50% -fx "(abs(r-$2)<0.2 && abs(g-$3)<0.2 && abs(b-$4)<0.2) ? 1 : 0" \
    -format '%[fx:mean]' info:
}

# The desktop's wallpaper in the session tests: magenta and cyan halves, which no flight shows
# by chance. make_wallpaper FILE
make_wallpaper() {
  convert -size 640x800 xc:'#ff00ff' -size 640x800 xc:'#00ffff' +append "$1"
}

# The shares of SHOT near the wallpaper's two colours, in wallpaper_magenta and wallpaper_cyan.
wallpaper_shares() {
  wallpaper_magenta=$(colour_share "$1" 1 0 1)
  wallpaper_cyan=$(colour_share "$1" 0 1 1)
}

# Whether the shares last measured show the wallpaper on the walls (over a twentieth each), or
# none of it (under a hundredth each).
wallpaper_shown() {
  awk -v m="$wallpaper_magenta" -v c="$wallpaper_cyan" 'BEGIN { exit !(m > 0.05 && c > 0.05) }'
}
wallpaper_absent() {
  awk -v m="$wallpaper_magenta" -v c="$wallpaper_cyan" 'BEGIN { exit !(m < 0.01 && c < 0.01) }'
}

# Whether SHOT could be a frame of a flight: not of one colour, and unlike the DESKTOP the
# screen showed before over half its pixels (the two the same size).
unlike_desktop() {
  local differing
  [ "$(convert "$1" -format '%[fx:standard_deviation > 0.02]' info:)" = 1 ] || return 1
  differing=$(compare -metric AE -fuzz 3% "$2" "$1" null: 2>&1 || true)
  [ "$(convert "$1" -format "%[fx:$differing > 0.5 * w * h]" info:)" = 1 ]
}

# Waits until a screen shows a moving flight: two frames unlike the desktop that differ.
# wait_for_flight TAKE DESKTOP SHOT   TAKE is a command that writes a screenshot to the file it
# is given; the later frame is left in SHOT. Fails after 200 tries.
wait_for_flight() {
  local take=$1 desktop=$2 shot=$3 previous=$3.previous
  rm -f "$previous"
  for _ in $(seq 1 200); do
    if ! $take "$shot"; then
      sleep 0.1
      continue
    fi
    if unlike_desktop "$shot" "$desktop"; then
      [ -f "$previous" ] && ! compare -metric AE "$previous" "$shot" null: 2>/dev/null && return 0
      cp "$shot" "$previous"
    fi
    sleep 0.1
  done
  return 1
}
