#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program inside a fresh copy of the bundled
# sample roster (the program reads its files from the folder it is started in).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
work=${ZELTOMIL_SAMPLE_DIR:-$(mktemp -d /tmp/zeltomil-sample.XXXXXX)}
cp -n "$root"/sample/*.dat "$work"/
echo "Roster folder: $work"
cd "$work"
exec "$root/build/zeltomil"
