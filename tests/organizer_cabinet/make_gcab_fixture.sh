#!/bin/sh
# Makes a cabinet with the host's gcab (MSZIP): a text file and a file in a
# subfolder, whose bytes the tests compare with what they extract.
#   make_gcab_fixture.sh OUTDIR
set -eu
out="$1"
rm -rf "$out"
mkdir -p "$out/src/podkatalog"
cd "$out/src"
printf 'Kopia zapasowa z innego programu\r\n' > notatka.txt
# 70000 bytes that are not all alike, so that MSZIP has real work.
i=0
while [ $i -lt 7000 ]; do
    printf '%09d\n' $((i * 7919 % 1000003))
    i=$((i + 1))
done > podkatalog/liczby.dat
gcab -c -z ../gcab.cab notatka.txt podkatalog/liczby.dat
