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

# The languages the windows are shown in: Wine takes a program's UI language from LANG, and
# only from a locale the C library has. Built into a folder of our own, not the system's.
export LOCPATH="$WINEPREFIX/locales"
mkdir -p "$LOCPATH"
for locale in de_DE fr_FR es_ES it_IT pt_BR pl_PL cs_CZ ru_RU uk_UA el_GR tr_TR; do
  localedef -i "$locale" -f UTF-8 "$LOCPATH/$locale.UTF-8" 2>/dev/null || [ -d "$LOCPATH/$locale.UTF-8" ] ||
    { echo "localedef could not build $locale.UTF-8"; exit 1; }
done
unset LANGUAGE LC_ALL LC_MESSAGES

export VELQUIN_EXE="$(windows_path "$build/velquin.exe")"
export VELQUIN_E2E_GAME='C:\velquin-e2e\game'

# run_driver DPI LANGUAGE LOCALE FILTER: the driver and the programs it starts in that language.
run_driver() {
  mkdir -p "$artifacts/dpi$1"
  LANG=$3 VELQUIN_E2E_LANGUAGE=$2 VELQUIN_E2E_DPI=$1 VELQUIN_ARTIFACTS="$(windows_path "$artifacts/dpi$1")" \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$VELQUIN_WINE" "$build/tests/velquin_e2e_tests.exe" --gtest_filter="$4"
}

# The server started above had no display; the driver's programs need one of their own.
wineserver -k 2>/dev/null || true
wineserver -w
status=0
for dpi in 96 144; do
  echo "== $(basename "$build") at $dpi DPI"
  "$VELQUIN_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null
  wineserver -w
  run_gtest run_driver $dpi "" C.UTF-8 '-*PlayersLanguage' || status=1
  wineserver -w
done
# Each window in each language, at 96 DPI: the driver under that LANG, as a player's Wine would be.
"$VELQUIN_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null
wineserver -w
for pair in en:C.UTF-8 de:de_DE.UTF-8 fr:fr_FR.UTF-8 es:es_ES.UTF-8 it:it_IT.UTF-8 pt_BR:pt_BR.UTF-8 \
  pl:pl_PL.UTF-8 cs:cs_CZ.UTF-8 ru:ru_RU.UTF-8 uk:uk_UA.UTF-8 el:el_GR.UTF-8 tr:tr_TR.UTF-8; do
  echo "== $(basename "$build") in ${pair%%:*}"
  run_gtest run_driver 96 "${pair%%:*}" "${pair#*:}" '*PlayersLanguage' || status=1
  wineserver -w
done

for bmp in "$artifacts"/dpi*/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
echo "screenshots: $artifacts"
exit $status
