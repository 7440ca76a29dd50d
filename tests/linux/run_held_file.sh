#!/usr/bin/env bash
# The save cases in which another process holds plyr.sav open, on the Linux program's own
# windows, over a throwaway prefix with the game entry made by Wine: as the holder
# tests/linux/HoldFile.cpp of each Windows build this machine runs; as root while a throwaway
# user who owns the file saves; and, with a copy of the file held instead, a btrfs snapshot's
# (which repeats its inode number) under the same mount. Then, where the file belongs to
# another account so that no lease can be had and every process's descriptors are looked at:
# a native holder while a stalled FUSE mount (bindfs, its daemon stopped) has an unrelated file
# open, a holder through a bind mount, one through a mount only its own mount namespace has,
# and, held instead, the file of another tmpfs with the same inode number.
# Usage: run_held_file.sh NATIVE_TEST_BUILD_DIR WINDOWS_BUILD_DIR...
set -euo pipefail
native=$(realpath "$1")
shift
source "$(dirname "$0")/../wine_test_prefix.sh"
new_wine_test_prefix held 'C:\Games\DF-TFD'
mkdir -p "$WINEPREFIX/drive_c/Games/DF-TFD"
: >"$WINEPREFIX/drive_c/Games/DF-TFD/plyr.sav"

status=0
for build in "$@"; do
  echo "== held by $(basename "$build")'s holder under Wine"
  VELQUIN_HELD_PREFIX="$WINEPREFIX" \
    VELQUIN_HOLD_COMMAND="exec '$VELQUIN_WINE' '$(realpath "$build")/tests/hold_file.exe' 'C:\\Games\\DF-TFD\\plyr.sav' 'C:\\Games\\DF-TFD\\held'" \
    run_gtest "$native/tests/velquin_qt_tests" --test-screen=96 \
    --gtest_filter='QtForms.EachSaveOverAWinePrefixWhoseFileAWindowsProgramMayHold' || status=1
done

game="$WINEPREFIX/drive_c/Games/DF-TFD"
player=velquin-held-$$
mounts=() daemons=() brokers=()
cleanup() {
  kill "${daemons[@]}" 2>/dev/null || true
  for broker in "${brokers[@]}"; do kill -- -"$broker" 2>/dev/null || true; done
  kill -CONT "${bindfs_pid:-}" 2>/dev/null || true
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount "${mounts[i]}" 2>/dev/null || umount -l "${mounts[i]}" || true; done
  [ -z "${made_player:-}" ] || userdel "$player"
  remove_wine_test_prefix
}
trap cleanup EXIT
useradd --no-create-home --home-dir "$work/home" --no-user-group --gid 65534 --shell /usr/sbin/nologin "$player"
made_player=1
mkdir -p "$work/home"
chown "$player" "$work/home" "$game" "$game/plyr.sav"
chmod 755 "$work"
chmod 700 "$work/home"
as_player=(setpriv --reuid="$player" --regid=65534 --clear-groups env HOME="$work/home" XDG_RUNTIME_DIR="$work/home")

# save_while_held TITLE HOLD_COMMAND [elsewhere]: the save cases as the player, HOLD_COMMAND
# holding plyr.sav when asked, or with "elsewhere" holding something else all along.
save_while_held() {
  echo "== $1"
  VELQUIN_HELD_PREFIX="$WINEPREFIX" VELQUIN_HOLD_COMMAND="$2" \
    run_gtest timeout -k 10 300 ${trace:+strace -f -qq -e trace=fcntl -e signal=none -o "$trace"} \
    "${as_player[@]}" ${3:+VELQUIN_HOLD_ELSEWHERE=1} ${trace:+ASAN_OPTIONS=detect_leaks=0} "$native/tests/velquin_qt_tests" --test-screen=96 \
    --gtest_filter='QtForms.EachSaveOverAWinePrefixWhoseFileAWindowsProgramMayHold' || status=1
}

# as_root_holder SCRIPT: sets root_hold to a hold command for the player that has root run
# SCRIPT (sh) instead, holding while the player's command reads its input, and answering only
# once it let go.
as_root_holder() {
  local fifos
  fifos=$(mktemp -d "$work/hold.XXXXXX")
  chmod 755 "$fifos"
  mkfifo -m 666 "$fifos/ask" "$fifos/done"
  # A session of its own, ended whole, whatever it waits on then.
  setsid bash -c 'while sh -c "$1" <"$2/ask"; do : >"$2/done"; done' broker "$1" "$fifos" >/dev/null 2>&1 &
  brokers+=($!)
  root_hold="cat >'$fifos/ask' && exec cat '$fifos/done'"
}

hold_plyr="exec 3<'$game/plyr.sav'; : >'$game/held'; exec cat >/dev/null"
as_root_holder "$hold_plyr"
save_while_held "held by root while its owner, another account, saves" "$root_hold"

# Subvolumes of one btrfs mount repeat inode numbers: a snapshot's copy is another file.
if ! command -v mkfs.btrfs >/dev/null; then
  echo "mkfs.btrfs is missing (btrfs-progs, scripts/setup.sh): the btrfs snapshot case cannot run" >&2
  status=1
else
  truncate -s 160M "$work/btrfs.img"
  mkfs.btrfs -q "$work/btrfs.img" >/dev/null
  mkdir "$work/btrfs"
  if ! mount -o loop "$work/btrfs.img" "$work/btrfs"; then
    echo "== NOT RUN: the btrfs snapshot case (this machine cannot mount a loop device)"
  else
    mounts+=("$work/btrfs")
    btrfs -q subvolume create "$work/btrfs/game"
    cp -p "$game/plyr.sav" "$work/btrfs/game/"
    chown "$player" "$work/btrfs/game"
    btrfs -q subvolume snapshot -r "$work/btrfs/game" "$work/btrfs/snapshot"
    mv "$game" "$game.real"
    ln -s "$work/btrfs/game" "$game"
    echo "inodes: $(stat -c '%i %n' "$work/btrfs/game/plyr.sav" "$work/btrfs/snapshot/plyr.sav")"
    save_while_held "a read-only btrfs snapshot's copy held, under the same mount" \
      "exec 3<'$work/btrfs/snapshot/plyr.sav'; : >'$game/held'; exec cat >/dev/null" elsewhere
    rm "$game"
    mv "$game.real" "$game"
  fi
fi

# Another account's file takes no lease from the player: every process's descriptors are
# looked at, as the trace of each run must show (LeakSanitizer cannot run under a tracer).
chown root "$game/plyr.sav"
chmod 666 "$game/plyr.sav"
trace="$work/fcntl.log"
fallback() {
  save_while_held "$@"
  grep -Eq 'F_SETLEASE, F_WRLCK\) += -1 EACCES' "$trace" && ! grep -Eq 'F_SETLEASE, F_WRLCK\) += 0' "$trace" || {
    echo "the lease was not refused: the descriptors were not looked at" >&2
    status=1
  }
}

# It must not wait on a file system that has nothing to do with the game, however stuck. A
# hang fails under the timeout instead of blocking.
stalled="$work/stalled"
mkdir -p "$stalled/source" "$stalled/mount"
: >"$stalled/source/unrelated"
bindfs -f "$stalled/source" "$stalled/mount" &
bindfs_pid=$!
mounts+=("$stalled/mount")
for _ in $(seq 100); do mountpoint -q "$stalled/mount" && break || sleep 0.1; done
mountpoint -q "$stalled/mount" || { echo "bindfs could not mount $stalled/mount" >&2; exit 1; }
# Opened here while the daemon still answers; the player's sleep inherits it.
exec 3<"$stalled/mount/unrelated"
"${as_player[@]}" sleep 600 &
daemons+=($!)
exec 3<&-
kill -STOP "$bindfs_pid"
fallback "held by a native holder while a stalled FUSE mount has a file open" "$hold_plyr"
kill -CONT "$bindfs_pid"

mkdir "$work/bound" "$work/namespace"
mount --bind "$game" "$work/bound"
mounts+=("$work/bound")
fallback "held through a bind mount" "exec 3<'$work/bound/plyr.sav'; : >'$game/held'; exec cat >/dev/null"
cat >"$work/hold_in_namespace.sh" <<SCRIPT
mount --bind '$game' '$work/namespace' &&
  exec ${as_player[*]} sh -c "exec 3<'$work/namespace/plyr.sav'; : >'$game/held'; exec cat >/dev/null"
SCRIPT
as_root_holder "exec unshare -m sh '$work/hold_in_namespace.sh'"
fallback "held through a mount of another mount namespace only" "$root_hold"

# The first file of each of two fresh tmpfs mounts has the same inode number.
mkdir "$work/other"
for folder in "$game" "$work/other"; do
  mount -t tmpfs -o mode=0777,size=1M velquin-held "$folder"
  mounts+=("$folder")
  : >"$folder/plyr.sav"
done
chmod 666 "$game/plyr.sav"
[ "$(stat -c %i "$game/plyr.sav")" = "$(stat -c %i "$work/other/plyr.sav")" ] ||
  { echo "the two tmpfs files do not share an inode number" >&2; exit 1; }
fallback "another tmpfs's file with the same inode number held" \
  "exec 3<'$work/other/plyr.sav'; : >'$game/held'; exec cat >/dev/null" elsewhere
exit $status
