#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite: the debug
# build, the same suite under AddressSanitizer and UndefinedBehaviorSanitizer,
# the threaded tests under ThreadSanitizer, and each fuzzer for a bounded time.
# Usage: scripts/test.sh [stage...], stages dev asan tsan fuzz (default: all)
set -euo pipefail
cd "$(dirname "$0")/.."

stages=("$@")
[ ${#stages[@]} -eq 0 ] && stages=(dev asan tsan fuzz)

scripts/install-deps.sh

for stage in "${stages[@]}"; do
  echo "=== $stage"
  cmake --preset "$stage" >/dev/null
  cmake --build --preset "$stage"
  ctest --preset "$stage"
  if [ "$stage" = fuzz ]; then
    scripts/fuzz.sh "${MIVLO_FUZZ_SECONDS:-20}"
  fi
done
