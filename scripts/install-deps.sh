#!/usr/bin/env bash
# Installs what is missing on Debian 12 for one task: `run` (build and start the program),
# `package` (also make and check the Debian package) or, by default, `test` (everything the
# tests need). Only installing asks for root: through sudo when run as another user.
set -euo pipefail
run=(build-essential cmake qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
     fonts-ipafont-gothic fonts-ipafont-mincho)
package=("${run[@]}" dpkg-dev file lintian appstream desktop-file-utils man-db)
test=("${package[@]}" xvfb xauth x11-utils openbox xdotool imagemagick
      at-spi2-core python3-gi gir1.2-atspi-2.0 dbus poppler-utils
      openssh-server sshfs fuse3)
case "${1:-test}" in
  run) packages=("${run[@]}") ;;
  package) packages=("${package[@]}") ;;
  test) packages=("${test[@]}") ;;
  *) echo "usage: $0 [run|package|test]" >&2; exit 2 ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Install them as root: apt-get install ${missing[*]}" >&2
    exit 1
  fi
  as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
