#!/usr/bin/env bash
# Builds what a player downloads, into build/packages: velquin-<version>-windows.zip (both
# exes, README.txt, LICENSE), velquin_<version>_amd64.deb and the portable
# velquin-<version>-linux-x86_64.tar.xz (the program with its own Qt, for any Linux desktop),
# all made by CPack from the presets. A release is a tag plus the version in CMakeLists.txt's
# project() line.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
for preset in linux-release win32 win64; do
  cmake --preset $preset >/dev/null
  cmake --build --preset $preset
done
rm -f build/packages/velquin[-_]*
cpack --preset windows-zip
cpack --preset linux-deb
cpack --preset linux-bundle
ls -l build/packages/velquin[-_]*
