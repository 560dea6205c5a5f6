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
for preset in win64 win32; do
    echo "== tests: $preset (Wine)"
    ctest --preset "$preset" -j"$JOBS" || status=1
done

echo "== fuzz ($FUZZ_SECONDS s per target)"
scripts/fuzz.sh "$FUZZ_SECONDS" || status=1

exit $status
