#!/usr/bin/env bash
# Builds the benchmarks in a Release build (build-bench/) and prints their figures. Nothing here
# passes or fails on a time: compare the figures of one run with each other.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
cmake --preset bench
cmake --build --preset bench -j "$(nproc)"

export QT_QPA_PLATFORM=offscreen
echo "=== measurement cycle"
build-bench/bench/device/bench_cycle
echo "=== log window"
build-bench/bench/logging/bench_logging
echo "=== measurement series"
build-bench/bench/recording/bench_recording
echo "=== course window"
build-bench/bench/history/bench_history
if [[ -x build-bench/bench/history/bench_qtcharts ]]; then
    echo "=== the same week in Qt Charts, for comparison"
    build-bench/bench/history/bench_qtcharts
fi
