# Sourced by the Wine-based test scripts: a throwaway Wine prefix, and a player file that
# even root cannot write (root ignores permission bits; an immutable file it cannot).

# Makes $work, $locked and the prefix, and removes them all on exit.
new_wine_test_prefix() {
  work=$(mktemp -d "/tmp/velquin-$1.XXXXXX")
  locked="$work/locked"
  trap remove_wine_test_prefix EXIT
  export WINEPREFIX="$work/prefix" WINEDEBUG=-all LANG=C.UTF-8 LC_ALL=C.UTF-8
  wineboot -i >/dev/null 2>&1
}

remove_wine_test_prefix() {
  chattr -i "$locked/plyr.sav" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}

# $locked/plyr.sav with "Locked" as its first name, made immutable; fails where the file
# system cannot do that.
make_locked_player_file() {
  mkdir -p "$locked"
  printf '\1\1\1\1\1\1\1\1\1\1\1\1Locked\0' >"$locked/plyr.sav"
  chattr +i "$locked/plyr.sav" 2>/dev/null || {
    echo "chattr +i is not supported here: the read-only case is skipped" >&2
    return 1
  }
}

windows_path() { echo "Z:${1//\//\\}"; }
