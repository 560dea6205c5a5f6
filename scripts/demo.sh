#!/bin/bash
# Installs what is missing, builds, and runs the updater under Wine. On a
# desktop ($DISPLAY set) a person watches; headless it runs under Xvfb and
# saves screenshots to build/demo/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
ROOT=$PWD
scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$(nproc)"

DEMO="$ROOT/build/demo"
mkdir -p "$DEMO"
export WINE_GRAPHICS=x11

XVFB_PID=""
cleanup() {
    [ -n "${UPDATER_PID:-}" ] && kill "$UPDATER_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
    export DISPLAY=:77
    Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    sleep 1
    HEADLESS=1
fi

shot() {  # shot NAME: screenshot of the whole (virtual) screen
    [ -n "${HEADLESS:-}" ] || return 0
    import -display "$DISPLAY" -window root "$DEMO/$1.png" && echo "screenshot: build/demo/$1.png"
}

# Prepare the prefix first, so the first screenshot shows the program.
scripts/wine-run cmd /c exit </dev/null >/dev/null 2>&1 || true

scripts/wine-run build/win64/bin/updater.exe &
UPDATER_PID=$!
if [ -n "${HEADLESS:-}" ]; then
    sleep 4
    shot main-window
    kill "$UPDATER_PID" 2>/dev/null || true
fi
wait "$UPDATER_PID" 2>/dev/null || true
