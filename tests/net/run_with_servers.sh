#!/bin/bash
# Starts the echo server (plain, TLS with a certificate to trust, TLS with one
# not to trust) and a tinyproxy on loopback, runs a Windows test program under
# Wine with their ports in NET_TEST_PORT / NET_TLS_PORT / NET_TLS_STRANGER_PORT
# / NET_PROXY_PORT and the certificate to trust (DER) in NET_TLS_CERT, and
# stops them afterwards.
#   run_with_servers.sh ROOT PROGRAM.exe [ARGS...]
set -uo pipefail
ROOT="$1"; shift
WORK=$(mktemp -d)
trap 'kill $SERVER_PID $PROXY_PID 2>/dev/null; rm -rf "$WORK"' EXIT

# Two certificates for localhost: one the test trusts, one it does not.
"$ROOT/tests/support/make_certificate.sh" "$WORK" trusted
"$ROOT/tests/support/make_certificate.sh" "$WORK" stranger
python3 "$ROOT/tests/net/http_echo_server.py" "$WORK/port" \
    --tls "$WORK/trusted.pem" "$WORK/trusted.key" "$WORK/tls-port" \
    --tls "$WORK/stranger.pem" "$WORK/stranger.key" "$WORK/stranger-port" &
SERVER_PID=$!
PROXY_PORT=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
cat >"$WORK/tinyproxy.conf" <<CONF
Port $PROXY_PORT
Listen 127.0.0.1
Timeout 30
Allow 127.0.0.1
MaxClients 20
LogLevel Critical
CONF
/usr/bin/tinyproxy -d -c "$WORK/tinyproxy.conf" >/dev/null 2>&1 &
PROXY_PID=$!
for _ in $(seq 50); do [ -s "$WORK/port" ] && [ -s "$WORK/stranger-port" ] && break; sleep 0.1; done
export NET_TEST_PORT=$(cat "$WORK/port") NET_PROXY_PORT=$PROXY_PORT
export NET_TLS_PORT=$(cat "$WORK/tls-port") NET_TLS_STRANGER_PORT=$(cat "$WORK/stranger-port")
export NET_TLS_CERT="Z:${WORK//\//\\}\\trusted.der"
"$ROOT/scripts/wine-run" "$@"
