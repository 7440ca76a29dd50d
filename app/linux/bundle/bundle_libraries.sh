#!/usr/bin/env bash
# Makes the portable bundle in DIR (the program already there) run on any x86-64 desktop: copies
# the Qt plugins named into DIR/plugins and every library that the program and those plugins
# load into DIR/lib, except what every desktop has; points the program's and each library's
# RPATH at DIR/lib (an RPATH and not LD_LIBRARY_PATH, which the programs Velquin starts would
# inherit); and puts each bundled library's Debian copyright file, the licence texts those name,
# and the Debian package and version each came from (whose sources Debian keeps) into
# DIR/licenses.
# Usage: bundle_libraries.sh DIR QT_PLUGIN_DIR PLUGIN...
set -euo pipefail
dir=$1 qt_plugins=$2
shift 2

# What every desktop has, and so is left out: the names on AppImage's exclusion list for
# portable Linux bundles (github.com/AppImageCommunity/pkg2appimage, file "excludelist"): the
# C library and its parts, the C++ and GCC runtimes, OpenGL and EGL, libX11 and libxcb's core,
# Wayland's client library, fontconfig, FreeType and HarfBuzz, and a few of every base system.
# What these need comes with them on the desktop. Not glvnd's libOpenGL.so.0, which that list
# names too: many Debian, Ubuntu and Mint desktops lack it (package libopengl0), and Qt's GUI
# library will not load without it. It only forwards to libGLdispatch.so.0, which every desktop
# with libGL, libGLX or libEGL has.
system=" $(echo ld-linux-x86-64.so.2 libc.so.6 libdl.so.2 libm.so.6 libmvec.so.1 libpthread.so.0 \
  librt.so.1 libresolv.so.2 libutil.so.1 libanl.so.1 libBrokenLocale.so.1 libcidn.so.1 \
  libthread_db.so.1 libnss_compat.so.2 libnss_dns.so.2 libnss_files.so.2 libstdc++.so.6 \
  libgcc_s.so.1 libGL.so.1 libEGL.so.1 libGLdispatch.so.0 libGLX.so.0 libdrm.so.2 \
  libglapi.so.0 libgbm.so.1 libxcb.so.1 libX11.so.6 libX11-xcb.so.1 libxcb-dri2.so.0 \
  libxcb-dri3.so.0 libwayland-client.so.0 libasound.so.2 libfontconfig.so.1 libfreetype.so.6 \
  libharfbuzz.so.0 libfribidi.so.0 libcom_err.so.2 libexpat.so.1 libgpg-error.so.0 libICE.so.6 \
  libSM.so.6 libusb-1.0.so.0 libuuid.so.1 libz.so.1 libjack.so.0 libpipewire-0.3.so.0 libgmp.so.10) "

cache=$(ldconfig -p)
where() { awk -v so="$1" '$1 == so && /x86-64/ { print $NF; exit }' <<<"$cache"; }
needed() { readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p'; }

mkdir -p "$dir/lib" "$dir/licenses"
origins=()
queue=("$dir/velquin")
for plugin in "$@"; do
  # As Debian built it, with no RPATH: the program loads it itself and finds what it needs in
  # lib/ through its own RPATH. patchelf would move the plugin's metadata note, which the
  # program reads from the loaded plugin.
  install -D -m 644 "$qt_plugins/$plugin" "$dir/plugins/$plugin"
  origins+=("$qt_plugins/$plugin")
  queue+=("$dir/plugins/$plugin")
done
patchelf --force-rpath --set-rpath '$ORIGIN/lib' "$dir/velquin"
# Each library once, under the name the loader asks for, with what it needs in turn.
while [ ${#queue[@]} -gt 0 ]; do
  for so in $(needed "${queue[0]}"); do
    [[ $system == *" $so "* ]] || [ -e "$dir/lib/$so" ] && continue
    path=$(where "$so")
    [ -n "$path" ] || { echo "bundle: $so, needed by ${queue[0]}, is not on this machine" >&2; exit 1; }
    install -m 644 "$(realpath "$path")" "$dir/lib/$so"
    patchelf --force-rpath --set-rpath '$ORIGIN' "$dir/lib/$so"
    origins+=("$path")
    queue+=("$dir/lib/$so")
  done
  queue=("${queue[@]:1}")
done

packages=()
for path in "${origins[@]}"; do
  real=$(realpath "$path")
  # Debian lists a file under /usr/lib or, for some packages, under /lib.
  package=$({ dpkg -S "$real" || dpkg -S "${real#/usr}"; } 2>/dev/null | head -1 | cut -d: -f1)
  [ -n "$package" ] || { echo "bundle: no Debian package holds $real" >&2; exit 1; }
  packages+=("$package")
done
mapfile -t packages < <(printf '%s\n' "${packages[@]}" | sort -u)
for package in "${packages[@]}"; do
  cp -L "/usr/share/doc/$package/copyright" "$dir/licenses/$package.copyright"
done
# The full texts that those files refer to instead of quoting them.
for licence in $(grep -ho '/usr/share/common-licenses/[A-Za-z0-9.+_-]*[A-Za-z0-9]' "$dir"/licenses/*.copyright | sort -u); do
  cp -L "$licence" "$dir/licenses/"
done
dpkg-query -W -f '${Package} ${Version}, from the source package ${source:Package} ${source:Version}\n' \
  "${packages[@]}" >"$dir/licenses/debian-packages.txt"
