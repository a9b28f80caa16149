#pragma once
// Properties the number-text readers keep for any input: a decimal accepted
// is finite, stays the same after more leading blanks and is refused with
// anything after it; a whole number accepted reads back from its own digits;
// the leading number is never negative or NaN.

#include <cmath>
#include <string>
#include <string_view>

#include "core/number_text.h"

namespace tesmir {

inline bool NumberReadersKeepTheirRules(std::string_view text) {
  if (const auto value = ParseDecimal(text)) {
    if (!std::isfinite(*value)) return false;
    const auto padded = ParseDecimal(" " + std::string(text));
    if (!padded || *padded != *value) return false;
    if (ParseDecimal(std::string(text) + "x") || ParseDecimal(std::string(text) + ",")) return false;
  }
  if (const auto whole = ParseWholeNumber(text)) {
    if (ParseWholeNumber(std::to_string(*whole)) != whole) return false;
    if (ParseWholeNumber(std::string(text) + "g")) return false;
  }
  const double leading = LeadingNumber(text);
  return !std::isnan(leading) && leading >= 0;
}

}  // namespace tesmir
