#!/usr/bin/env bash
# Builds the report reader fuzz target with clang's libFuzzer and runs it.
# Usage: fuzz/run.sh [seconds]   (default 60). New inputs go to fuzz/work/,
# the seed files stay in fuzz/corpus/; a crash leaves fuzz/crash-* behind.
set -euo pipefail
cd "$(dirname "$0")"
seconds=${1:-60}
mkdir -p work build
src=../src
flags=(-std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I"$src" -I.)
clang++ "${flags[@]}" $(pkg-config --cflags Qt6Core) \
  report_reader_fuzz.cpp "$src/report/report_file.cpp" "$src/report/report_table.cpp" "$src/core/display_format.cpp" \
  $(pkg-config --libs Qt6Core) -o build/report_reader_fuzz
./build/report_reader_fuzz -max_total_time="$seconds" -max_len=4096 -timeout=10 work corpus
