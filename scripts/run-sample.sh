#!/usr/bin/env bash
# Installs what is missing (asking for sudo only then), builds the program alone and starts it
# on the sample roster in a folder of the user's own: the first run creates the folder and
# fills it with the sample; later runs find it as the last one left it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
if [ -e "$build" ] && [ ! -w "$build" ]; then
  echo "$build belongs to another user (a run as root?): remove it, or set BUILD_DIR." >&2
  exit 1
fi
"$root/scripts/install-deps.sh" run
# The same configuration as scripts/build.sh, which builds the tests in this folder later.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target zeltomil
folder=${ZELTOMIL_SAMPLE_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/zeltomil}
if [ -d "$folder" ]; then
  echo "Roster folder: $folder"
else
  mkdir -p "$folder"
  cp -n "$root"/sample/*.dat "$folder"/
  echo "Roster folder: $folder (new, with the sample roster)"
fi
cd "$folder"
exec "$build/zeltomil"
