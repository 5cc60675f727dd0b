# Sourced. The sanitizers' options for a program run as another user (a sanitizer build run
# as root): the leak checker's suppressions, in a source tree that user may not reach, are
# copied into a folder the user can read. Without them the leaks of the system's graphics
# drivers fail a renderer's exit, and a show takes that for a renderer that failed.
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
