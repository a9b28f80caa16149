#pragma once
// Display formats of numbers. The separators come from the caller (the windows
// pass the system locale's), so the core stays locale-free and testable.

#include <string>
#include <string_view>

namespace tesmir {

// Shown in place of a value that is not known yet or does not apply.
inline constexpr std::string_view kNoValueText = "---";

struct NumberSeparators {
  std::string decimal = ".";    // UTF-8, e.g. "," on a Russian desktop
  std::string thousands = ",";  // UTF-8, may be a space or a no-break space
};

// G: at most 15 significant digits, trailing zeros dropped, the decimal
// separator only when a fraction remains, no grouping. Values with more than
// 15 integer digits, or below 0.00001, use the exponent form.
std::string FormatG(double value, const NumberSeparators& seps);

// F2: two decimals, grouped thousands. Rounded half away from zero to two
// decimals but no more than 7 significant digits; more than 7 integer digits
// switch to the exponent form.
std::string FormatF2(double value, const NumberSeparators& seps);

// F0: as F2 without decimals.
std::string FormatF0(double value, const NumberSeparators& seps);

// The fault current as a whole number, ties to the even neighbour, plain digits.
std::string FormatCurrent(double amperes);

// The rounding used by FormatCurrent: nearest, ties to even.
double RoundCurrent(double amperes);

}  // namespace tesmir
