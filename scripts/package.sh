#!/usr/bin/env bash
# Builds what a player downloads, into build/packages: velquin-<version>-windows.zip (both
# exes, README.txt, LICENSE) and velquin_<version>_amd64.deb, both made by CPack from the
# presets. A release is a tag plus the version in CMakeLists.txt's project() line.
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
ls -l build/packages/velquin[-_]*
