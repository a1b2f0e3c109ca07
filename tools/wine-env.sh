# Sourced by the tools that run Windows programs: the project's Wine prefix,
# the Polish locale (ANSI code page 1250) and a quiet Wine.
QMX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export QMX_ROOT
export WINEPREFIX="${WINEPREFIX:-$QMX_ROOT/build/wine}"
export WINEARCH=win64
export LC_ALL=pl_PL.UTF-8
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# A session started by tools/wine-session runs its own virtual display.
if [ -f "$WINEPREFIX/.display" ]; then
    DISPLAY="$(cat "$WINEPREFIX/.display")"
    export DISPLAY
fi
