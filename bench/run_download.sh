#!/bin/bash
# Downloads a 200 MB file from the local update server three ways in one run:
# RangedDownload with the statistics written into a real main window, a bare
# WinINet loop (same 10,240-byte reads, no progress), and curl. Prints ratios.
#   [ROUNDS=7] bench/run_download.sh [SIZE_MB, default 200]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
SIZE_MB="${1:-200}"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$(nproc)" --target download_bench >/dev/null
WORK=$(mktemp -d -p "$PWD/build")
trap 'kill $SERVER 2>/dev/null; rm -rf "$WORK"' EXIT
head -c "${SIZE_MB}000000" /dev/urandom >"$WORK/big.bin"
python3 tools/update_server.py "$WORK" --port-file "$WORK/port" &
SERVER=$!
for _ in $(seq 50); do [ -s "$WORK/port" ] && break; sleep 0.1; done
URL="http://127.0.0.1:$(cat "$WORK/port")/big.bin"

start=$(date +%s.%N)
curl -s -o "$WORK/curl.bin" "$URL"
curl_s=$(echo "$(date +%s.%N) - $start" | bc -l)
curl_mbs=$(echo "$SIZE_MB / $curl_s" | bc -l)
printf 'curl: %.1f MB/s\n' "$curl_mbs"
scripts/wine-run build/win64/bin/download_bench.exe "$URL" "$WORK/ours.bin" "${ROUNDS:-7}" | tee "$WORK/out.txt"
ours=$(grep 'into the window' "$WORK/out.txt" | grep -o '[0-9.]* MB/s' | cut -d' ' -f1)
printf 'ours / curl: %.2f\n' "$(echo "$ours / $curl_mbs" | bc -l)"
cmp -s "$WORK/big.bin" "$WORK/ours.bin" && echo "downloaded file identical" || echo "downloaded file DIFFERS"
