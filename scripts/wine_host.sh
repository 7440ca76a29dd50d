# Sourced by every script that runs Wine: decides once which Wine runs what on this machine.
#
# A kernel without 32-bit support cannot start Wine's i386 loader at all, so whether this
# machine executes i386 code is tried, not guessed from the installed packages: a 96-byte
# static i386 program that exits with 42. VELQUIN_NO_I386=1 takes the 64-bit-only path on
# any machine, so both paths can be tried anywhere.
#
# Sets:
#   VELQUIN_I386         yes or no
#   VELQUIN_WINE         the Wine loader to run programs with (also for wineboot and reg)
#   VELQUIN_WINE_BUILDS  the Windows builds whose Wine steps run here: "win32 win64" or "win64"
#   VELQUIN_RUN_BUILD    the build a player would open here: win32 where it runs, else win64

velquin_runs_i386() {
  [ "${VELQUIN_NO_I386:-0}" = 1 ] && return 1
  local probe status=0
  probe=$(mktemp /tmp/velquin-i386-probe.XXXXXX) || return 1
  # ELF header, one loadable segment, then: mov ebx,42; mov eax,1 (exit); int 0x80.
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xbb\x2a\x00\x00\x00\xb8\x01\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  [ "$status" = 42 ]
}

if velquin_runs_i386; then
  VELQUIN_I386=yes
  VELQUIN_WINE=wine
  VELQUIN_WINE_BUILDS="win32 win64"
  VELQUIN_RUN_BUILD=win32
else
  VELQUIN_I386=no
  # Debian's "wine" wrapper prefers the i386 loader whenever wine32 is installed; call the
  # 64-bit loader by its path instead.
  VELQUIN_WINE=/usr/lib/wine/wine64
  export WINELOADER=$VELQUIN_WINE
  VELQUIN_WINE_BUILDS="win64"
  VELQUIN_RUN_BUILD=win64
fi
export VELQUIN_I386 VELQUIN_WINE VELQUIN_WINE_BUILDS VELQUIN_RUN_BUILD

# The one line that says what this machine runs, for scripts to print once.
velquin_wine_note() {
  if [ "$VELQUIN_I386" = yes ]; then
    echo "This machine runs 32-bit code: the Wine steps use both builds (win32 and win64)."
  else
    echo "This machine runs no 32-bit code${VELQUIN_NO_I386:+ (VELQUIN_NO_I386 is set)}: the Wine steps use the 64-bit build (win64) under wine64."
  fi
}
