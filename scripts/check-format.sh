#!/usr/bin/env bash
# Checks that every C++ source of the project is laid out as .clang-format
# says. Prints the files that are not and exits non-zero if there is one.
# With --fix, formats them in place instead.
# Usage: scripts/check-format.sh [--fix]
set -euo pipefail
cd "$(dirname "$0")/.."

format=$(command -v clang-format-14 || command -v clang-format || true)
if [ -z "$format" ]; then
  echo "check-format: clang-format is not installed" >&2
  exit 1
fi

mapfile -d '' files < <(find src tests bench fuzz \( -name '*.cpp' -o -name '*.h' \) -type f -print0 | sort -z)

if [ "${1:-}" = "--fix" ]; then
  "$format" -i --style=file "${files[@]}"
  exit 0
fi

failed=0
for f in "${files[@]}"; do
  if ! "$format" --style=file --dry-run --Werror "$f" >/dev/null 2>&1; then
    echo "check-format: $f is not formatted (scripts/check-format.sh --fix)" >&2
    failed=1
  fi
done
exit $failed
