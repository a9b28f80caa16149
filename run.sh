#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
tesmir_install_deps
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTESMIR_BUILD_TESTS=OFF -DTESMIR_BUILD_BENCH=OFF >/dev/null
cmake --build build/release --target tesmir -j "$jobs"
exec build/release/src/app/tesmir
