#!/bin/bash
# Installs what is missing, builds, and runs the updater's main job.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$(nproc)"
scripts/wine-run build/win64/bin/updater.exe
echo "updater.exe ended with exit code $?"
