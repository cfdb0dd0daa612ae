#!/usr/bin/env bash
# Runs the benchmark RUNS times (default 3) and prints each run's figures and the medians.
# Without a DISPLAY it starts its own Xvfb (1920x1200, 96 dpi) and stops it at the end.
#   BUILD_DIR=build-bench RUNS=3 bash bench/run.sh [zeltomil_bench options]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
case $build in /*) ;; *) build=$root/$build ;; esac
bench=$build/bench/zeltomil_bench
[ -x "$bench" ] || { echo "no $bench: build first (cmake --build $build)" >&2; exit 1; }
runs=${RUNS:-3}

xvfb_pid=""
results=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ -n "$results" ] && rm -f "$results"
  return 0
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP PIPE # the Xvfb is stopped on these too
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 70 99); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1920x1200x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    break
  done
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-xcb}

results=$(mktemp)
for i in $(seq "$runs"); do
  echo "== run $i of $runs (nproc $(nproc))"
  "$bench" "$@" | tee -a "$results"
done
echo "== medians of $runs runs (nproc $(nproc))"
grep '^RESULT ' "$results" | sed 's/^RESULT //' | tr ' ' '\n' | awk -F= '
  { values[$1] = values[$1] " " $2; if (!($1 in seen)) { seen[$1] = 1; order[++n] = $1 } }
  END {
    for (i = 1; i <= n; i++) {
      k = order[i]; m = split(substr(values[k], 2), v, " ")
      for (a = 1; a <= m; a++) for (b = a + 1; b <= m; b++) if (v[b] + 0 < v[a] + 0) { t = v[a]; v[a] = v[b]; v[b] = t }
      med = (m % 2) ? v[(m + 1) / 2] : (v[m / 2] + v[m / 2 + 1]) / 2
      printf "%-16s %s\n", k, med
    }
  }'
