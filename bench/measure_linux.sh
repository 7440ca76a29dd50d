#!/usr/bin/env bash
# The Linux program on an X server of its own (Xvfb), with a throwaway HOME whose Steam library
# holds a Proton prefix with the game:
#  1. start-up time to the main window with the first name drawn, against a minimal Qt window
#     and the same main window made by hand (bench/handmade_qt_window.cpp), alternating over
#     many rounds (median and interquartile range, and the ratios that bench/x11_startup_time.cpp
#     prints); VELQUIN_TIMES_ONLY=1 stops after this;
#     OTHER_VELQUIN (e.g. the portable bundle's) runs in each round right after it, and VELQUIN
#     names the program under test when it is not the build's (e.g. /usr/bin/velquin of the .deb);
#  2. a screenshot of each window at 96 and 144 DPI (a device-pixel ratio of 1 and 1.5, as Qt
#     has them on such desktops), each put beside the Windows exe's from the end-to-end run
#     when that is in artifacts/e2e.
# Usage: measure_linux.sh NATIVE_RELEASE_BUILD_DIR [ROUNDS [OTHER_VELQUIN]]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "$1")
rounds=${2:-41}
velquin=${VELQUIN:-$build/app/linux/velquin}
shots=$(realpath -m artifacts/linux)
work=$(mktemp -d /tmp/velquin-linux-bench.XXXXXX)
prefix=$work/home/.local/share/Steam/steamapps/compatdata/4242/pfx
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$(dirname "$prefix")"
scripts/demo_prefix.sh "$prefix" "$build/velquin_make_demo_save" >/dev/null 2>&1
mkdir -m 700 "$work/runtime"
export HOME=$work/home QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work/runtime
unset WINEPREFIX
"$velquin" --list

# The first name box's inside, at 96 DPI: Velquin's from its design, the yardsticks' the same.
# The three run in turn, round after round; the hand-made window reads the same plyr.sav.
box="84 19 100 12"
other=()
[ -n "${3:-}" ] && other=("Velquin for DF:TFD" $box "exec '$(realpath "$3")'")
save=$prefix/drive_c/Games/DF-TFD/plyr.sav
icon=$build/app/linux/icons/256/io.velquin.Velquin.png
echo "Linux program, $rounds rounds each, alternating (median and interquartile range):"
[ -n "${3:-}" ] && echo "  (the second \"Velquin for DF:TFD\" is $3, started right after $velquin)"
xvfb-run -a -s "-screen 0 1024x768x24" "$build/bench/x11_startup_time" "$rounds" \
  "Minimal Qt Window" $box "exec '$build/bench/minimal_qt_window'" \
  "Handmade Qt Window" $box "exec '$build/bench/handmade_qt_window' '$save' '$icon'" \
  "Velquin for DF:TFD" $box "exec '$velquin'" "${other[@]}" | sed 's/^/  /'
[ "${VELQUIN_TIMES_ONLY:-0}" = 1 ] && exit 0

# Each window in turn: main, main with the macro panel, both help windows. Buttons are pressed
# with the pointer at their centres, in device pixels at that DPI.
for dpi in 96 144; do
  mkdir -p "$shots/dpi$dpi"
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    dpi=$1 velquin=$2 out=$3
    px() { echo $(( ($1 * dpi + 720) / 1440 )); }
    find() { timeout 20 xdotool search --sync --name "^$1\$" | head -1; }
    press() { timeout 5 xdotool mousemove --window "$main" "$(px $1)" "$(px $2)" click 1; sleep 1; }
    QT_SCREEN_SCALE_FACTORS=$(awk -v dpi="$dpi" "BEGIN { print dpi / 96 }") "$velquin" &
    main=$(find "Velquin for DF:TFD")
    [ -n "$main" ] || { echo "no main window" >&2; exit 1; }
    sleep 1
    echo "  $dpi DPI, main window: $(xdotool getwindowgeometry "$main" | sed -n "s/.*Geometry: //p") pixels"
    import -window "$main" "$out/main-window.png"
    press 3307 2557   # Macro Editor >>
    echo "  $dpi DPI, with the macro panel: $(xdotool getwindowgeometry "$main" | sed -n "s/.*Geometry: //p") pixels"
    import -window "$main" "$out/main-window-macro-panel.png"
    press 607 2197    # Help
    help=$(find "Name Editor - Help")
    [ -n "$help" ] && import -window "$help" "$out/help-window.png"
    # With no window manager every window opens at the top left: move it off the main one.
    [ -n "$help" ] && xdotool windowmove "$help" 700 0 && sleep 0.5
    press 607 6757    # the macro panel'"'"'s Help
    helpM=$(find "Macro Editor - Help")
    [ -n "$helpM" ] && import -window "$helpM" "$out/help-window-macros.png"
    kill %1
  ' _ "$dpi" "$velquin" "$shots/dpi$dpi"
  windows=$(ls -d artifacts/e2e/win32/dpi$dpi artifacts/e2e/win64/dpi$dpi 2>/dev/null | head -1 || true)
  for shot in "$shots/dpi$dpi"/*.png; do
    name=$(basename "$shot")
    if [ -n "$windows" ] && [ -f "$windows/$name" ]; then
      mkdir -p "$shots/beside-windows/dpi$dpi"
      convert "$windows/$name" -size 12x1 xc:white "$shot" -background white -gravity north +append \
        "$shots/beside-windows/dpi$dpi/$name"
    fi
  done
done
echo "screenshots: $shots/dpi96, $shots/dpi144"
[ -d "$shots/beside-windows" ] && echo "beside the Windows exe's (left): $shots/beside-windows"
[ -d "$shots/beside-windows" ] || echo "no Windows screenshots in artifacts/e2e: run tests/e2e/run_e2e.sh first to have them beside"
