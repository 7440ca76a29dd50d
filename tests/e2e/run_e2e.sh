#!/usr/bin/env bash
# End-to-end tests of the real velquin.exe: a throwaway Wine prefix, an X server of our own
# (Xvfb), the cross-built test driver at 96 DPI and again at 144 DPI. Screenshots of every
# window land in the artefacts folder as PNG.
# Usage: run_e2e.sh BUILD_DIR_WIN32 [ARTIFACTS_DIR]
set -euo pipefail
build=$(realpath "$1")
artifacts=$(realpath -m "${2:-artifacts/e2e}")
mkdir -p "$artifacts"

work=$(mktemp -d /tmp/velquin-e2e.XXXXXX)
locked="$work/locked"
cleanup() {
  chattr -i "$locked/plyr.sav" 2>/dev/null || true
  WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

export WINEPREFIX="$work/prefix" WINEDEBUG=-all LANG=C.UTF-8 LC_ALL=C.UTF-8
wineboot -i >/dev/null 2>&1
# With no window manager under Xvfb, Wine draws the title bars and frames itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
mkdir -p "$WINEPREFIX/drive_c/velquin-e2e/game"

windows_path() { echo "Z:${1//\//\\}"; }
export VELQUIN_EXE="$(windows_path "$build/velquin.exe")"
export VELQUIN_E2E_GAME='C:\velquin-e2e\game'

mkdir -p "$locked"
printf '\1\1\1\1\1\1\1\1\1\1\1\1Locked\0' >"$locked/plyr.sav"
if chattr +i "$locked/plyr.sav" 2>/dev/null; then
  export VELQUIN_E2E_LOCKED_GAME="$(windows_path "$locked")"
else
  echo "chattr +i is not supported here: the read-only case is skipped" >&2
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
