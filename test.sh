#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UBSan, and runs
# every test headless. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
tesmir_install_deps

jobs=$(nproc 2>/dev/null || echo 2)

# Core and device use no Qt; the report uses no widgets.
scripts/check-layers.sh
scripts/check-format.sh

# The calculation core, the device check, the line journal and the report
# table and reader
# must build without Qt.
cmake -S . -B build/core-only -DTESMIR_WITH_QT=OFF -DTESMIR_BUILD_TESTS=OFF -DTESMIR_BUILD_BENCH=OFF -DTESMIR_WERROR=ON >/dev/null
cmake --build build/core-only --target tesmir_core tesmir_device tesmir_journal tesmir_report_format -j "$jobs"

cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DTESMIR_SANITIZE=ON -DTESMIR_WERROR=ON
cmake --build build/test -j "$jobs"

export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"
ctest --test-dir build/test --output-on-failure -j "$jobs"

if [ -x scripts/check-install.sh ]; then
  scripts/check-install.sh build/test
fi
