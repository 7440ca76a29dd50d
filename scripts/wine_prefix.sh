# Sourced by every script that makes a Wine prefix: one booted as Wine boots it and, given the
# game's folder, holding the game's registry entry as its installer leaves it, written by Wine's
# own "reg add" in the 32-bit view (where a 32-bit installer writes on a 64-bit prefix).
source "$(dirname "${BASH_SOURCE[0]}")/wine_host.sh"

velquin_game_key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\zovur.exe'

# reg add ARGUMENTS... in $WINEPREFIX, replacing the value when it is there.
wine_reg_add() { "$VELQUIN_WINE" reg add "$@" /f </dev/null >/dev/null; }

# make_wine_prefix PREFIX [GAME_FOLDER [COMMAND...]]
# Boots PREFIX unless it has a registry already; sets the game's Path to GAME_FOLDER; runs
# COMMAND (more values, with wine_reg_add) in it. Then ends the prefix's server, which writes
# system.reg out for native readers, and fails when the game's entry is not in it.
make_wine_prefix() {
  (
    export WINEPREFIX=$1 WINEDEBUG=${WINEDEBUG:--all}
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      mkdir -p "$WINEPREFIX"
      "$VELQUIN_WINE" wineboot -i </dev/null >/dev/null 2>&1 || { echo "wineboot failed in $WINEPREFIX" >&2; exit 1; }
    fi
    if [ -n "${2:-}" ]; then
      wine_reg_add "$velquin_game_key" /v Path /t REG_SZ /d "$2" /reg:32 || exit 1
    fi
    "${@:3}" || exit 1
    wineserver -k 2>/dev/null || true
    wineserver -w
    if [ -n "${2:-}" ] && ! grep -qi 'zovur\.exe\]' "$WINEPREFIX/system.reg"; then
      echo "the game's entry did not reach $WINEPREFIX/system.reg" >&2
      exit 1
    fi
  )
}

# write_system_reg PREFIX GAME_FOLDER: a prefix's system.reg written by hand, holding nothing
# but the game's entry, for what reads a prefix without Wine.
write_system_reg() {
  local folder=${2//\\/\\\\}
  mkdir -p "$1"
  printf 'WINE REGISTRY Version 2\n\n[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\zovur.exe] 1\n"Path"="%s"\n' \
    "$folder" >"$1/system.reg"
}
