# Sourced by a benchmark script from the repository's root: a Wine prefix of
# the benchmark's own, copied from the template, with the warm session
# started; both go when the script ends.
#   . bench/prefix.sh NAME
work="$(mktemp -d "/tmp/qmx-bench-$1.XXXXXX")"
export WINEPREFIX="$work/prefix"
bench_cleanup() {
    tools/wine-session stop >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap bench_cleanup EXIT
cp -a build/wine-template "$WINEPREFIX"
rm -f "$WINEPREFIX/.display" "$WINEPREFIX/.xvfb.pid"
tools/wine-session start >/dev/null
