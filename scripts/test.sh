#!/bin/bash
# Installs what is missing, builds the three targets (win64, win32, native),
# runs every test (native under ASan/UBSan, the 64-bit and the 32-bit programs
# under Wine) and a short fuzz run. Exits non-zero on any failure.
#   scripts/test.sh              everything
#   FUZZ_SECONDS=600 scripts/test.sh   a longer fuzz run per target
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/setup.sh
JOBS=$(nproc)
FUZZ_SECONDS="${FUZZ_SECONDS:-10}"

for preset in native win64 win32; do
    echo "== build $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j"$JOBS"
done

status=0
echo "== tests: native (ASan/UBSan)"
ctest --preset native -j"$JOBS" || status=1

# The 64- and the 32-bit programs are tested side by side, each in its own
# Wine prefix (its own server, desktop and mouse), so that neither sees the
# other's windows; most of their time is spent waiting on windows and servers.
echo "== tests: win64 and win32 (Wine), side by side"
WINEPREFIX="$PWD/build/wineprefix" ctest --preset win64 -j"$JOBS" >build/ctest-win64.log 2>&1 &
win64=$!
WINEPREFIX="$PWD/build/wineprefix-win32" ctest --preset win32 -j"$JOBS" >build/ctest-win32.log 2>&1 &
win32=$!
wait $win64 || status=1
echo "== tests: win64 (Wine)"
cat build/ctest-win64.log
wait $win32 || status=1
echo "== tests: win32 (Wine)"
cat build/ctest-win32.log

echo "== fuzz ($FUZZ_SECONDS s per target)"
scripts/fuzz.sh "$FUZZ_SECONDS" || status=1

exit $status
