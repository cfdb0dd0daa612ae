#!/usr/bin/env bash
# What the idle board costs: starts the program on the sample roster, leaves it alone for
# SECONDS (default 60) and reports its wake-ups per second (context switches of all its
# threads) and the processor time it used, once with the watch on the data files and once
# with the watch off (ZELTOMIL_NO_FOLDER_WATCH). WATCH_FOLDER=/mnt/share/roster runs it on
# that data folder instead of a local copy.
#   BUILD_DIR=build bash bench/idle.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
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

# Sum of voluntary and involuntary context switches of every thread, and utime + stime ticks.
switches() { cat /proc/"$1"/task/*/status | awk '/ctxt_switches/ {n += $2} END {print n}'; }
ticks() { awk '{print $14 + $15}' /proc/"$1"/stat; }

measure() {
  local label=$1
  shift
  (cd "$work" && exec env "$@" "$program") &
  local pid=$!
  sleep 5 # started and settled
  local s0 t0 s1 t1
  s0=$(switches $pid) t0=$(ticks $pid)
  sleep "$seconds"
  s1=$(switches $pid) t1=$(ticks $pid)
  kill $pid
  wait $pid 2>/dev/null || true
  local hz
  hz=$(getconf CLK_TCK)
  awk -v l="$label" -v s=$((s1 - s0)) -v t=$((t1 - t0)) -v d="$seconds" -v hz="$hz" 'BEGIN {
    printf "%-22s wake-ups %.2f/s   processor %.3f s in %d s (%.3f %%)\n", l, s / d, t / hz, d,
           100 * t / hz / d }'
}
measure "watch on" ZELTOMIL_IDLE=1
measure "watch off" ZELTOMIL_NO_FOLDER_WATCH=1
