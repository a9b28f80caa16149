#!/usr/bin/env bash
# Installs a configured build directory into a scratch prefix and checks the
# desktop integration: the program, the desktop entry, the AppStream
# metainfo and the icons. Usage: scripts/check-install.sh <builddir>
set -euo pipefail

builddir=${1:?usage: $0 <builddir>}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
app_id=io.github.tesmir.Tesmir

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$builddir" --prefix "$prefix" >/dev/null

failed=0
expect_file() {
  if [ ! -s "$prefix/$1" ]; then
    echo "check-install: missing $1" >&2
    failed=1
  fi
}

expect_file bin/tesmir
expect_file "share/applications/$app_id.desktop"
expect_file "share/metainfo/$app_id.metainfo.xml"
expect_file share/icons/hicolor/scalable/apps/tesmir.svg
expect_file share/icons/hicolor/48x48/apps/tesmir.png
expect_file share/icons/hicolor/256x256/apps/tesmir.png
expect_file share/doc/tesmir/LICENSE
if [ -e "$source_dir/docs/main-window.png" ]; then
  expect_file share/doc/tesmir/main-window.png
fi
[ -x "$prefix/bin/tesmir" ] || { echo "check-install: bin/tesmir is not executable" >&2; failed=1; }

# The PNG icons must have the size of the folder they sit in.
for size in 48 256; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/tesmir.png"
  if [ -s "$png" ]; then
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
    if [ "$dims" != "${size}x${size}" ]; then
      echo "check-install: $png is $dims, not ${size}x${size}" >&2
      failed=1
    fi
  fi
done

desktop-file-validate "$prefix/share/applications/$app_id.desktop" || failed=1
# Fails on errors; warnings and remarks would be printed.
appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" || failed=1
# The metainfo's launchable, the desktop entry and the icons of the tree together.
appstreamcli validate-tree --no-net "$prefix" || failed=1

if [ "$failed" -ne 0 ]; then
  echo "check-install: FAILED" >&2
  exit 1
fi
echo "check-install: installed tree is complete and valid"
