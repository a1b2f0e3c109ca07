#!/bin/sh
# Writes a link file under Wine and reads it with the host's lnkinfo, a reader
# that shares no code with the shell that wrote it. (Debian's lnkinfo shows 0
# for the show command and the hot key whatever the header holds; the test
# program checks those header bytes itself.)
#   check_lnkinfo.sh WRITER.exe EMULATOR [ARG ...]
set -u
writer="$1"; shift
link="$(dirname "$writer")/probe.lnk"
rm -f "$link"
"$@" "$writer" || { echo "the writer failed"; exit 1; }
[ -f "$link" ] || { echo "no $link"; exit 1; }
raw="$(lnkinfo "$link")" || { echo "lnkinfo cannot read $link"; exit 1; }
info="$(printf '%s\n' "$raw" | tr -s '\t' ' ')"
printf '%s\n' "$info"
failed=0
expect() {
    if printf '%s\n' "$info" | grep -qF -- "$1"; then :; else echo "MISSING: $1"; failed=1; fi
}
expect "Description : Skrót do programu"
expect "Working directory : C:\\windows"
expect "Command line arguments : /p raport.txt"
expect "Icon location : C:\\windows\\notepad.exe"
expect "Icon index : 2"
expect "Local path : C:\\windows\\notepad.exe"
exit $failed
