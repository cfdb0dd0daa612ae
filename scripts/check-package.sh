#!/usr/bin/env bash
# Checks a built package as Debian's tools see it: lintian with no error or warning (on the
# debug symbol package beside it too), the AppStream file and the desktop entry valid and
# named alike, the manual page without complaints, the program stripped. Fails on the first
# problem, saying what it is.
set -euo pipefail
deb=$(realpath "$1")
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
fail() {
  echo "$*" >&2
  exit 1
}
# Info tags are shown but do not fail.
packages=("$deb")
debug=${deb/zeltomil_/zeltomil-dbgsym_}
debug=${debug%.deb}.ddeb
[ -f "$debug" ] || fail "no debug symbol package $(basename "$debug") beside the package"
packages+=("$debug")
report=$(lintian --fail-on error,warning --display-info "${packages[@]}" 2>&1) ||
  fail "$report"
grep -v '^running with root privileges' <<<"$report" || true
dpkg-deb -x "$deb" "$unpacked"
share=$unpacked/usr/share
metainfo=$(ls "$share"/metainfo/*.metainfo.xml)
id=$(basename "$metainfo" .metainfo.xml)
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli: $metainfo"
desktop=$share/applications/$id.desktop
[ -f "$desktop" ] || fail "no desktop entry named $id.desktop"
problems=$(desktop-file-validate "$desktop" 2>&1) || true
[ -z "$problems" ] || fail "$problems"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "the metainfo does not launch $id.desktop"
problems=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$share/man/man1/zeltomil.1.gz" 2>&1 >/dev/null) || true
[ -z "$problems" ] || fail "manual page: $problems"
file "$unpacked/usr/bin/zeltomil" | grep -q ", stripped" || fail "the program is not stripped"
echo "package checks passed: $(basename "$deb") $(basename "$debug")"
