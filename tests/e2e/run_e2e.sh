#!/usr/bin/env bash
# End-to-end tests of the real velquin.exe: a throwaway Wine prefix, an X server of our own
# (Xvfb), the cross-built test driver at 96 DPI and again at 144 DPI. Screenshots of every
# window land in the artefacts folder as PNG.
# Usage: run_e2e.sh BUILD_DIR_WIN32 [ARTIFACTS_DIR]
set -euo pipefail
build=$(realpath "$1")
artifacts=$(realpath -m "${2:-artifacts/e2e}")
mkdir -p "$artifacts"

source "$(dirname "$0")/../wine_test_prefix.sh"
new_wine_test_prefix e2e
# With no window manager under Xvfb, Wine draws the title bars and frames itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
mkdir -p "$WINEPREFIX/drive_c/velquin-e2e/game"

export VELQUIN_EXE="$(windows_path "$build/velquin.exe")"
export VELQUIN_E2E_GAME='C:\velquin-e2e\game'

if make_locked_player_file; then
  export VELQUIN_E2E_LOCKED_GAME="$(windows_path "$locked")"
fi

run_driver() {
  local dpi=$1
  shift
  mkdir -p "$artifacts/dpi$dpi"
  VELQUIN_E2E_DPI=$dpi VELQUIN_ARTIFACTS="$(windows_path "$artifacts/dpi$dpi")" \
    xvfb-run -a -s "-screen 0 1280x1024x24" wine "$build/tests/velquin_e2e_tests.exe" "$@"
}

# The server started above had no display; the driver's programs need one of their own.
wineserver -k 2>/dev/null || true
wineserver -w
status=0
echo "== 96 DPI"
run_driver 96 || status=1
wineserver -w
echo "== 144 DPI"
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
wineserver -w
run_driver 144 --gtest_filter='*Layout*:*StartUpLoad*:*Tab*' || status=1
wineserver -w

for bmp in "$artifacts"/dpi*/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
echo "screenshots: $artifacts"
exit $status
