#!/bin/bash
# Installs what is missing, builds, and runs the updater's main job: an
# installation with Norvane 1.0 is updated to 2.0 from the bundled local
# update server. The release is signed with a key made into build/demo/ (kept
# across runs) and carries its publish and expiry times; the updater is built
# with the key's public half, requiring those times as a release does, in
# build/demo-win64/. On a desktop ($DISPLAY set) you watch and answer the
# question yourself; headless it runs under Xvfb, saves screenshots to
# build/demo/ and answers "Yes" through the UI helper.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
ROOT=$PWD
scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$(nproc)"
BIN="$ROOT/build/win64/bin"

DEMO="$ROOT/build/demo"
mkdir -p "$DEMO"
find "$DEMO" -mindepth 1 -maxdepth 1 ! -name release_key.pem -exec rm -rf {} +
mkdir -p "$DEMO/install" "$DEMO/served"

# The vendor's signing key, and the updater built with its public half.
KEY="$DEMO/release_key.pem"
[ -f "$KEY" ] || python3 tools/publish_manifest.py keygen "$KEY" >/dev/null
PUBLIC_KEY=$(python3 tools/publish_manifest.py public-key "$KEY")
echo "release public key: $PUBLIC_KEY"
SIGNED="$ROOT/build/demo-win64"
cmake --preset win64 -B "$SIGNED" -DUPDATE_PUBLIC_KEY="$PUBLIC_KEY" -DUPDATE_REQUIRE_FRESHNESS=ON \
    -DUPDATER_BUILD_TESTS=OFF >/dev/null
cmake --build "$SIGNED" --target updater -j"$(nproc)"
export WINE_GRAPHICS=x11

# The installation: updater, config.ini (GBK) with version 1.0, an old program.
cp "$SIGNED/bin/updater.exe" "$DEMO/install/"
printf '[配置]\r\n当前版本号=1.0\r\n' | iconv -f UTF-8 -t GBK >"$DEMO/install/config.ini"
cp "$BIN/uia.exe" "$DEMO/install/Norvane.exe"
# The new program, padded to 1.5 MB so that the progress can be watched.
cp "$BIN/payload.exe" "$DEMO/served/Norvane.exe"
head -c 1500000 /dev/zero >>"$DEMO/served/Norvane.exe"

PORT=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
# The release is published as a vendor would: GX.txt (GBK) with the address
# and the SHA-256 of the new program, which the updater checks before the
# rename, [发布时间] (now) and [有效期] (30 days later), and GX.sig, its
# signature, which the updater checks first. After the update updater.state
# holds the floor 2.0 and this publish time.
python3 tools/publish_manifest.py "$DEMO/served" --version 2.0 --host "127.0.0.1:$PORT" --kind main \
    --name Norvane --changelog "$(printf '1. 下载支持断点续传&nbsp;\r\n2. 修复了若干问题')" --key "$KEY" \
    --expires-in 30

PIDS=()
cleanup() { for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT
python3 tools/update_server.py "$DEMO/served" --port "$PORT" --rate 250000 --log "$DEMO/requests.jsonl" &
PIDS+=($!)

HEADLESS=""
if [ -z "${DISPLAY:-}" ]; then
    export DISPLAY=:77
    # The screen size the screenshot scripts use for the same prefix: Wine
    # keeps the size it first saw in the prefix.
    SCREEN=1024x768x24
    [ "${WINE_DPI:-96}" = 96 ] || SCREEN=2048x1536x24
    Xvfb "$DISPLAY" -screen 0 "$SCREEN" -nolisten tcp >/dev/null 2>&1 &
    PIDS+=($!)
    HEADLESS=1
    sleep 1
fi
shot() { [ -z "$HEADLESS" ] || { import -display "$DISPLAY" -window root "$DEMO/$1.png" && echo "screenshot: build/demo/$1.png"; }; }

# Bring the prefix up first, so the screenshots show the program.
scripts/wine-run cmd /c exit </dev/null >/dev/null 2>&1 || true
OLD_SHA=$(sha256sum "$DEMO/install/Norvane.exe" | cut -d' ' -f1)
NEW_SHA=$(sha256sum "$DEMO/served/Norvane.exe" | cut -d' ' -f1)

UPDATER_HOST="127.0.0.1:$PORT" scripts/wine-run "$DEMO/install/updater.exe" &
UPDATER=$!
PIDS+=($UPDATER)
if [ -n "$HEADLESS" ]; then
    sleep 2.5; shot manifest-shown
    sleep 2; shot mid-download
    scripts/wine-run "$BIN/uia.exe" wait 提示信息 60000 >/dev/null || true
    shot question
    echo "answering Yes"
    scripts/wine-run "$BIN/uia.exe" press 提示信息 6 5000 >/dev/null || true
fi
wait "$UPDATER" || true
for _ in $(seq 30); do [ -f "$DEMO/install/started.txt" ] && break; sleep 0.5; done

echo "old Norvane.exe:       $OLD_SHA"
echo "served Norvane.exe:    $NEW_SHA"
echo "installed Norvane.exe: $(sha256sum "$DEMO/install/Norvane.exe" | cut -d' ' -f1)"
if [ -f "$DEMO/install/started.txt" ]; then echo "the new program started: $(tr -d '\r' <"$DEMO/install/started.txt")"
else echo "the new program did not start"; fi
[ -n "$HEADLESS" ] && shot after-update
if [ -f "$DEMO/install/updater.state" ]; then
    echo "updater.state: $(tr -d '\r' <"$DEMO/install/updater.state" | tr '\n' ' ')"
fi
if [ -f "$DEMO/install/updater.log" ]; then
    echo "updater.log of this run:"
    iconv -f GBK -t UTF-8 "$DEMO/install/updater.log" | tr -d '\r' | sed 's/^/  /'
fi
scripts/wine-run taskkill /f /im Norvane.exe >/dev/null 2>&1 || true
