# Sourced by the whole-session checks: every process of the Quorlane installed in $prefix,
# whoever runs it, one process id a line.
quorlane_processes() {
  local p exe
  for p in /proc/[0-9]*; do
    exe=$(readlink "$p/exe" 2>/dev/null) || continue
    case "$exe" in "$prefix"/lib/quorlane/*) echo "${p#/proc/}" ;; esac
  done
}
