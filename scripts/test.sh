#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: unit and widget tests offscreen, the
# end-to-end tests on an Xvfb server this script starts when there is no display. Then builds
# everything again with AddressSanitizer and UndefinedBehaviorSanitizer (in build-asan/, or
# $ASAN_BUILD_DIR) and runs every test there too, with leak checking.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
xvfb_pid=""
wm_pid=""
cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  true
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1920x1200x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    break
  done
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  # One window manager for the whole run, as on a desktop: the end-to-end tests use it.
  openbox --sm-disable >/dev/null 2>&1 &
  wm_pid=$!
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
fi
# End-to-end tests drive a real X server and pointer on a shared, busy machine: a failed test
# gets one more run before it counts.
(cd "${BUILD_DIR:-$root/build}" && ctest --output-on-failure -j"$(nproc)" --repeat until-pass:2)

# The sanitizer run. Any report fails its test: UBSan stops at the first finding, ASan at the
# first memory error, and LeakSanitizer fails a program that leaks when it ends. Leaks inside
# system libraries (not this project's code) are listed in tests/lsan.supp.
# Built without optimisation (and with assertions on): it compiles in about half the time.
asan_build=${ASAN_BUILD_DIR:-$root/build-asan}
BUILD_DIR="$asan_build" "$root/scripts/build.sh" -DZELTOMIL_SANITIZE=ON -DZELTOMIL_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=Debug
export ASAN_OPTIONS=detect_leaks=1:strict_init_order=1:detect_stack_use_after_return=1
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$asan_build" && ctest --output-on-failure -j"$(nproc)" --repeat until-pass:2)
