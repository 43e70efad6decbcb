#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for SECONDS seconds (default 60)
# on a working copy of the committed seed corpus. New inputs found stay in
# build/fuzz/corpus/<target>; crashes are written to build/fuzz/findings/.
# Usage: fuzz/run.sh [SECONDS] [extra libFuzzer flags...]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${1:-60}
shift || true

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

status=0
for target in report merge command_line usual_probe; do
    work=$root/build/fuzz/corpus/$target
    findings=$root/build/fuzz/findings/$target
    mkdir -p "$work" "$findings"
    cp -n fuzz/corpus/$target/* "$work"/ 2>/dev/null || true
    echo "== fuzz_$target for ${seconds}s"
    if ! "$root/build/fuzz/fuzz/fuzz_$target" "$work" -dict="$root/fuzz/kiv.dict" \
        -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -timeout=10 \
        -artifact_prefix="$findings/" -print_final_stats=1 "$@" 2>build/fuzz/fuzz_$target.log; then
        echo "fuzz_$target found a problem; see build/fuzz/fuzz_$target.log and $findings" >&2
        tail -50 build/fuzz/fuzz_$target.log >&2
        status=1
    fi
    grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::peak_rss_mb)' \
        build/fuzz/fuzz_$target.log || true
done
exit $status
