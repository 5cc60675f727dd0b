echo "run-show: not yet written" >&2; exit 1
