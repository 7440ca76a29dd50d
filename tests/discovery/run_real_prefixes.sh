#!/usr/bin/env bash
# Game discovery over a prefix that real Wine made (wineboot), as a Russian player's would be:
# code page 1251, and the game installed in C:\Игры\DF, laid out as umu-launcher lays out a
# game's prefix. `velquin --list` must name it with its game folder, and the discovery tests'
# real-prefix case must load and save its names in 1251, passing only when it really ran.
# Works with 32-bit Wine and with the 64-bit one alone (scripts/wine_host.sh decides).
# Usage: run_real_prefixes.sh [BUILD_DIR]   (build/linux-test by default)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/linux-test}
tests="$build/tests/velquin_real_prefix_tests"
velquin="$build/app/linux/velquin"
for tool in "$tests" "$velquin" "$build/velquin_make_demo_save"; do
  [ -x "$tool" ] || { echo "no $tool: build the linux-test preset first" >&2; exit 1; }
done
source tests/wine_test_prefix.sh  # make_wine_prefix and run_gtest

home=$(mktemp -d /tmp/velquin-real-prefixes.XXXXXX)
prefix="$home/Games/umu/umu-0/pfx"
trap 'WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME=$home WINEDEBUG=-all LANG=C.UTF-8 LC_ALL=C.UTF-8
unset WINEPREFIX XDG_DATA_HOME XDG_CONFIG_HOME

echo "wineboot -i in $prefix"
code_page_1251() { wine_reg_add 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP /t REG_SZ /d 1251; }
make_wine_prefix "$prefix" 'C:\Игры\DF' code_page_1251
grep -q '"ACP"="1251"' "$prefix/system.reg" || { echo "ACP 1251 did not reach $prefix/system.reg" >&2; exit 1; }

game="$prefix/drive_c/Игры/DF"
mkdir -p "$game"
"$build/velquin_make_demo_save" "$game" >/dev/null
printf '\xC8\xE2\xE0\xED\x00\x00' | dd of="$game/plyr.sav" bs=1 seek=12 conv=notrunc status=none  # Иван

list=$("$velquin" --list)
echo "$list"
grep -qF "* $prefix (umu, from $home/Games/umu)" <<<"$list" || { echo "--list did not choose the prefix" >&2; exit 1; }
grep -qF 'game folder C:\Игры\DF' <<<"$list" || { echo "--list did not read the Cyrillic game folder" >&2; exit 1; }

VELQUIN_REAL_PREFIXES_HOME=$home run_gtest "$tests"
