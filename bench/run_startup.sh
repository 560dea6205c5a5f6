#!/bin/bash
# Start-up to the skinned main window against a bare window program and a bare
# window program loading the same system libraries, with the manifest served
# by the local update server. Prints both ratios.
#   [ROUNDS=7] bench/run_startup.sh
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j2 --target updater startup_bench bare_window bare_libraries >/dev/null
BIN="$PWD/build/win64/bin"
WORK=$(mktemp -d -p "$PWD/build")
trap 'kill $SERVER 2>/dev/null; rm -rf "$WORK"' EXIT
mkdir -p "$WORK/install" "$WORK/served"
cp "$BIN/updater.exe" "$WORK/install/"
printf '[配置]\r\n当前版本号=1.0\r\n' | iconv -f UTF-8 -t GBK >"$WORK/install/config.ini"
head -c 2000000 /dev/zero >"$WORK/served/Norvane.exe"
python3 tools/update_server.py "$WORK/served" --port-file "$WORK/port" --rate 100000 &
SERVER=$!
for _ in $(seq 50); do [ -s "$WORK/port" ] && break; sleep 0.1; done
PORT=$(cat "$WORK/port")
{
    printf '[版本]2.0[/版本]\r\n[文件名]Norvane[/文件名]\r\n[自动]真[/自动][是否完整]假[/是否完整]\r\n'
    printf '[地址]http://127.0.0.1:%s/Norvane.exe[/地址]\r\n[mal]benchmark[/mal]\r\n' "$PORT"
} | iconv -f UTF-8 -t GBK >"$WORK/served/GX.txt"
INSTALL=$(/usr/lib/wine/wine64 winepath -w "$WORK/install" 2>/dev/null || echo "Z:${WORK//\//\\}\\install")
UPDATER_HOST="127.0.0.1:$PORT" scripts/wine-run "$BIN/startup_bench.exe" "$INSTALL" "$BIN/bare_window.exe" "$BIN/bare_libraries.exe" "${ROUNDS:-7}"
