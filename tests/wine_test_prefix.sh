# Sourced by the Wine-based test scripts: a throwaway Wine prefix, a player file that even
# root cannot write (root ignores permission bits; an immutable file it cannot), and a
# GoogleTest runner that counts a run as passed only when its tests really ran.
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine_prefix.sh"

# new_wine_test_prefix NAME [GAME_FOLDER [COMMAND...]]: makes $work, $locked and the prefix
# (make_wine_prefix), and removes them all on exit.
new_wine_test_prefix() {
  work=$(mktemp -d "/tmp/velquin-$1.XXXXXX")
  locked="$work/locked"
  trap remove_wine_test_prefix EXIT
  export WINEPREFIX="$work/prefix" WINEDEBUG=-all LANG=C.UTF-8 LC_ALL=C.UTF-8
  make_wine_prefix "$WINEPREFIX" "${@:2}"
}

remove_wine_test_prefix() {
  chattr -i "$locked/plyr.sav" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}

# $locked/plyr.sav with "Locked" as its first name, made immutable.
make_locked_player_file() {
  mkdir -p "$locked"
  printf '\1\1\1\1\1\1\1\1\1\1\1\1Locked\0' >"$locked/plyr.sav"
  chattr +i "$locked/plyr.sav" || {
    echo "chattr +i failed on $locked: the read-only player file cannot be made here" >&2
    return 1
  }
}

windows_path() { echo "Z:${1//\//\\}"; }

# Runs a GoogleTest program; passes only when it exits 0, ran at least one test, and
# skipped none (a skipped case means its fixture was not prepared).
run_gtest() {
  local log status
  log=$(mktemp)
  { "$@" 2>&1; echo $? >"$log.status"; } | tr -d '\r' | tee "$log"
  status=$(cat "$log.status")
  if [ "$status" = 0 ] && ! grep -Eq '^\[  PASSED  \] [1-9][0-9]* test' "$log"; then
    echo "no test ran: $*" >&2
    status=1
  fi
  if grep -q '^\[  SKIPPED \]' "$log"; then
    echo "some tests were skipped: $*" >&2
    status=1
  fi
  rm -f "$log" "$log.status"
  return "$status"
}
