#!/usr/bin/env bash
# Runs the accessibility check on its own session bus and accessibility bus: the program under
# test and the Python reader meet there, not on the desktop's buses.
# Usage: run.sh PROGRAM SOURCE_DIR
set -euo pipefail
[ -n "${DISPLAY:-}" ] || { echo "no X display: skipped"; exit 77; }
program=$1
source_dir=$2
exec dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  launcher=$!
  trap "kill $launcher 2>/dev/null" EXIT
  sleep 0.5
  /usr/bin/python3 "$1/tests/a11y/atspi_tree.py" "$2" "$1"
' bash "$source_dir" "$program"
