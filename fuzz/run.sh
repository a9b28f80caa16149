#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer (ASan + UBSan) and runs them.
#
#   fuzz/run.sh [seconds]           every target for that long (default 60)
#   fuzz/run.sh --runs [N] [name]   every target (or only `name`) for N
#                                   executions (default 10,000,000)
#
# New inputs go to fuzz/work/<target>/, the seed files stay in the target's
# corpus folder, which the tests replay; a crash leaves fuzz/crash-* behind.
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
elif [ $# -gt 0 ]; then
  seconds=$1
fi

src=../src
flags=(-std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I"$src" -I.)
mkdir -p build
build_report_reader() {
  clang++ "${flags[@]}" $(pkg-config --cflags Qt6Core) \
    report_reader_fuzz.cpp "$src/report/report_file.cpp" "$src/report/report_table.cpp" \
    "$src/core/display_format.cpp" \
    $(pkg-config --libs Qt6Core) -o build/report_reader_fuzz
}
build_number_text() {
  clang++ "${flags[@]}" number_text_fuzz.cpp "$src/core/number_text.cpp" -o build/number_text_fuzz
}

# name, corpus folder, maximum input length
targets=("report_reader corpus 4096" "number_text number_corpus 64")
for entry in "${targets[@]}"; do
  read -r name corpus maxlen <<<"$entry"
  if [ -n "$only" ] && [ "$only" != "$name" ]; then continue; fi
  "build_$name"
  mkdir -p "work/$name"
  if [ "$mode" = runs ]; then
    limit=(-runs="$runs")
  else
    limit=(-max_total_time="$seconds")
  fi
  echo "== $name"
  "./build/${name}_fuzz" "${limit[@]}" -max_len="$maxlen" -timeout=10 -print_final_stats=1 \
    "work/$name" "$corpus"
done
