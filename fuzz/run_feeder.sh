#!/usr/bin/env bash
# Builds the feeder-file reader fuzz target with clang's libFuzzer and runs it.
# Usage: fuzz/run_feeder.sh [seconds]   (default 60). New inputs go to
# fuzz/work_feeder/, the seed files stay in fuzz/feeder_corpus/; a crash
# leaves fuzz/crash-* behind.
set -euo pipefail
cd "$(dirname "$0")"
seconds=${1:-60}
mkdir -p work_feeder build
src=../src
flags=(-std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I"$src" -I.)
clang++ "${flags[@]}" $(pkg-config --cflags Qt6Core) \
  feeder_reader_fuzz.cpp "$src/report/feeder_file.cpp" \
  $(pkg-config --libs Qt6Core) -o build/feeder_reader_fuzz
./build/feeder_reader_fuzz -max_total_time="$seconds" -max_len=8192 -timeout=10 work_feeder feeder_corpus
