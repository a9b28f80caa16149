#pragma once
// Reading numbers typed by the user. The decimal point is always '.',
// whatever the system locale says.

#include <cstdint>
#include <optional>
#include <string_view>

namespace tesmir {

// Decimal text: optional leading blanks, optional sign, digits with at most one
// '.' (digits may be missing on one side, not both), optional exponent
// ("E"/"e", optional sign, digits). Nothing may follow. Empty, all-blank,
// a comma, "inf", "nan", hexadecimal floats and values beyond the range of a
// double are invalid. Values too small to represent read as zero.
std::optional<double> ParseDecimal(std::string_view text);

// Whole-number text: optional leading blanks and sign, then decimal digits, or
// hexadecimal digits after "$", "x", "X", "0x" or "0X". Must fit a 32-bit
// signed integer; nothing may follow.
std::optional<std::int32_t> ParseWholeNumber(std::string_view text);

// The number at the start of the text after optional leading blanks: digits,
// optionally '.' and fraction digits; the rest is ignored. No number reads as 0.
double LeadingNumber(std::string_view text);

}  // namespace tesmir
