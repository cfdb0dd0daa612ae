#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12, when something is missing.
set -euo pipefail
packages=(build-essential cmake qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
          fonts-ipafont-gothic fonts-ipafont-mincho xvfb xauth x11-utils openbox xdotool imagemagick
          openssh-server sshfs fuse3)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
