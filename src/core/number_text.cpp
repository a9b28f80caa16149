#include "core/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace tesmir {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::size_t SkipBlanks(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  return i;
}

}  // namespace

std::optional<double> ParseDecimal(std::string_view text) {
  std::size_t i = SkipBlanks(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const std::size_t mantissaStart = i;
  std::size_t intDigits = 0;
  while (i < text.size() && IsDigit(text[i])) {
    ++i;
    ++intDigits;
  }
  std::size_t fracDigits = 0;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) {
      ++i;
      ++fracDigits;
    }
  }
  if (intDigits + fracDigits == 0) return std::nullopt;
  const std::size_t mantissaEnd = i;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < text.size() && IsDigit(text[i])) {
      ++i;
      ++expDigits;
    }
    if (expDigits == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;

  // Few digits and no exponent: the digits read as a whole number are exact,
  // and so is the power of ten, so one division gives the correctly rounded
  // value, the one from_chars gives.
  constexpr std::size_t kExactDigits = 15;
  if (mantissaEnd == text.size() && intDigits + fracDigits <= kExactDigits) {
    static constexpr double kPowersOfTen[kExactDigits + 1] = {1,   1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::uint64_t digits = 0;
    for (std::size_t k = mantissaStart; k < mantissaEnd; ++k) {
      if (text[k] != '.') digits = digits * 10 + static_cast<std::uint64_t>(text[k] - '0');
    }
    const double value = static_cast<double>(digits) / kPowersOfTen[fracDigits];
    return negative ? -value : value;
  }

  // from_chars takes no leading '+' and no bare ".5"-style issues: the syntax
  // has been checked above, so it only converts.
  std::string body(text.substr(mantissaStart));
  double value = 0;
  const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // Either too large (invalid) or too small to represent (reads as zero).
    // Decide by the decimal exponent of the first significant digit.
    long exponent = 0;
    const std::size_t ePos = body.find_first_of("eE");
    if (ePos != std::string::npos) {
      long e = 0;
      const char* first = body.data() + ePos + 1;
      if (*first == '+') ++first;
      const auto r = std::from_chars(first, body.data() + body.size(), e);
      exponent = r.ec == std::errc() ? e
                                     : (body[ePos + 1] == '-' ? std::numeric_limits<long>::min() / 2
                                                              : std::numeric_limits<long>::max() / 2);
    }
    const std::string_view mant(body.data(), mantissaEnd - mantissaStart);
    const std::size_t dot = mant.find('.');
    const std::string_view intPart = mant.substr(0, dot);
    long leading = 0;  // position of the first non-zero digit relative to the point
    const std::size_t firstNonZeroInt = intPart.find_first_not_of('0');
    if (firstNonZeroInt != std::string_view::npos) {
      leading = static_cast<long>(intPart.size() - firstNonZeroInt);
    } else if (dot != std::string_view::npos) {
      const std::string_view frac = mant.substr(dot + 1);
      const std::size_t nz = frac.find_first_not_of('0');
      leading = nz == std::string_view::npos ? 0 : -static_cast<long>(nz);
    }
    if (exponent + leading > 0) return std::nullopt;  // beyond the largest double
    return negative ? -0.0 : 0.0;
  }
  if (ec != std::errc() || end != body.data() + body.size() || !std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

std::optional<std::int32_t> ParseWholeNumber(std::string_view text) {
  std::size_t i = SkipBlanks(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  const std::string_view rest = text.substr(i);
  if (rest.starts_with("0x") || rest.starts_with("0X")) {
    base = 16;
    i += 2;
  } else if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')) {
    base = 16;
    i += 1;
  }
  if (i == text.size()) return std::nullopt;
  // Accumulate in 64 bits and stop as soon as the value leaves the 32-bit range.
  const std::int64_t limit = negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    const int digit = base == 16 ? HexValue(text[i]) : (IsDigit(text[i]) ? text[i] - '0' : -1);
    if (digit < 0) return std::nullopt;
    value = value * base + digit;
    if (value > limit) return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

double LeadingNumber(std::string_view text) {
  std::size_t i = SkipBlanks(text);
  const std::size_t start = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  if (i == start) return 0;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i;
  }
  double value = 0;
  const auto r = std::from_chars(text.data() + start, text.data() + i, value, std::chars_format::fixed);
  if (r.ec != std::errc() || !std::isfinite(value)) return 0;
  return value;
}

}  // namespace tesmir
