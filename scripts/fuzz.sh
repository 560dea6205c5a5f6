#!/bin/bash
# Builds the libFuzzer targets with clang and runs each for a bounded time.
#   scripts/fuzz.sh [SECONDS per target, default 10]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
SECONDS_PER_TARGET="${1:-10}"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)"

status=0
for target in build/fuzz/bin/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    corpus="build/fuzz/corpus/$name"
    mkdir -p "$corpus"
    if "$target" -max_total_time="$SECONDS_PER_TARGET" -max_len=512 -print_final_stats=1 "$corpus" \
        >"build/fuzz/$name.log" 2>&1; then
        echo "$name: $(grep -o 'stat::number_of_executed_units: *[0-9]*' "build/fuzz/$name.log" | grep -o '[0-9]*$') executions, no finding"
    else
        echo "$name: FINDING (see build/fuzz/$name.log)"
        tail -30 "build/fuzz/$name.log"
        status=1
    fi
done
exit $status
