#!/usr/bin/env bash
# The portable bundle on a desktop that has no Qt: a minimal Debian (debootstrap's minbase)
# with only the libraries that the bundle leaves to every desktop, the bundle unpacked into it.
# There, ldd finds every library of the program and of each bundled plugin, and the installed
# program's test passes with every run of the program inside that root: --help, --version,
# --list of a Steam Proton prefix under a throwaway HOME, the window on the host's Xvfb (the
# host's /tmp, with its X socket, bound into the root), and Save Names' bytes in plyr.sav.
# The root is made once per package list into /var/cache/velquin, from this machine's own
# Debian mirror and release.
# Usage: check_bundle_bare.sh PACKAGES_DIR NATIVE_BUILD_DIR_WITH_DEMO_TOOL [ARTIFACTS_DIR]
set -uo pipefail
[ "$(id -u)" = 0 ] || exec sudo "$0" "$@"
# In a mount namespace of its own, so that the root's mounts go when the check ends.
[ -n "${VELQUIN_BARE_NAMESPACE:-}" ] || exec env VELQUIN_BARE_NAMESPACE=1 unshare --mount --propagation private "$0" "$@"
here=$(cd "$(dirname "$0")/../.." && pwd)
version=$("$here/scripts/version.sh") || exit 1
tarball=$(realpath -m "$1/velquin-$version-linux-x86_64.tar.xz")
[ -f "$tarball" ] || { echo "FAIL: no $tarball"; exit 1; }
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The packages of the libraries that the bundle does not carry, and nothing of Qt.
desktop=(libc6 libgcc-s1 libstdc++6 zlib1g libgpg-error0 libegl1 libglx0 libopengl0 libx11-6
  libx11-xcb1 libxcb1 libice6 libsm6 libwayland-client0 libfontconfig1 libfreetype6 libharfbuzz0b)
release=$(. /etc/os-release && echo "$VERSION_CODENAME")
mirror=$(apt-get indextargets --format '$(RELEASE) $(REPO_URI)' | awk -v r="$release" '$1 == r { print $2; exit }')
root=/var/cache/velquin/bare-$release-$(echo "$mirror ${desktop[*]}" | sha256sum | cut -c1-12)
if [ ! -x "$root/usr/bin/ldd" ]; then
  echo "-- debootstrap --variant=minbase $release into $root"
  rm -rf "$root" "$root.new" && mkdir -p /var/cache/velquin
  start=$SECONDS
  debootstrap --variant=minbase --include="$(IFS=,; echo "${desktop[*]}")" "$release" "$root.new" "$mirror" \
    >"$root.log" 2>&1 && rm -f "$root.new"/var/cache/apt/archives/*.deb && mv "$root.new" "$root" || { tail -20 "$root.log"; echo "FAIL: debootstrap"; exit 1; }
  echo "made in $((SECONDS - start)) s: $(du -sh "$root" | cut -f1)"
fi
qt=$(find "$root/usr/lib" -name 'libQt*' | head -3)
[ -z "$qt" ] || fail "the root has Qt: $qt"

work=$(mktemp -d /tmp/velquin-bare.XXXXXX)
trap 'rm -rf "$work"' EXIT
tar -xJf "$tarball" -C "$work"
bundle=$work/velquin-$version-linux-x86_64
mount --bind /tmp "$root/tmp" && mount --rbind /dev "$root/dev" && mount -t proc proc "$root/proc" ||
  { echo "FAIL: mounts in $root"; exit 1; }
for elf in "$bundle/velquin" "$bundle"/plugins/*/*.so; do
  missing=$(chroot "$root" ldd "$elf" | grep 'not found')
  [ -z "$missing" ] || fail "ldd ${elf#"$bundle"/}: $missing"
done
VELQUIN_LAUNCH="chroot $root" "$here/tests/linux/run_installed.sh" "$bundle" "$2" "${3:-artifacts/linux-bundle}" ||
  fail "the bundle's program in the bare root"
[ "$failures" = 0 ]
