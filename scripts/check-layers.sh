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

# Where the Qt headers are, to tell which module a class header belongs to.
qt_headers=""
if command -v qmake6 >/dev/null 2>&1; then
  qt_headers=$(qmake6 -query QT_INSTALL_HEADERS 2>/dev/null || true)
fi
[ -d "$qt_headers/QtCore" ] || qt_headers=/usr/include/$(gcc -print-multiarch 2>/dev/null || echo x86_64-linux-gnu)/qt6

# The Qt module of an include: "QtCore/..." and "QString" both give QtCore;
# prints nothing when the header is no Qt class header.
qt_module() {
  local header=$1 module
  case "$header" in
    Qt*/*) echo "${header%%/*}" ;;
    Q*)
      for module in QtCore QtGui QtWidgets QtPrintSupport QtSvg; do
        if [ -e "$qt_headers/$module/$header" ]; then
          echo "$module"
          return
        fi
      done
      echo unknown ;;
  esac
}

# check_layer <folder> <qt modules allowed, space-separated> <our folders allowed, space-separated> [gui classes]
# With gui classes given, QtGui is allowed for those class headers only.
check_layer() {
  local folder=$1 modules=" $2 " folders=" $3 " gui_classes=" ${4:-} "
  [ -d "$src/$folder" ] || return 0
  if [ ! -d "$qt_headers/QtCore" ]; then
    breach "$folder: cannot find the Qt headers to check the layer"
    return
  fi
  while IFS= read -r hit; do
    local header=${hit##*:} module
    module=$(qt_module "$header")
    if [ -n "$module" ]; then
      if [ "$module" = unknown ]; then
        breach "$hit: $header is no Qt header this check knows"
      elif [[ "$modules" != *" $module "* ]]; then
        if [ "$module" = QtGui ] && [[ "$gui_classes" == *" ${header#QtGui/} "* ]]; then
          continue
        fi
        breach "$hit: $folder may not use $module"
      fi
    elif [[ "$header" == */* ]]; then
      # Only our own folders are judged; system headers such as sys/stat.h pass.
      local top=${header%%/*}
      [ -d "$src/$top" ] || continue
      [[ "$folders" == *" $top "* ]] || breach "$hit: $folder includes $top"
    fi
  done < <(includes "$src/$folder")
}

# report: QtCore only.
check_layer report "QtCore" "core device journal report"
# texts: QtCore, made from the domain's results.
check_layer texts "QtCore" "core device journal report texts"
# document: QtCore, and QtGui for the undo stack only.
check_layer document "QtCore" "core device journal report texts document" "QUndoStack QUndoCommand"
# paper: QtGui (painter, PDF writer); no widgets, no printer.
check_layer paper "QtCore QtGui" "core device journal report texts document paper"
# widgets: the windows; no start-up code.
check_layer widgets "QtCore QtGui QtWidgets QtPrintSupport QtSvg" "core device journal report texts document paper widgets"
# app: everything.
check_layer app "QtCore QtGui QtWidgets QtPrintSupport QtSvg" "core device journal report texts document paper widgets app"

if [ "$failed" -ne 0 ]; then
  exit 1
fi
echo "check-layers: the layer rule holds"
