#pragma once
// The separators of the system locale for the display formats.

#include <QLocale>

#include "core/display_format.h"

namespace tesmir {

inline NumberSeparators SeparatorsOf(const QLocale& locale) {
  return NumberSeparators{locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

inline NumberSeparators SystemSeparators() { return SeparatorsOf(QLocale::system()); }

}  // namespace tesmir
