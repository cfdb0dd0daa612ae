#!/usr/bin/env bash
# Makes the Debian packages from the build folder given, in a temporary folder, and checks
# them as scripts/package.sh does: lintian, AppStream, the desktop entry, the manual page.
set -euo pipefail
build=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log" >&2; exit 1; }
"$root/scripts/check-package.sh" "$out"/zeltomil_*.deb
