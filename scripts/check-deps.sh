#!/usr/bin/env bash
# Checks scripts/deps.sh on a machine that is already set up: every package it
# names is installed under that name (a virtual name never is), and running
# the installation again calls neither apt-get nor sudo.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=deps.sh
source "$source_dir/scripts/deps.sh"

failed=0
missing=$(tesmir_missing_deps)
if [ -n "$missing" ]; then
  echo "check-deps: not installed (or not a real package name): $(echo $missing)" >&2
  failed=1
fi

# A second run: apt-get, sudo and localedef are replaced by stubs that note
# every call.
stubs=$(mktemp -d)
trap 'rm -rf "$stubs"' EXIT
for tool in apt-get sudo localedef; do
  printf '#!/bin/sh\necho "%s $*" >> "%s/calls"\n' "$tool" "$stubs" > "$stubs/$tool"
  chmod +x "$stubs/$tool"
done
PATH="$stubs:$PATH" tesmir_install_deps > /dev/null
if [ -s "$stubs/calls" ]; then
  echo "check-deps: a second run still calls:" >&2
  cat "$stubs/calls" >&2
  failed=1
fi

if [ "$failed" -ne 0 ]; then
  echo "check-deps: FAILED" >&2
  exit 1
fi
echo "check-deps: every package is installed; a second run installs nothing"
