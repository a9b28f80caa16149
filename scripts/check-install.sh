#!/usr/bin/env bash
# Installs a configured build directory into a scratch prefix and checks the
# desktop integration: the program, the desktop entry, the AppStream
# metainfo, the icons and the manual page; then packs the tree as a .deb and
# checks it with lintian. Usage: scripts/check-install.sh <builddir>
set -euo pipefail

builddir=${1:?usage: $0 <builddir>}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
app_id=io.github.tesmir.Tesmir

prefix=$(mktemp -d)
debdir=$(mktemp -d)
trap 'rm -rf "$prefix" "$debdir"' EXIT

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
expect_file share/doc/tesmir/copyright
expect_file share/doc/tesmir/changelog.gz
expect_file share/man/man1/tesmir.1.gz
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

# The manual page must format without complaints.
if [ -s "$prefix/share/man/man1/tesmir.1.gz" ]; then
  man_warnings=$(zcat "$prefix/share/man/man1/tesmir.1.gz" | LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l - 2>&1 >/dev/null || true)
  if [ -n "$man_warnings" ]; then
    echo "check-install: tesmir.1: $man_warnings" >&2
    failed=1
  fi
fi
# --version needs no window system.
version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/tesmir" --version) || failed=1
[[ "$version" =~ ^tesmir\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "check-install: tesmir --version printed '$version'" >&2; failed=1; }

# The Debian package of the same tree. lintian fails on errors and warnings;
# its informational tags are printed.
(cd "$builddir" && cpack -G DEB -B "$debdir" >/dev/null) || failed=1
deb=$(ls "$debdir"/*.deb 2>/dev/null | head -n 1)
if [ -z "$deb" ]; then
  echo "check-install: no .deb was built" >&2
  failed=1
else
  lintian --fail-on error,warning "$deb" >"$debdir/lintian.txt" 2>&1 ||
    { echo "check-install: lintian failed on $(basename "$deb")" >&2; failed=1; }
  grep -v 'running with root privileges' "$debdir/lintian.txt" || true
fi

if [ "$failed" -ne 0 ]; then
  echo "check-install: FAILED" >&2
  exit 1
fi
echo "check-install: installed tree is complete and valid"
