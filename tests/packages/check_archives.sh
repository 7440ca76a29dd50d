#!/usr/bin/env bash
# The Windows zip and the portable Linux bundle as a player unpacks them: exactly the files
# named here under one folder, the version from CMakeLists.txt in their names; both exes pass
# the checks of the built exes, and the bundle asks no newer C and C++ libraries than its
# README.txt says.
# Usage: check_archives.sh PACKAGES_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
version=$("$here/scripts/version.sh") || exit 1
zip=$1/velquin-$version-windows.zip
tarball=$1/velquin-$version-linux-x86_64.tar.xz
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
for archive in "$zip" "$tarball"; do
  [ -f "$archive" ] || { echo "FAIL: no $archive"; exit 1; }
  echo "$archive: $(stat -c %s "$archive") bytes"
done

# Each archive's files, a folder and the files in it a row.
expected() {
  sed -n "s|^$1 ||p" <<'TABLE' | while read -r folder files; do printf "$2/$folder/%s\n" $files; done | sed 's|/\./|/|' | LC_ALL=C sort
zip . LICENSE README.txt velquin.exe
zip wine64 velquin.exe
txz . LICENSE README.txt qt.conf velquin
txz lib libQt6Core.so.6 libQt6DBus.so.6 libQt6Gui.so.6 libQt6WaylandClient.so.6 libQt6Widgets.so.6 libQt6XcbQpa.so.6
txz lib libicudata.so.72 libicui18n.so.72 libicuuc.so.72 libyaml-cpp.so.0.7 libglib-2.0.so.0 libpcre2-8.so.0 libpcre2-16.so.0
txz lib libb2.so.1 libgomp.so.1 libdouble-conversion.so.3 libmd4c.so.0 libpng16.so.16 libxkbcommon.so.0 libxkbcommon-x11.so.0
txz lib libOpenGL.so.0
txz lib libdbus-1.so.3 libsystemd.so.0 libcap.so.2 libgcrypt.so.20 liblz4.so.1 liblzma.so.5 libzstd.so.1 libwayland-cursor.so.0
txz lib libxcb-icccm.so.4 libxcb-image.so.0 libxcb-keysyms.so.1 libxcb-randr.so.0 libxcb-render-util.so.0 libxcb-render.so.0
txz lib libxcb-shape.so.0 libxcb-shm.so.0 libxcb-sync.so.1 libxcb-util.so.1 libxcb-xfixes.so.0 libxcb-xkb.so.1
txz plugins/platforms libqxcb.so libqwayland-generic.so
txz plugins/platforminputcontexts libcomposeplatforminputcontextplugin.so
txz plugins/wayland-shell-integration libxdg-shell.so
txz plugins/wayland-decoration-client libbradient.so
txz share/applications io.velquin.Velquin.desktop
txz share/metainfo io.velquin.Velquin.metainfo.xml
txz share/icons/hicolor/48x48/apps io.velquin.Velquin.png
txz share/icons/hicolor/256x256/apps io.velquin.Velquin.png
txz share/icons/hicolor/scalable/apps io.velquin.Velquin.svg
txz licenses debian-packages.txt LGPL-3 LGPL GPL-3 GPL GPL-2 LGPL-2.1 LGPL-2 Apache-2.0 Artistic CC0-1.0 GFDL-1.2 GFDL-1.3
txz licenses libqt6core6.copyright libqt6dbus6.copyright libqt6gui6.copyright libqt6widgets6.copyright
txz licenses libqt6waylandclient6.copyright qt6-wayland.copyright libicu72.copyright libyaml-cpp0.7.copyright
txz licenses libglib2.0-0.copyright libpcre2-8-0.copyright libpcre2-16-0.copyright libb2-1.copyright libgomp1.copyright
txz licenses libdouble-conversion3.copyright libmd4c0.copyright libpng16-16.copyright libxkbcommon0.copyright
txz licenses libxkbcommon-x11-0.copyright libdbus-1-3.copyright libsystemd0.copyright libcap2.copyright
txz licenses libgcrypt20.copyright liblz4-1.copyright liblzma5.copyright libzstd1.copyright libwayland-cursor0.copyright
txz licenses libxcb-icccm4.copyright libxcb-image0.copyright libxcb-keysyms1.copyright libxcb-randr0.copyright
txz licenses libxcb-render-util0.copyright libxcb-render0.copyright libxcb-shape0.copyright libxcb-shm0.copyright
txz licenses libxcb-sync1.copyright libxcb-util1.copyright libxcb-xfixes0.copyright libxcb-xkb1.copyright
txz licenses libopengl0.copyright
TABLE
}
files_differ() { diff <(echo "$1") <(echo "$2") | grep '^[<>]' | tr '\n' ' '; }
top=velquin-$version-windows
listed=$(unzip -Z1 "$zip" | grep -v '/$' | LC_ALL=C sort)
[ "$listed" = "$(expected zip "$top")" ] || fail "the zip holds other files: $(files_differ "$(expected zip "$top")" "$listed")"
bundle=velquin-$version-linux-x86_64
listed=$(tar -tJf "$tarball" | grep -v '/$' | LC_ALL=C sort)
[ "$listed" = "$(expected txz "$bundle")" ] || fail "the bundle holds other files: $(files_differ "$(expected txz "$bundle")" "$listed")"

work=$(mktemp -d /tmp/velquin-archives.XXXXXX)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work"
"$here/tests/exe/check_exes.sh" "$work/$top" "$work/$top/wine64" || fail "the exes in the zip"
# What a player reads first: which exe, and where the game's file is looked for.
readme=$(tr -d '\r' <"$work/$top/README.txt")
for line in "Version $version." '  velquin.exe          32-bit. Take this one on Windows (any Windows, 32-bit' \
  '  HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\zovur.exe' \
  '%LOCALAPPDATA%\VirtualStore\Program Files (x86)\..., and Windows shows that'; do
  grep -qxF -- "$line" <<<"$readme" || fail "README.txt lacks: $line"
done
head -1 "$work/$top/LICENSE" | grep -q '^MIT License' || fail "LICENSE is not the MIT licence"

# The newest symbol versions of the C and C++ libraries that anything in the bundle asks for.
tar -xJf "$tarball" -C "$work"
newest() { find "$work/$bundle" -type f -exec objdump -T {} + 2>/dev/null | grep -o "($1_[0-9.]*)" | sort -uV | tail -1; }
[ "$(newest GLIBC)" = "(GLIBC_2.35)" ] || fail "the bundle needs $(newest GLIBC), not GLIBC_2.35"
[ "$(newest GLIBCXX)" = "(GLIBCXX_3.4.30)" ] || fail "the bundle needs $(newest GLIBCXX), not GLIBCXX_3.4.30 (GCC 12)"
for line in "Version $version." "with the GNU C library 2.35 or newer and the C++ library of GCC 12 or newer." \
  "1. Press the Steam button, Power, Switch to Desktop." "~/.local/share/Steam/steamapps/compatdata (on a microSD card, in that card's"; do
  grep -qxF -- "$line" "$work/$bundle/README.txt" || fail "the bundle's README.txt lacks: $line"
done
[ "$failures" = 0 ]
