#!/usr/bin/env bash
# The Debian package as a Debian user gets it: lintian finds no error in it; installed with
# apt-get, the program in /usr passes the installed program's end-to-end test; purged,
# nothing of it is left: no file it listed, no folder it made.
# Usage: check_deb.sh PACKAGES_DIR NATIVE_BUILD_DIR_WITH_DEMO_TOOL [ARTIFACTS_DIR]
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
version=$("$here/scripts/version.sh") || exit 1
deb=$(realpath -m "$1/velquin_${version}_amd64.deb")
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }
# Waits for another apt (unattended upgrades on a fresh machine) instead of failing at once.
apt_get() { as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 -y -q "$@"; }
[ -f "$deb" ] || { echo "FAIL: no $deb"; exit 1; }
echo "$deb: $(stat -c %s "$deb") bytes"
known() { case $(dpkg-query -W -f '${Status}' velquin 2>/dev/null) in "" | *not-installed) return 1 ;; esac; }
# Someone's own installation or files are not this test's to replace or remove.
if known; then
  echo "FAIL: velquin is installed on this machine already; remove it first (apt-get purge velquin)"
  exit 1
fi

echo "-- lintian"
lintian --info --display-info --fail-on error "$deb" || fail "lintian reports errors"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6 (>= ' || fail "Depends lacks Qt Widgets with its version"

# The folders of the package that exist before it comes, so that only its own must go.
before=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\.||; s|/$||' | while read -r p; do
  [ -e "$p" ] && echo "$p"; done)
while read -r path; do
  [ -z "$path" ] || [ -d "$path" ] || { echo "FAIL: $path is on this machine before the package"; exit 1; }
done <<<"$before"
echo "-- apt-get install"
trap 'apt_get purge velquin >/dev/null 2>&1' EXIT
apt_get install "$deb" || { fail "apt-get install"; exit 1; }
apt-cache show velquin | sed -n '/^Package:/,/^$/p'
listed=$(dpkg-query -L velquin)
"$here/tests/linux/run_installed.sh" /usr "$2" "${3:-artifacts/linux-deb}" || fail "the installed program"

echo "-- apt-get purge"
apt_get purge velquin || fail "apt-get purge"
trap - EXIT
! known || fail "dpkg still knows velquin: $(dpkg-query -W -f '${Status}' velquin)"
left=0
while read -r path; do
  [ -e "$path" ] || [ -L "$path" ] || continue
  grep -qxF "$path" <<<"$before" && continue
  echo "left behind: $path"
  left=$((left + 1))
done <<<"$listed"
[ "$left" = 0 ] || fail "$left paths of the package are left after the purge"
[ "$failures" = 0 ]
