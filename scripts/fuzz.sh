#!/usr/bin/env bash
# Runs every fuzzer of build/fuzz for a bounded time from its committed seed
# corpus; any finding fails the run and is kept in build/fuzz/findings/.
# Usage: scripts/fuzz.sh [seconds per fuzzer, default 20]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-20}"
findings=build/fuzz/findings
mkdir -p "$findings"
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

for seeds in fuzz/corpus/*/; do
  target="$(basename "$seeds")"
  # New inputs go to a scratch corpus: the committed seeds stay small.
  scratch="build/fuzz/corpus/$target"
  mkdir -p "$scratch"
  echo "== $target for ${seconds} s"
  "build/fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=15 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$findings/$target-" "$scratch" "$seeds"
done
