#!/usr/bin/env bash
# Sets up, builds and runs Velquin under Wine: the 32-bit Windows exe where this machine runs
# 32-bit code, else the 64-bit one (VELQUIN_NO_I386=1 asks for that). It runs in the player's
# own Wine prefix (WINEPREFIX, else ~/.wine) when DF:TFD is installed there, else in a demo
# prefix with a demo game folder and a demo plyr.sav. With a display it opens the window
# there; without one it runs under Xvfb and writes a screenshot.
# With --linux it opens the native Linux program instead (build/linux-release/app/linux/velquin),
# which finds the game in the prefixes of the player's own Wine, Proton, Lutris, Bottles, Heroic,
# umu-launcher, winetricks or PlayOnLinux; when none holds it, it runs with a throwaway HOME
# whose Steam library holds the demo prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
if [ "${1:-}" = --linux ]; then
  cmake --preset linux-release >/dev/null
  cmake --build --preset linux-release --target velquin velquin_make_demo_save
  velquin=build/linux-release/app/linux/velquin
  if ! "$velquin" --list >/dev/null; then  # exit code 1: no prefix holds the game
    export HOME=${VELQUIN_DEMO_HOME:-/tmp/velquin-demo-home}
    unset WINEPREFIX
    demo=$HOME/.local/share/Steam/steamapps/compatdata/4242/pfx
    echo "DF:TFD is in none of your Wine prefixes: using a demo HOME at $HOME"
    mkdir -p "$(dirname "$demo")"
    [ -f "$demo/drive_c/Games/DF-TFD/plyr.sav" ] ||
      scripts/demo_prefix.sh "$demo" ./build/linux-release/velquin_make_demo_save >/dev/null
  fi
  "$velquin" --list
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "Starting the Linux program on $DISPLAY (close its window to end)."
    exec "$velquin"
  fi
  screenshot=$(realpath -m "${VELQUIN_SCREENSHOT:-artifacts/velquin-linux-window.png}")
  mkdir -p "$(dirname "$screenshot")"
  echo "No display: running the Linux program under Xvfb."
  xvfb-run -a -s "-screen 0 800x600x24" bash -c '
    "$1" &
    timeout 30 xdotool search --sync --name "^Velquin for DF:TFD$" >/dev/null || { echo "no window came up" >&2; exit 1; }
    sleep 1
    import -window root -crop 400x300+0+0 "$2"
    kill %1
  ' _ "$velquin" "$screenshot"
  echo "Screenshot of the main window: $screenshot"
  exit 0
fi
source scripts/wine_host.sh
build=$VELQUIN_RUN_BUILD
cmake --preset linux-test >/dev/null
cmake --build --preset linux-test --target velquin_make_demo_save velquin_load_report
cmake --preset "$build" >/dev/null
cmake --build --preset "$build" --target velquin
wine=$VELQUIN_WINE

export WINEDEBUG=${WINEDEBUG:--all} LANG=${LANG:-C.UTF-8}
demo=false
if ./build/linux-test/velquin_load_report | grep -q '^Game folder: ""'; then
  demo=true
  export WINEPREFIX=${VELQUIN_DEMO_PREFIX:-/tmp/velquin-demo-prefix}
  echo "DF:TFD is not installed in this Wine prefix: using the demo prefix $WINEPREFIX"
  scripts/demo_prefix.sh "$WINEPREFIX" ./build/linux-test/velquin_make_demo_save >/dev/null
fi
exe=build/$build/velquin.exe
if [ "$build" = win32 ]; then
  echo "Opening the 32-bit exe, $exe (the one a player takes on Windows)."
else
  echo "This machine runs no 32-bit code: opening the 64-bit exe, $exe, under wine64."
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  $demo && { "$wine" reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true; }
  echo "Starting Velquin on $DISPLAY (close its window to end)."
  exec "$wine" "$exe"
fi

screenshot=$(realpath -m "${VELQUIN_SCREENSHOT:-artifacts/velquin-window.png}")
mkdir -p "$(dirname "$screenshot")"
# No window manager under Xvfb: Wine draws the title bar and frame itself.
$demo && "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
wineserver -k 2>/dev/null || true
wineserver -w
echo "No display: running Velquin under Xvfb."
xvfb-run -a -s "-screen 0 800x600x24" bash -c '
  "$3" "$1" &
  timeout 60 xdotool search --sync --name "Velquin for DF:TFD" >/dev/null || { echo "no window came up" >&2; exit 1; }
  sleep 2
  import -window root -crop 330x270+0+0 "$2"
  wineserver -k
' _ "$exe" "$screenshot" "$wine"
echo "Screenshot of the main window: $screenshot"
