#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded time each, starting
# from its committed seeds; new inputs go to a scratch corpus, never into the
# repository. Any crash, failed check, leak or hang fails the run and leaves
# the input that caused it in <build>/fuzz/artifacts/.
# Usage: run_fuzzers.sh BUILD_FOLDER SECONDS_PER_TARGET [extra libFuzzer flags]
set -euo pipefail
build=$1
seconds=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
artifacts="$build/fuzz/artifacts"
mkdir -p "$artifacts"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

passed=0
failed=0
while read -r target; do
    [ -n "$target" ] || continue
    mkdir "$work/$target"
    log="$build/fuzz/$target.log"
    start=$SECONDS
    if "$build/fuzz/$target" "$work/$target" "$here/corpus/$target" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/$target-" "$@" >"$log" 2>&1; then
        passed=$((passed + 1))
        verdict=passed
    else
        failed=$((failed + 1))
        verdict=FAILED
        tail -n 60 "$log"
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: $verdict, ${runs:-?} runs in $((SECONDS - start)) s (log: $log)"
done <"$build/fuzz/targets.txt"

echo "fuzz: $passed passed, $failed failed"
[ "$failed" = 0 ]
