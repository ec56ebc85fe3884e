#!/usr/bin/env bash
# Builds the fuzz targets and runs each from its seed corpus for a while.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
#   SECONDS  how long each target runs (default 60)
#   TARGET   the stem of a fuzz/<TARGET>.cpp (default: every one)
# New inputs and findings go to a scratch folder, never into the repository's corpora; the folder
# of a finding is kept and named. Exits 1 when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for source in fuzz/*.cpp; do
        targets+=("$(basename "$source" .cpp)")
    done
fi

bash scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

failed=0
for target in "${targets[@]}"; do
    scratch=$(mktemp -d "${TMPDIR:-/tmp}/trovecart-fuzz-$target-XXXXXX")
    mkdir "$scratch/corpus"
    seeds="fuzz/corpus/$target"
    if build-fuzz/fuzz/"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$scratch/" "$scratch/corpus" "$seeds" >"$scratch/log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$scratch/log")
        echo "$target: ${runs:-?} runs in ${seconds} s, no finding"
        rm -rf "$scratch"
    else
        echo "$target: FINDING, see $scratch (log and crash input)" >&2
        tail -n 40 "$scratch/log" >&2
        failed=1
    fi
done
exit $failed
