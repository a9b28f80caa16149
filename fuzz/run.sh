#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer (ASan + UBSan) through CMake
# and runs them.
#
#   fuzz/run.sh [seconds] [name]    every target (or only `name`) for that
#                                   long (default 60)
#   fuzz/run.sh --runs [N] [name]   every target (or only `name`) for N
#                                   executions (default 10,000,000)
#
# Targets: report_reader, number_text, feeder_reader, journal_reader. New inputs go to
# fuzz/work/<target>/, the seed files stay in the target's corpus folder,
# which the tests replay; a crash leaves fuzz/crash-* behind.
set -euo pipefail
cd "$(dirname "$0")"

mode=time
seconds=60
runs=10000000
only=""
if [ "${1:-}" = "--runs" ]; then
  mode=runs
  shift
  if [[ "${1:-}" =~ ^[0-9]+$ ]]; then runs=$1; shift; fi
  only=${1:-}
else
  if [[ "${1:-}" =~ ^[0-9]+$ ]]; then seconds=$1; shift; fi
  only=${1:-}
fi

# Every run of the report reader frees its row table; ASan's default 256 MB
# quarantine keeps that memory from being reused, so each run would fault in
# fresh pages. 16 MB still holds everything one run frees.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16}

build=build
cmake -S .. -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTESMIR_BUILD_TESTS=OFF -DTESMIR_BUILD_BENCH=OFF -DTESMIR_BUILD_FUZZ=ON >/dev/null

# name, corpus folder, maximum input length
targets=("report_reader corpus 4096" "number_text number_corpus 64" "feeder_reader feeder_corpus 8192"
  "journal_reader journal_corpus 16384")
for entry in "${targets[@]}"; do
  read -r name corpus maxlen <<<"$entry"
  if [ -n "$only" ] && [ "$only" != "$name" ]; then continue; fi
  cmake --build "$build" --target "${name}_fuzz" -j2 >/dev/null
  mkdir -p "work/$name"
  if [ "$mode" = runs ]; then
    limit=(-runs="$runs")
  else
    limit=(-max_total_time="$seconds")
  fi
  echo "== $name"
  "./$build/fuzz/${name}_fuzz" "${limit[@]}" -max_len="$maxlen" -timeout=10 -print_final_stats=1 \
    "work/$name" "$corpus"
done
