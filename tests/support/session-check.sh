# Sourced by the checks that run the installed Quorlane in a desktop session as an ordinary
# user. prepare_session_check BUILD NAME installs BUILD into a scratch folder that user can
# read, with a folder for the session's own files it may write, and makes the session's
# wallpaper there; sets work, prefix and shots (SHOTS, default BUILD/wayland-shots, kept to be
# looked at). The scratch folder goes when the check ends.
prepare_session_check() {
  shots=${SHOTS:-$1/wayland-shots}
  mkdir -p "$shots"
  work=$(mktemp -d "/tmp/quorlane-$2-XXXXXX")
  trap 'rm -rf "$work"' EXIT
  prefix=$work/prefix
  cmake --install "$1" --prefix "$prefix" >/dev/null
  mkdir -p "$work/session"
  chmod 755 "$work"
  chmod 777 "$work/session" "$shots"
  make_wallpaper "$work/wallpaper.png"
}
