#!/usr/bin/env bash
# The portable bundle on a desktop that has no Qt: a minimal Debian (debootstrap's minbase)
# with only the libraries that the bundle leaves to every desktop, the bundle unpacked into it.
# There, ldd finds every library of the program and of each bundled plugin (with the program's
# lib/), and the installed program's test passes with every run of the program inside that
# root: --help, --version, --list of a Steam Proton prefix under a throwaway HOME, the window on
# the host's Xvfb (the host's /tmp, with its X socket, bound into the root), and Save Names'
# bytes in plyr.sav; the window also comes up from a folder whose name is not UTF-8, from one
# with spaces, and with a host's QT_PLUGIN_PATH, whose plugins it never loads. The root is made
# once per package list into /var/cache/velquin, from this machine's own Debian mirror and
# release.
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

# The packages of the libraries that the bundle does not carry, and nothing of Qt. Many desktops
# have libGL but not glvnd's libOpenGL (libopengl0), so the root lacks it too.
desktop=(libc6 libgcc-s1 libstdc++6 zlib1g libgpg-error0 libgl1 libegl1 libglx0 libx11-6
  libx11-xcb1 libxcb1 libice6 libsm6 libwayland-client0 libfontconfig1 libfreetype6 libharfbuzz0b)
release=$(. /etc/os-release && echo "$VERSION_CODENAME")
mirror=$(apt-get indextargets --format '$(RELEASE) $(REPO_URI)' | awk -v r="$release" '$1 == r { print $2; exit }')
# Its name changes with what it must hold: the layout's number (2: no libOpenGL), the mirror,
# the packages.
root=/var/cache/velquin/bare-$release-$(echo "2 $mirror ${desktop[*]}" | sha256sum | cut -c1-12)
if [ ! -x "$root/usr/bin/ldd" ]; then
  echo "-- debootstrap --variant=minbase $release into $root"
  rm -rf "$root" "$root.new" && mkdir -p /var/cache/velquin
  start=$SECONDS
  debootstrap --variant=minbase --include="$(IFS=,; echo "${desktop[*]}")" "$release" "$root.new" "$mirror" \
    >"$root.log" 2>&1 && rm -f "$root.new"/var/cache/apt/archives/*.deb && mv "$root.new" "$root" || { tail -20 "$root.log"; echo "FAIL: debootstrap"; exit 1; }
  echo "made in $((SECONDS - start)) s: $(du -sh "$root" | cut -f1)"
fi
extra=$(find "$root/usr/lib" -name 'libQt*' -o -name 'libOpenGL.so*' | head -3)
[ -z "$extra" ] || fail "the root has Qt or libOpenGL: $extra"

work=$(mktemp -d /tmp/velquin-bare.XXXXXX)
trap 'rm -rf "$work"' EXIT
tar -xJf "$tarball" -C "$work"
bundle=$work/velquin-$version-linux-x86_64
mount --bind /tmp "$root/tmp" && mount --rbind /dev "$root/dev" && mount -t proc proc "$root/proc" ||
  { echo "FAIL: mounts in $root"; exit 1; }
missing=$(chroot "$root" ldd "$bundle/velquin" | grep 'not found')
[ -z "$missing" ] || fail "ldd velquin: $missing"
# A plugin finds lib/ through the program's RPATH.
for elf in "$bundle"/plugins/*/*.so; do
  missing=$(LD_LIBRARY_PATH=$bundle/lib chroot "$root" ldd "$elf" | grep 'not found')
  [ -z "$missing" ] || fail "ldd ${elf#"$bundle"/}: $missing"
done
VELQUIN_LAUNCH="chroot $root" "$here/tests/linux/run_installed.sh" "$bundle" "$2" "${3:-artifacts/linux-bundle}" ||
  fail "the bundle's program in the bare root"

# Its window from other folders and with a host's Qt settings: the folder it is unpacked under,
# the environment. QT_PLUGIN_PATH names a host's folder with a working xcb plugin and a theme
# plugin (copies of the bundle's): Qt's log never names that folder, nor is anything of it
# loaded.
host=$work/host-qt
install -D "$bundle/plugins/platforms/libqxcb.so" "$host/platforms/libqxcb.so"
install -D "$bundle/plugins/platforms/libqxcb.so" "$host/platformthemes/libqgtk3.so"
latin=alt$'\xe4'
while IFS='|' read -r folder setting; do
  mkdir -p "$work/$folder" && cp -a "$bundle" "$work/$folder/"
  copy=$work/$folder/${bundle##*/}
  env -u WINEPREFIX HOME="$work" QT_DEBUG_PLUGINS=1 $setting xvfb-run -a -s "-screen 0 800x600x24" bash -c '
    "${@:3}" 2>"$1" &
    timeout 30 xdotool search --sync --name "^Velquin for DF:TFD$" >/dev/null || exit 1
    sleep 1
    cat /proc/$!/maps >"$2"
    kill %1' _ "$work/qt.log" "$work/maps" chroot "$root" "$copy/velquin" ||
    { fail "no window from $folder ($setting): $(grep -v 'looking at\|not a plugin' "$work/qt.log" | tail -3)"; continue; }
  grep -q qt.core.plugin "$work/qt.log" || fail "no log of Qt's plugins from $folder ($setting)"
  ! grep -F "$host" "$work/qt.log" "$work/maps" | head -3 | grep . || fail "the host's plugins from $folder ($setting)"
done <<TABLE
$latin|
with spaces|
plain|QT_PLUGIN_PATH=$host QT_QPA_PLATFORMTHEME=gtk3
TABLE
[ "$failures" = 0 ]
