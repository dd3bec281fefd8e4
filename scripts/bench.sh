#!/usr/bin/env bash
# Measures the CPU cost of opening the sheet and of a page Read and Write
# against the simulated node (waits run on the virtual clock, so they are
# excluded). Figures go into docs/performance.md.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh $(cat scripts/native-packages.txt)
cmake --preset native >/dev/null
cmake --build --preset native --target qta1_bench
build/native/qta1_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@"
