#include "core/display_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

namespace tesmir {
namespace {

// A decimal number as the shortest digit string that reads back as the same
// double: value = digits × 10^(point - digits.size()). Rounding works on these
// digits, so a value typed as 2.675 rounds as 2.675, not as its binary neighbour.
struct Decimal {
  bool negative = false;
  std::string digits;  // no leading zeros; "0" for zero
  int point = 1;       // digits before the decimal point (may be <= 0 or > size)

  bool isZero() const { return digits == "0"; }
};

Decimal ToDecimal(double value) {
  Decimal d;
  d.negative = std::signbit(value);
  value = std::fabs(value);
  if (value == 0) {
    d.digits = "0";
    d.point = 1;
    d.negative = false;
    return d;
  }
  std::array<char, 64> buf{};
  const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::scientific);
  const std::string_view text(buf.data(), static_cast<std::size_t>(r.ptr - buf.data()));
  const std::size_t e = text.find('e');
  for (char c : text.substr(0, e)) {
    if (c != '.') d.digits.push_back(c);
  }
  int exponent = 0;
  std::string_view expText = text.substr(e + 1);
  if (!expText.empty() && expText[0] == '+') expText.remove_prefix(1);
  std::from_chars(expText.data(), expText.data() + expText.size(), exponent);
  d.point = exponent + 1;
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
  return d;
}

// Keeps the first `keep` digits, rounding half away from zero.
void RoundTo(Decimal& d, int keep) {
  if (d.isZero() || keep >= static_cast<int>(d.digits.size())) return;
  if (keep < 0) {
    d = Decimal{};
    d.digits = "0";
    return;
  }
  const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
  d.digits.resize(static_cast<std::size_t>(keep));
  if (up) {
    int i = keep - 1;
    for (; i >= 0; --i) {
      if (d.digits[static_cast<std::size_t>(i)] == '9') {
        d.digits[static_cast<std::size_t>(i)] = '0';
      } else {
        ++d.digits[static_cast<std::size_t>(i)];
        break;
      }
    }
    if (i < 0) {
      d.digits.insert(d.digits.begin(), '1');
      ++d.point;
    }
  }
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) {
    d.digits = "0";
    d.point = 1;
    d.negative = false;
  }
}

char DigitAt(const Decimal& d, int index) {  // index 0 = first digit
  return index >= 0 && index < static_cast<int>(d.digits.size()) ? d.digits[static_cast<std::size_t>(index)] : '0';
}

std::string Group(const std::string& integer, const std::string& sep) {
  std::string out;
  const std::size_t n = integer.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += sep;
    out += integer[i];
  }
  return out;
}

std::string IntegerPart(const Decimal& d) {
  if (d.isZero() || d.point <= 0) return "0";
  std::string s;
  for (int i = 0; i < d.point; ++i) s += DigitAt(d, i);
  return s;
}

// The one exponent form used everywhere: mantissa with the locale's decimal
// separator and no trailing zeros, "E", sign, exponent without leading zeros.
std::string ExponentForm(Decimal d, int significant, const NumberSeparators& seps) {
  RoundTo(d, significant);
  std::string out = d.negative ? "-" : "";
  out += d.digits[0];
  if (d.digits.size() > 1) {
    out += seps.decimal;
    out.append(d.digits, 1);
  }
  const int exponent = d.isZero() ? 0 : d.point - 1;
  out += exponent < 0 ? "E-" : "E+";
  out += std::to_string(std::abs(exponent));
  return out;
}

std::string FormatFixed(double value, int decimals, const NumberSeparators& seps) {
  constexpr int kMaxSignificant = 7;
  Decimal d = ToDecimal(value);
  if (d.point > kMaxSignificant) return ExponentForm(d, kMaxSignificant, seps);
  RoundTo(d, std::min(d.point + decimals, kMaxSignificant));
  if (d.point > kMaxSignificant) return ExponentForm(d, kMaxSignificant, seps);
  std::string out = d.negative ? "-" : "";
  out += Group(IntegerPart(d), seps.thousands);
  if (decimals > 0) {
    out += seps.decimal;
    for (int i = 0; i < decimals; ++i) out += d.isZero() ? '0' : DigitAt(d, d.point + i);
  }
  return out;
}

}  // namespace

std::string FormatG(double value, const NumberSeparators& seps) {
  constexpr int kSignificant = 15;
  Decimal d = ToDecimal(value);
  RoundTo(d, kSignificant);
  if (d.isZero()) return "0";
  if (d.point > kSignificant || d.point < -4) return ExponentForm(d, kSignificant, seps);
  std::string out = d.negative ? "-" : "";
  out += IntegerPart(d);
  const int size = static_cast<int>(d.digits.size());
  if (size > d.point) {
    out += seps.decimal;
    for (int i = d.point; i < size; ++i) out += DigitAt(d, i);
  }
  return out;
}

std::string FormatF2(double value, const NumberSeparators& seps) { return FormatFixed(value, 2, seps); }

std::string FormatF0(double value, const NumberSeparators& seps) { return FormatFixed(value, 0, seps); }

double RoundCurrent(double amperes) { return std::nearbyint(amperes); }

std::string FormatCurrent(double amperes) {
  const double rounded = RoundCurrent(amperes);
  std::array<char, 400> buf{};
  const auto r =
      std::to_chars(buf.data(), buf.data() + buf.size(), rounded == 0 ? 0.0 : rounded, std::chars_format::fixed, 0);
  return std::string(buf.data(), r.ptr);
}

}  // namespace tesmir
