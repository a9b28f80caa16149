#!/usr/bin/env bash
# Checks the layer rule of the sources: the calculation core, the protective
# device and the line journal use the standard library only (no Qt, nothing
# from the layers above them), and the report uses QtCore only (no widgets,
# no GUI types, no printing, nothing from the windows). Prints every breach and
# exits non-zero if there is one. Usage: scripts/check-layers.sh [srcdir]
set -euo pipefail

src=${1:-$(cd "$(dirname "$0")/.." && pwd)/src}
failed=0

breach() {
  echo "check-layers: $1" >&2
  failed=1
}

# Prints "file:line:header" for every #include in the given folders.
includes() {
  grep -rnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' "$@" |
    sed -E 's/^([^:]+:[0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]+)[>"].*/\1:\2/'
}

# core: standard library and core only.
while IFS= read -r hit; do
  header=${hit##*:}
  case "$header" in
    Q*|Qt*/*|qt*/*) breach "$hit: Qt header in the standard-C++ core" ;;
    */*) [[ "$header" == core/* ]] || breach "$hit: the core includes another layer" ;;
  esac
done < <(includes "$src/core")

# device: standard library, core and device only.
while IFS= read -r hit; do
  header=${hit##*:}
  case "$header" in
    Q*|Qt*/*|qt*/*) breach "$hit: Qt header in the standard-C++ device layer" ;;
    */*) [[ "$header" == core/* || "$header" == device/* ]] || breach "$hit: the device layer includes a layer above it" ;;
  esac
done < <(includes "$src/device")

# journal: standard library, core, device and journal only.
while IFS= read -r hit; do
  header=${hit##*:}
  case "$header" in
    Q*|Qt*/*|qt*/*) breach "$hit: Qt header in the standard-C++ journal" ;;
    */*) [[ "$header" == core/* || "$header" == device/* || "$header" == journal/* ]] ||
      breach "$hit: the journal includes a layer above it" ;;
  esac
done < <(includes "$src/journal")

# report: QtCore only; a Qt class header is accepted when QtCore provides it.
qt_headers=""
if command -v qmake6 >/dev/null 2>&1; then
  qt_headers=$(qmake6 -query QT_INSTALL_HEADERS 2>/dev/null || true)
fi
[ -d "$qt_headers/QtCore" ] || qt_headers=/usr/include/$(gcc -print-multiarch 2>/dev/null || echo x86_64-linux-gnu)/qt6
while IFS= read -r hit; do
  header=${hit##*:}
  case "$header" in
    ui/*) breach "$hit: the report includes the windows" ;;
    QtCore/*) ;;
    Qt*/*) breach "$hit: the report may use QtCore only" ;;
    Q*)
      if [ -d "$qt_headers/QtCore" ]; then
        [ -e "$qt_headers/QtCore/$header" ] || breach "$hit: $header is not a QtCore header"
      else
        breach "$hit: cannot find the Qt headers to check $header"
      fi ;;
  esac
done < <(includes "$src/report")

if [ "$failed" -ne 0 ]; then
  exit 1
fi
echo "check-layers: the layer rule holds"
