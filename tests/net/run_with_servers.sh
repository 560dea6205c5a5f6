#!/bin/bash
# Starts the echo server and a tinyproxy on loopback, runs a Windows test
# program under Wine with their ports in NET_TEST_PORT / NET_PROXY_PORT, and
# stops both afterwards.
#   run_with_servers.sh ROOT PROGRAM.exe [ARGS...]
set -uo pipefail
ROOT="$1"; shift
WORK=$(mktemp -d)
trap 'kill $SERVER_PID $PROXY_PID 2>/dev/null; rm -rf "$WORK"' EXIT

python3 "$ROOT/tests/net/http_echo_server.py" "$WORK/port" &
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
for _ in $(seq 50); do [ -s "$WORK/port" ] && break; sleep 0.1; done
export NET_TEST_PORT=$(cat "$WORK/port") NET_PROXY_PORT=$PROXY_PORT
"$ROOT/scripts/wine-run" "$@"
