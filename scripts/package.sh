#!/usr/bin/env bash
# Builds the Debian package: the program alone, with the hardening flags, in build-package/
# (or $PACKAGE_BUILD_DIR), then zeltomil_<version>_<arch>.deb and its debug symbols
# zeltomil-dbgsym_<version>_<arch>.ddeb there, and checks the package (check-package.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PACKAGE_BUILD_DIR:-$root/build-package}
"$root/scripts/install-deps.sh" package
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELTOMIL_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target zeltomil
rm -f "$build"/zeltomil_*.deb "$build"/zeltomil-dbgsym_*.ddeb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/zeltomil_*.deb)
"$root/scripts/check-package.sh" "$deb"
echo "$deb"
ls "$build"/zeltomil-dbgsym_*.ddeb
