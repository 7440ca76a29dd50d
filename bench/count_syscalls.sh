#!/usr/bin/env bash
# Lists, with strace, the system calls on plyr.sav of one start-up load (the load report) and
# of one Save Names plus one Save Macros (the demo tool, after it lays the file down).
# Usage: count_syscalls.sh BUILD_DIR (a native build).
set -euo pipefail
build=$1
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
"$build/velquin_make_demo_save" "$folder" >/dev/null
source "$(dirname "$0")/../scripts/wine_prefix.sh"  # write_system_reg
write_system_reg "$folder/prefix" "$folder"

calls='openat,read,fstat,newfstatat,pwrite64,write,close'
WINEPREFIX="$folder/prefix" strace -y -e trace=$calls -o "$folder/load" "$build/velquin_load_report" >/dev/null
echo "start-up load:"
grep 'plyr\.sav' "$folder/load" | cut -c1-90 | sed 's/^/  /'

# A save writes an unnamed copy in the folder (shown as "#inode (deleted)", or under a
# .velquin-save- name), then links it in and renames it over plyr.sav.
save_calls=$calls,fallocate,copy_file_range,lseek,fchown,fchmod,fdatasync,fsync,linkat,renameat
strace -y -e trace=$save_calls -o "$folder/save" "$build/velquin_make_demo_save" "$folder" >/dev/null
echo "Save Names, then Save Macros (after the demo tool's own whole-file write):"
grep 'plyr\.sav\|velquin-save\|(deleted)' "$folder/save" | grep -v 'O_TRUNC\|^write' | cut -c1-90 | sed 's/^/  /'
