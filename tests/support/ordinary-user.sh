# Sourced. Running a test's programs as an ordinary user when the suite runs as root: the
# frameworks and sway run nothing as root, and permission checks do not bind root.

# The user NAME, made if missing (two tests may make it at once: one wins, both then find it);
# fails when there is none to be had.
ordinary_user() {
  id "$1" >/dev/null 2>&1 || useradd --create-home --shell /bin/sh "$1" 2>/dev/null || true
  id "$1" >/dev/null 2>&1
}

# The sanitizers' options for a program run as that user (a sanitizer build run as root): the
# leak checker's suppressions, in a source tree the user may not reach, are copied into a
# folder the user can read. Without them the leaks of the system's graphics drivers fail a
# renderer's exit, and a show takes that for a renderer that failed.
# sanitizer_options_for FOLDER   sets LSAN_OPTIONS to the copy and sanitizer_env to the
#                                NAME=value words to hand to `env -i`.
sanitizer_options_for() {
  local folder=$1 name
  if [[ "${LSAN_OPTIONS:-}" =~ suppressions=([^:]*) ]]; then
    cp "${BASH_REMATCH[1]}" "$folder/lsan.supp"
    chmod 644 "$folder/lsan.supp"
    LSAN_OPTIONS=${LSAN_OPTIONS/"${BASH_REMATCH[1]}"/$folder/lsan.supp}
  fi
  sanitizer_env=()
  for name in ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS TSAN_OPTIONS; do
    [ -z "${!name:-}" ] || sanitizer_env+=("$name=${!name}")
  done
}
