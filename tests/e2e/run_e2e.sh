#!/usr/bin/env bash
# End-to-end tests of the real velquin.exe of one Windows build: a throwaway Wine prefix, an
# X server of our own (Xvfb), and that build's test driver, the whole suite at 96 DPI and
# again at 144 DPI. Screenshots of every window land in the artefacts folder as PNG.
# Usage: run_e2e.sh WINDOWS_BUILD_DIR [ARTIFACTS_DIR]
set -euo pipefail
build=$(realpath "$1")
artifacts=$(realpath -m "${2:-artifacts/e2e/$(basename "$build")}")
mkdir -p "$artifacts"

source "$(dirname "$0")/../wine_test_prefix.sh"
new_wine_test_prefix e2e
# With no window manager under Xvfb, Wine draws the title bars and frames itself.
"$VELQUIN_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
mkdir -p "$WINEPREFIX/drive_c/velquin-e2e/game"

export VELQUIN_EXE="$(windows_path "$build/velquin.exe")"
export VELQUIN_E2E_GAME='C:\velquin-e2e\game'

run_driver() {
  mkdir -p "$artifacts/dpi$1"
  VELQUIN_E2E_DPI=$1 VELQUIN_ARTIFACTS="$(windows_path "$artifacts/dpi$1")" \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$VELQUIN_WINE" "$build/tests/velquin_e2e_tests.exe"
}

# The server started above had no display; the driver's programs need one of their own.
wineserver -k 2>/dev/null || true
wineserver -w
status=0
for dpi in 96 144; do
  echo "== $(basename "$build") at $dpi DPI"
  "$VELQUIN_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null
  wineserver -w
  run_gtest run_driver $dpi || status=1
  wineserver -w
done

for bmp in "$artifacts"/dpi*/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
echo "screenshots: $artifacts"
exit $status
