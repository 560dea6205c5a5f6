#!/bin/bash
# Serves a folder of download fixtures with six local update servers (plain,
# ignoring Range, answering a misplaced range, gzip-encoding, without
# Content-Length, HTTPS), runs a Windows test program under Wine with their
# ports in DOWNLOAD_PORT / DOWNLOAD_IGNORE_RANGE_PORT / DOWNLOAD_MISPLACED_PORT
# / DOWNLOAD_GZIP_PORT / DOWNLOAD_NO_LENGTH_PORT / DOWNLOAD_TLS_PORT, the
# HTTPS server's certificate (DER) in DOWNLOAD_TLS_CERT and the folder in
# DOWNLOAD_FILES, then stops them.
#   run_with_update_servers.sh ROOT PROGRAM.exe [ARGS...]
set -uo pipefail
ROOT="$1"; shift
WORK=$(mktemp -d)
PIDS=()
trap 'kill "${PIDS[@]}" 2>/dev/null; rm -rf "$WORK"' EXIT

mkdir "$WORK/files"
: >"$WORK/files/empty.bin"
head -c 10240 /dev/urandom >"$WORK/files/chunk.bin"
head -c 100000 /dev/urandom >"$WORK/files/data.bin"
head -c 3000000 /dev/urandom >"$WORK/files/big.bin"

serve() {  # port file, server options...
    local port_file="$1"; shift
    python3 "$ROOT/tools/update_server.py" "$WORK/files" --port-file "$WORK/$port_file" "$@" &
    PIDS+=($!)
}
"$ROOT/tests/support/make_certificate.sh" "$WORK" server
serve plain
serve ignore --ignore-range
serve misplaced --misplaced-range
serve gzip --encoding gzip
serve nolength --no-length
serve tls --tls "$WORK/server.pem" "$WORK/server.key"
for name in plain ignore misplaced gzip nolength tls; do
    for _ in $(seq 100); do [ -s "$WORK/$name" ] && break; sleep 0.05; done
done
export DOWNLOAD_PORT=$(cat "$WORK/plain") DOWNLOAD_IGNORE_RANGE_PORT=$(cat "$WORK/ignore")
export DOWNLOAD_MISPLACED_PORT=$(cat "$WORK/misplaced") DOWNLOAD_TLS_PORT=$(cat "$WORK/tls")
export DOWNLOAD_GZIP_PORT=$(cat "$WORK/gzip") DOWNLOAD_NO_LENGTH_PORT=$(cat "$WORK/nolength")
export DOWNLOAD_FILES="Z:${WORK//\//\\}\\files" DOWNLOAD_TLS_CERT="Z:${WORK//\//\\}\\server.der"
"$ROOT/scripts/wine-run" "$@"
