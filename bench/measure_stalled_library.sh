#!/usr/bin/env bash
# How long `velquin --list` takes when one Steam library lies on a mount that does not answer
# (a FUSE mount made with bindfs whose daemon is stopped, as a NAS asleep), in a throwaway
# HOME whose other library holds a prefix with the game ("asleep"); and, to compare, with
# that library alone ("awake"). Each program is run ROUNDS times
# under `timeout LIMIT`: exit code 124 means it was still waiting when the limit came.
# Needs root (or FUSE for the user) and bindfs. Prints seconds and exit code per run.
# Usage: measure_stalled_library.sh [--limit SECONDS] [--rounds N] VELQUIN_EXE...
set -euo pipefail
limit=30 rounds=3
while [ $# -gt 0 ]; do
  case $1 in
    --limit) limit=$2; shift 2 ;;
    --rounds) rounds=$2; shift 2 ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: $0 [--limit SECONDS] [--rounds N] VELQUIN_EXE..." >&2; exit 2; }
command -v bindfs >/dev/null || { echo "bindfs is needed" >&2; exit 2; }
work=$(mktemp -d /tmp/velquin-stalled.XXXXXX)
daemon=
cleanup() {
  if [ -n "$daemon" ]; then kill -CONT "$daemon" 2>/dev/null || true; kill -KILL "$daemon" 2>/dev/null || true; fi
  fusermount3 -u -z "$work/asleep" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A prefix with the game, enough for the search: the registry's entry, C: and plyr.sav.
prefix=$work/library/steamapps/compatdata/1/pfx
mkdir -p "$prefix/drive_c/Games/DF" "$prefix/dosdevices"
ln -s ../drive_c "$prefix/dosdevices/c:"
printf '%s\n' 'WINE REGISTRY Version 2' '' \
  '[Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\zovur.exe] 1' '"Path"="C:\\Games\\DF"' \
  >"$prefix/system.reg"
head -c 700 /dev/zero >"$prefix/drive_c/Games/DF/plyr.sav"

mkdir -p "$work/asleep" "$work/asleep-files" "$work/home/.local/share/Steam/steamapps" \
  "$work/awake/.local/share/Steam/steamapps"
bindfs -f "$work/asleep-files" "$work/asleep" &
daemon=$!
for _ in $(seq 100); do mountpoint -q "$work/asleep" && break; sleep 0.1; done
mountpoint -q "$work/asleep" || { echo "bindfs did not mount" >&2; exit 1; }
kill -STOP "$daemon"
for _ in $(seq 100); do  # until every thread of it has stopped
  ! grep -qv '^[0-9]* ([^)]*) T' /proc/"$daemon"/task/*/stat && break
  sleep 0.1
done
printf '"libraryfolders" { "1" { "path" "%s" } "2" { "path" "%s" } }\n' "$work/asleep" "$work/library" \
  >"$work/home/.local/share/Steam/steamapps/libraryfolders.vdf"
printf '"libraryfolders" { "1" { "path" "%s" } }\n' "$work/library" \
  >"$work/awake/.local/share/Steam/steamapps/libraryfolders.vdf"

for velquin in "$@"; do
  for case in awake asleep; do
    home=$work/$case
    [ "$case" = asleep ] && home=$work/home
    for round in $(seq "$rounds"); do
      rc=0
      start=$(date +%s.%N)
      env -u WINEPREFIX -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$home" timeout "$limit" "$velquin" --list \
        >"$work/out" 2>&1 || rc=$?
      seconds=$(echo "$(date +%s.%N) - $start" | bc)
      printf '%s, %s, round %s: %6.2f s, exit code %s%s\n' "$velquin" "$case" "$round" "$seconds" "$rc" \
        "$([ "$rc" = 124 ] && echo ' (still waiting at the limit)')"
    done
  done
  [ -s "$work/out" ] && sed 's/^/    /' "$work/out" || echo "    (said nothing)"
done
