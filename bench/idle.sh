#!/usr/bin/env bash
# What the idle board costs: starts the program on the sample roster, leaves it alone for
# SECONDS (default 60) and reports its wake-ups per second (voluntary context switches of all its
# threads) and the processor time it used, once with the watch on the data files and once
# with the watch off (ZELTOMIL_NO_FOLDER_WATCH). WATCH_FOLDER=/mnt/share/roster runs it on
# that data folder instead of a local copy.
# The caption changes every second, and the X server answers each change: most wake-ups are
# those, on the main thread and the X event thread; the watch adds one check every 2 seconds.
#   BUILD_DIR=build bash bench/idle.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
case $build in /*) ;; *) build=$root/$build ;; esac
program=$build/zeltomil
[ -x "$program" ] || { echo "no $program: build first" >&2; exit 1; }
seconds=${SECONDS_IDLE:-60}
work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
  return 0
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 70 99); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    break
  done
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
export QT_QPA_PLATFORM=xcb
cp "$root"/sample/*.dat "$work"/
[ -n "${WATCH_FOLDER:-}" ] && printf '%s/\r\n' "$WATCH_FOLDER" >"$work/zelpath.dat"

# Voluntary context switches of every thread (each is a wake-up after a sleep; involuntary ones
# count the machine's other load), and utime + stime ticks.
switches() { cat /proc/"$1"/task/*/status | awk '/^voluntary_ctxt_switches/ {n += $2} END {print n}'; }
mainSwitches() { awk '/^voluntary_ctxt_switches/ {print $2}' /proc/"$1"/status; }
ticks() { awk '{print $14 + $15}' /proc/"$1"/stat; }

measure() {
  local label=$1
  shift
  (cd "$work" && exec env "$@" "$program") &
  local pid=$!
  sleep 5 # started and settled
  local s0 t0 m0 s1 t1 m1
  s0=$(switches $pid) t0=$(ticks $pid) m0=$(mainSwitches $pid)
  sleep "$seconds"
  s1=$(switches $pid) t1=$(ticks $pid) m1=$(mainSwitches $pid)
  kill $pid
  wait $pid 2>/dev/null || true
  local hz
  hz=$(getconf CLK_TCK)
  awk -v l="$label" -v s=$((s1 - s0)) -v m=$((m1 - m0)) -v t=$((t1 - t0)) -v d="$seconds" \
    -v hz="$hz" 'BEGIN {
    printf "%-10s wake-ups %.2f/s (main thread %.2f/s)   processor %.3f s in %d s (%.3f %%)\n",
           l, s / d, m / d, t / hz, d, 100 * t / hz / d }'
}
# Twice each, alternating: the first window of a run gets the focus and more X traffic.
for round in 1 2; do
  measure "watch off" ZELTOMIL_NO_FOLDER_WATCH=1
  measure "watch on" ZELTOMIL_IDLE=1
done
