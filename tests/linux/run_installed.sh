#!/usr/bin/env bash
# The native Linux program as a player gets it: installed with `cmake --install` into a
# throwaway prefix, or as the Debian package installed it into /usr (its desktop entry and
# metainfo validated), or the unpacked portable bundle; then run under Xvfb with a throwaway
# HOME whose Steam library holds a Proton prefix made by real Wine with the game in it. Its
# command line answers as a table says, with no display, also as a throwaway user (made here,
# removed on exit) whose password entry names that HOME; a name typed and saved from the
# keyboard must land byte-exact in that prefix's plyr.sav. VELQUIN_LAUNCH, when set, is the
# command that each run of the program goes through (a chroot into a system without Qt).
# Usage: run_installed.sh NATIVE_RELEASE_BUILD_DIR|INSTALLED_PREFIX|BUNDLE_DIR NATIVE_BUILD_DIR_WITH_DEMO_TOOL [ARTIFACTS_DIR]
set -euo pipefail
tools=$(realpath "$2")
artifacts=$(realpath -m "${3:-artifacts/linux}")
here=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$artifacts"
work=$(mktemp -d /tmp/velquin-installed.XXXXXX)
tester=velquin-t$$ made_tester=
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; [ -z "$made_tester" ] || userdel "$tester"; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if [ -f "$1/CMakeCache.txt" ]; then
  usr=$work/usr
  cmake --install "$1" --prefix "$usr" >/dev/null
else
  usr=$(realpath "$1")
fi
share=$usr/share
program=$usr/bin/velquin
# The bundle has the program at its top and no manual page; the package check lists its files.
[ -f "$usr/qt.conf" ] && program=$usr/velquin
[ -f "$usr/qt.conf" ] || for f in bin/velquin share/man/man1/velquin.1.gz share/doc/velquin/copyright \
  share/applications/io.velquin.Velquin.desktop share/metainfo/io.velquin.Velquin.metainfo.xml \
  share/icons/hicolor/48x48/apps/io.velquin.Velquin.png share/icons/hicolor/256x256/apps/io.velquin.Velquin.png \
  share/icons/hicolor/scalable/apps/io.velquin.Velquin.svg; do
  [ -f "$usr/$f" ] || fail "not installed: $f"
done
desktop-file-validate "$share/applications/io.velquin.Velquin.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$share/metainfo/io.velquin.Velquin.metainfo.xml" || fail "appstreamcli validate"
grep -qxF 'GenericName[de]=Namens- und Makro-Editor für DF:TFD' "$share/applications/io.velquin.Velquin.desktop" ||
  fail "the desktop entry has no German name"
grep -qxF 'Comment[ru]=Изменение имён персонажей и макросов чата DF:TFD в префиксе Wine или Proton' \
  "$share/applications/io.velquin.Velquin.desktop" || fail "the desktop entry has no Russian comment"
grep -qF '<summary xml:lang="de">Figurennamen und Chat-Makros von DF:TFD bearbeiten</summary>' \
  "$share/metainfo/io.velquin.Velquin.metainfo.xml" || fail "the metainfo has no German summary"
version=$("$here/scripts/version.sh") || exit 1
grep -q "<release version=\"$version\" date=\"20[0-9-]*\"/>" "$share/metainfo/io.velquin.Velquin.metainfo.xml" ||
  fail "the metainfo's release is not $version"
identify "$share/icons/hicolor/256x256/apps/io.velquin.Velquin.png" | grep -q ' 256x256 ' || fail "icon size"

launch=${VELQUIN_LAUNCH:-}

# A Steam library's Proton prefix with the game, made by Wine itself.
export HOME=$work/home
unset XDG_CONFIG_HOME  # the pick the program remembers goes below each HOME made here
prefix=$HOME/.local/share/Steam/steamapps/compatdata/4242/pfx
mkdir -p "$(dirname "$prefix")"
"$here/scripts/demo_prefix.sh" "$prefix" "$tools/velquin_make_demo_save" >/dev/null 2>&1
save=$prefix/drive_c/Games/DF-TFD/plyr.sav
before=$work/before.sav
cp "$save" "$before"

listing=$(env -u WINEPREFIX $launch "$program" --list)
echo "$listing"
grep -q "$prefix" <<<"$listing" || fail "--list does not name the Steam prefix"
# The command line, with no display: who runs it (root, or the throwaway user with no access
# to two folders of that HOME), the arguments, the HOME ("unset": none), the stream that
# carries the answer (the other stays empty; an error is one line), the exit code, a text the
# answer holds.
compatdata=$(dirname "$(dirname "$prefix")")
mkdir -p "$work/no-game-home" "$work/forged-home" "$HOME/Games"
mkdir -m 000 "$HOME/Games/umu" "$compatdata/9999"
useradd --no-create-home --home-dir "$HOME" --no-user-group --gid 65534 --shell /usr/sbin/nologin "$tester"
made_tester=1
chmod 755 "$work"
# A folder name that is not UTF-8, and a prefix whose name would forge lines of the listing.
latin=$work/caf$'\xe9'
ln -s "$prefix" "$latin"
forged=$work/$'one\n* FAKE'
mkdir -p "$forged/dosdevices" "$forged/drive_c/Games/DF-TFD"
cp "$prefix/system.reg" "$forged/"
cp "$save" "$forged/drive_c/Games/DF-TFD/"
ln -s ../drive_c "$forged/dosdevices/c:"
ln -s "$forged" "$work/forged-home/.wine"
while IFS='|' read -r user args home stream code text; do
  # The throwaway user is in this system's password database, not in a chroot's.
  if [ -n "$user" ] && [ -n "$launch" ]; then
    echo "velquin $args as $user: run on the installed program, not through $launch"
    continue
  fi
  rc=0 as=() home_setting=(HOME="$home")
  [ -z "$user" ] || as=(setpriv --reuid="$user" --regid=65534 --clear-groups)
  [ "$home" != unset ] || home_setting=(-u HOME)
  "${as[@]}" env -u WINEPREFIX -u DISPLAY -u WAYLAND_DISPLAY "${home_setting[@]}" $launch "$program" $args \
    >"$work/stdout" 2>"$work/stderr" || rc=$?
  other=stderr
  [ "$stream" = stderr ] && other=stdout
  [ "$rc" = "$code" ] || fail "velquin $args: exit code $rc, not $code"
  LC_ALL=C grep -qF -- "$text" "$work/$stream" || fail "velquin $args: '$text' not on $stream"
  [ ! -s "$work/$other" ] || fail "velquin $args: $other not empty: $(head -c 200 "$work/$other")"
  [ "$stream" = stdout ] || [ "$(wc -l <"$work/stderr")" = 1 ] || fail "velquin $args: not one line"
done <<TABLE
|--help|$HOME|stdout|0|  PlayOnLinux: ~/.PlayOnLinux/wineprefix/*
|--version|$HOME|stdout|0|velquin $version
|--frob|$HOME|stderr|2|velquin: Unknown option 'frob'.
|--prefix|$HOME|stderr|2|velquin: Missing value after '--prefix'.
|--list|$HOME|stdout|0|* $prefix (Steam
|--list|$HOME|stdout|0|game folder C:\Games\DF-TFD, plyr.sav of
|--list|$work/no-game-home|stdout|1|No Wine prefix holds DF:TFD
|--list --prefix $latin|$HOME|stdout|0|* $latin (--prefix)
|--list --prefix=$latin|$HOME|stdout|0|* $latin (--prefix)
|--list|$work/forged-home|stdout|0|* $work/one\n* FAKE (Wine)
$tester|--list|unset|stdout|0|* $prefix (Steam
$tester|--list||stdout|0|* $prefix (Steam
$tester|--list|relative/home|stdout|0|* $prefix (Steam
$tester|--list|unset|stdout|0|Skipped $HOME/Games/umu: Permission denied
$tester|--list|unset|stdout|0|Skipped $compatdata/9999: Permission denied
TABLE

# In the player's language, as Qt reads it from LANGUAGE and LANG: --help and the error lines;
# --list stays in English, since scripts read it.
while IFS='|' read -r language args stream text; do
  [ -n "$language" ] || continue
  env -u WINEPREFIX -u LC_ALL -u LC_MESSAGES LANGUAGE="$language" LANG=C.UTF-8 $launch "$program" $args \
    >"$work/stdout" 2>"$work/stderr" || true
  grep -qF -- "$text" "$work/$stream" ||
    fail "velquin $args in $language: '$text' not on $stream: $(head -c 300 "$work/$stream")"
done <<TABLE
de|--help|stdout|Diese Hilfe anzeigen und beenden.
ru|--help|stdout|Показать эту справку и выйти.
de|--prefix=|stderr|velquin: --prefix braucht einen Ordner. Weitere Informationen mit „velquin --help“.
ru|--prefix=|stderr|velquin: для --prefix нужна папка. Попробуйте «velquin --help».
de|--list|stdout|Wine prefixes with DF:TFD, the most recently played first:
TABLE

# Places that do not answer. A HOME whose Steam lists three libraries: one on a FUSE mount
# whose daemon is stopped (a NAS asleep), one on a FUSE mount whose daemon is gone, and the
# first HOME's Steam install with the game. --list comes back, says which did not answer and
# why, and still lists the game; `timeout` only guards against a hang.
if [ -n "$launch" ]; then
  echo "places that do not answer: run on the installed program, not through $launch (its root sees no mount made here)"
else
  fuse_daemons=() fuse_mounts=()
  release_fuse() {
    local pid mount
    for pid in "${fuse_daemons[@]}"; do kill -CONT "$pid" 2>/dev/null || true; kill -KILL "$pid" 2>/dev/null || true; done
    for mount in "${fuse_mounts[@]}"; do fusermount3 -u -z "$mount" 2>/dev/null || true; done
    fuse_daemons=() fuse_mounts=()
  }
  # Before the rest of the cleanup: removing $work while a mount in it does not answer would hang.
  earlier_exit=$(trap -p EXIT)
  earlier_exit=${earlier_exit#"trap -- '"}
  trap 'release_fuse; '"${earlier_exit%"' EXIT"}" EXIT
  fuse=$work/fuse
  for name in asleep gone; do
    mkdir -p "$fuse/$name" "$fuse/$name-files/steamapps/compatdata"
    bindfs -f "$fuse/$name-files" "$fuse/$name" &
    fuse_daemons+=($!) fuse_mounts+=("$fuse/$name")
    for _ in $(seq 100); do mountpoint -q "$fuse/$name" && break; sleep 0.1; done
    mountpoint -q "$fuse/$name" || fail "bindfs did not mount $fuse/$name"
  done
  # Both signals take effect before the program runs: every thread of the one stopped, the
  # other reaped (its mount then answers "not connected").
  kill -STOP "${fuse_daemons[0]}"
  for _ in $(seq 100); do
    ! grep -qv '^[0-9]* ([^)]*) T' /proc/"${fuse_daemons[0]}"/task/*/stat && break
    sleep 0.1
  done
  kill -KILL "${fuse_daemons[1]}"
  wait "${fuse_daemons[1]}" 2>/dev/null || true
  mkdir -p "$fuse/home/.local/share/Steam/steamapps"
  printf '"libraryfolders"\n{\n\t"1" { "path" "%s" }\n\t"2" { "path" "%s" }\n\t"3" { "path" "%s" }\n}\n' \
    "$fuse/asleep" "$fuse/gone" "$HOME/.local/share/Steam" >"$fuse/home/.local/share/Steam/steamapps/libraryfolders.vdf"
  rc=0
  env -u WINEPREFIX -u DISPLAY -u WAYLAND_DISPLAY HOME="$fuse/home" timeout 120 "$program" --list \
    >"$work/stdout" 2>"$work/stderr" || rc=$?
  cat "$work/stdout"
  [ "$rc" = 0 ] || fail "--list with a library asleep: exit code $rc, not 0"
  for text in "* $prefix (Steam" "Skipped $fuse/asleep: not answering" \
    "Skipped $fuse/gone: Transport endpoint is not connected"; do
    grep -qF -- "$text" "$work/stdout" || fail "--list with a library asleep: '$text' not said"
  done
  release_fuse
fi

# Type a name into the first box, Tab to Save Names, press it: keyboard only.
env -u WINEPREFIX xvfb-run -a -s "-screen 0 800x600x24" bash -c '
  "${@:2}" &
  window=$(timeout 30 xdotool search --sync --name "^Velquin for DF:TFD$" | head -1) || exit 1
  sleep 1
  xdotool key --window "$window" ctrl+a
  xdotool type --window "$window" --delay 20 "Neo"
  for i in 1 2 3 4 5 6 7; do xdotool key --window "$window" Tab; done
  xdotool key --window "$window" space
  sleep 1
  import -window root -crop 400x300+0+0 "$1/velquin-linux-window.png"
  kill %1
' _ "$artifacts" $launch "$program" || fail "the window did not come up"

# Only name slot 0 changed: "Neo" and two zero bytes at offset 12, every other byte kept.
expected=$work/expected.sav
cp "$before" "$expected"
printf 'Neo\0\0' | dd of="$expected" bs=1 seek=12 conv=notrunc status=none
if ! cmp -s "$save" "$expected"; then
  fail "plyr.sav is not what the save must write"
  cmp -l "$save" "$expected" | head -5
fi
echo "screenshot: $artifacts/velquin-linux-window.png"

# --- Displays that do not answer, and a library that does not answer ---
# No display, or a Wayland socket nobody listens on and no X display: one line, status 1, no
# abort. Then the window must come while the only prefix lies on a FUSE mount whose daemon is
# stopped (bindfs, SIGSTOP), and the program must still end when told to. Its own subshell,
# whose trap resumes the daemon and unmounts on every exit.
(
  stalled=$(mktemp -d /tmp/velquin-stalled-window.XXXXXX) bindfs_pid=
  unstall() {
    if [ -n "$bindfs_pid" ]; then
      kill -CONT "$bindfs_pid" 2>/dev/null || true
      kill "$bindfs_pid" 2>/dev/null || true  # it unmounts as it ends
      wait "$bindfs_pid" 2>/dev/null || true
    fi
    ! mountpoint -q "$stalled/mount" || umount "$stalled/mount" 2>/dev/null || umount -l "$stalled/mount" || true
    rm -rf "$stalled"
  }
  trap unstall EXIT
  trap 'exit 1' INT TERM HUP
  bad=0
  mkdir -p "$stalled/runtime" "$stalled/mount"
  while IFS='|' read -r settings; do
    rc=0
    env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$stalled/runtime" $settings $launch "$program" \
      >"$stalled/stdout" 2>"$stalled/stderr" || rc=$?
    [ "$rc" = 1 ] || { echo "FAIL: with '$settings': exit code $rc, not 1"; bad=1; }
    [ ! -s "$stalled/stdout" ] || { echo "FAIL: with '$settings': stdout not empty"; bad=1; }
    [ "$(cat "$stalled/stderr")" = "velquin: no display to open its window on (DISPLAY and WAYLAND_DISPLAY); nothing was read or written." ] ||
      { echo "FAIL: with '$settings': stderr is not the one line: $(head -c 300 "$stalled/stderr")"; bad=1; }
  done <<ROWS
WAYLAND_DISPLAY=velquin-none-$$
WAYLAND_DISPLAY=$stalled/runtime/no-socket
ROWS

  if [ -n "$launch" ]; then
    echo "the window over a stalled FUSE mount: run on the installed program, not through $launch"
    exit $bad
  fi
  bindfs -f "$prefix" "$stalled/mount" &
  bindfs_pid=$!
  for _ in $(seq 100); do mountpoint -q "$stalled/mount" && break || sleep 0.1; done
  mountpoint -q "$stalled/mount" || { echo "FAIL: bindfs could not mount $stalled/mount"; exit 1; }
  kill -STOP "$bindfs_pid"
  WINEPREFIX="$stalled/mount" xvfb-run -a -s "-screen 0 800x600x24" bash -c '
    "${@:2}" &
    timeout 30 xdotool search --sync --name "^Velquin for DF:TFD$" >/dev/null || exit 1
    import -window root -crop 400x300+0+0 "$1/velquin-linux-window-stalled-library.png"
    kill %1
    for _ in $(seq 100); do kill -0 %1 2>/dev/null || exit 0; sleep 0.1; done
    echo "the program did not end within 10 s of SIGTERM"
    kill -KILL %1
    exit 1
  ' _ "$artifacts" "$program" || { echo "FAIL: no window while the library does not answer"; bad=1; }
  exit $bad
) || fail "no display, or a library that does not answer"

# --- Found, named, chosen ---
# The window's line naming the install in use, as the player's keyboard reaches it (Shift+Tab
# from the first box: Where Looked, Choose Folder, then that line) and copies it; after `keys`.
python3 -c 'import tkinter' 2>/dev/null || fail "python3 with tkinter is needed to read the window's words"
in_use() {
  env -u WINEPREFIX HOME="$1" xvfb-run -a -s "-screen 0 800x600x24" bash -c '
    "${@:3}" &
    window=$(timeout 30 xdotool search --sync --name "^Velquin for DF:TFD$" | head -1) || exit 1
    sleep 2
    for key in $1; do xdotool key --window "$window" "$key"; sleep 0.3; done
    if [ -n "$2" ]; then
      for key in shift+Tab shift+Tab shift+Tab ctrl+a ctrl+c; do xdotool key --window "$window" "$key"; done
      sleep 0.5
      python3 -c "import tkinter; r = tkinter.Tk(); r.withdraw(); print(r.clipboard_get())"
    fi
    kill %1
  ' _ "$2" "$3" $launch "$program"
}
said=$(in_use "$work/no-game-home" "" read) || true
grep -qF "DF:TFD was not found in any Wine prefix." <<<"$said" || fail "an empty HOME: the window does not say so: $said"
# Two installs by hand, each with the real prefix's registry and save: ~/.wine, played an hour
# ago, and winetricks' df, the newest. The other one is picked from the keyboard (Shift+Tab to
# the list, Down); it is still the one at the next start, and --list marks it.
two=$work/two-home
for p in "$two/.wine" "$two/.local/share/wineprefixes/df"; do
  mkdir -p "$p/dosdevices" "$p/drive_c/Games/DF-TFD"
  ln -s ../drive_c "$p/dosdevices/c:"
  cp "$prefix/system.reg" "$p/"
  cp "$before" "$p/drive_c/Games/DF-TFD/plyr.sav"
done
touch -d '1 hour ago' "$two/.wine/drive_c/Games/DF-TFD/plyr.sav"
said=$(in_use "$two" "" read) || true
grep -qF "winetricks · $two/.local/share/wineprefixes/df" <<<"$said" || fail "the newest install not named: $said"
in_use "$two" "shift+Tab shift+Tab shift+Tab shift+Tab Down" "" || fail "no window to pick in"
said=$(in_use "$two" "" read) || true
grep -qF "Wine · $two/.wine" <<<"$said" || fail "the install picked is not the one at the next start: $said"
env -u WINEPREFIX HOME="$two" $launch "$program" --list | grep -qF "* $two/.wine (Wine, remembered)" ||
  fail "--list does not mark the install picked"

[ "$failures" = 0 ]
