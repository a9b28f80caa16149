#!/usr/bin/env bash
# Builds the benchmarks optimised and runs them (median of several repetitions).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
tesmir_install_deps
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DTESMIR_BUILD_TESTS=OFF >/dev/null
cmake --build build/bench -j "$jobs"
export QT_QPA_PLATFORM=offscreen
for b in build/bench/bench/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_repetitions=10 --benchmark_report_aggregates_only=true "$@"
done
