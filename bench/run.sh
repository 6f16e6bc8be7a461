#!/usr/bin/env bash
# Builds the optimised programs, runs every benchmark and prints each figure
# with its target. Writes bench/results/: figures.txt, model.json, the
# line-rate latency samples and the latency plot latency.png.
#
# Shorter runs for trying things out (the published figures use the defaults):
#   BENCH_IDLE_SECONDS=60 BENCH_LINE_SECONDS=30 BENCH_FLOOD_BYTES=60000 BENCH_STARTUP_RUNS=10
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
results="$root/bench/results"
bin="$root/build/release"
idle_seconds="${BENCH_IDLE_SECONDS:-60}"
line_seconds="${BENCH_LINE_SECONDS:-30}"
flood_bytes="${BENCH_FLOOD_BYTES:-60000}"
startup_runs="${BENCH_STARTUP_RUNS:-10}"

cd "$root"
cmake --preset release >/dev/null
cmake --build --preset release --target mivlo mivlo-chartsim mivlo-bench-model \
    mivlo-bench-window mivlo-bench-startup mivlo-bench-floor mivlo-bench-process

mkdir -p "$results"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
# Qt's chatter about the offscreen platform is not a figure.
export QT_LOGGING_RULES="*.debug=false;qt.qpa.*=false"

{
    echo "# M.I.V.LO. benchmarks"
    echo "date:    $(date -u +%Y-%m-%dT%H:%MZ)"
    echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), $(nproc) cores, $(awk '/MemTotal/ {printf "%.0f GiB", $2/1048576}' /proc/meminfo), $(uname -sr)"
    echo "build:   release preset ($(c++ --version | head -1)), Qt $(qmake6 -query QT_VERSION 2>/dev/null || echo 6)"
    echo "command: BENCH_IDLE_SECONDS=$idle_seconds BENCH_LINE_SECONDS=$line_seconds BENCH_FLOOD_BYTES=$flood_bytes BENCH_STARTUP_RUNS=$startup_runs bench/run.sh"
    echo
    echo "## 1. Model path per byte (CPU time)"
    "$bin/bench/mivlo-bench-model" --benchmark_out="$results/model.json" \
        --benchmark_out_format=json
    echo
    echo "## 2. End to end through the main window"
    "$bin/bench/mivlo-bench-window" e2e "$results" "$flood_bytes" "$((line_seconds / 2))"
    echo
    echo "## 3. Cost while waiting"
    "$bin/bench/mivlo-bench-process" idle "$idle_seconds" "$bin/app/mivlo"
    "$bin/bench/mivlo-bench-process" connected "$idle_seconds" "$line_seconds" \
        "$bin/bench/mivlo-bench-window"
    echo
    echo "## 4. Start-up and memory"
    "$bin/bench/mivlo-bench-process" startup "$startup_runs" "$bin/bench/mivlo-bench-startup" \
        "$bin/bench/mivlo-bench-floor"
    echo
    echo "## 5. Planetarium refresh tick against mivlo-chartsim on loopback"
    "$bin/bench/mivlo-bench-window" chart "$bin/tools/chartsim/mivlo-chartsim"
} 2>&1 | tee "$results/figures.txt"
echo
echo "Plot: $results/latency.png"
