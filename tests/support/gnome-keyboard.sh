# Sourced. press_keys KEYS... taps the keys, as xdotool names them, on the keyboard of a session
# of gnome-session.sh (GNOME_KEYS, the FIFO gnome-keys.py reads). A write waits for the reader,
# so it gives up after five seconds should the reader be gone.
press_keys() { timeout 5 bash -c 'echo "$1" >"$2"' press_keys "$*" "$GNOME_KEYS"; }
