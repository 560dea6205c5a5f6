#!/bin/bash
# Skinned painting of the main window against the system look. Prints ratios.
#   bench/run_paint.sh [ROUNDS, default 15]
#   WINE_DPI=144 bench/run_paint.sh   the same at 144 DPI (both looks at that scale)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j2 --target paint_bench >/dev/null
scripts/wine-run build/win64/bin/paint_bench.exe "${1:-15}"
