#include "core/cp1251.h"

#include <array>
#include <cstddef>

namespace tesmir {
namespace {

// Characters of the bytes 0x80-0xBF; 0xC0-0xFF are U+0410-U+044F in order.
constexpr std::array<char16_t, 64> kUpperHalf{
    u'\u0402', u'\u0403', u'\u201A', u'\u0453', u'\u201E', u'\u2026', u'\u2020', u'\u2021',  // 80
    u'\u20AC', u'\u2030', u'\u0409', u'\u2039', u'\u040A', u'\u040C', u'\u040B', u'\u040F',  // 88
    u'\u0452', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',  // 90
    u'\u0098', u'\u2122', u'\u0459', u'\u203A', u'\u045A', u'\u045C', u'\u045B', u'\u045F',  // 98
    u'\u00A0', u'\u040E', u'\u045E', u'\u0408', u'\u00A4', u'\u0490', u'\u00A6', u'\u00A7',  // A0
    u'\u0401', u'\u00A9', u'\u0404', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u0407',  // A8
    u'\u00B0', u'\u00B1', u'\u0406', u'\u0456', u'\u0491', u'\u00B5', u'\u00B6', u'\u00B7',  // B0
    u'\u0451', u'\u2116', u'\u0454', u'\u00BB', u'\u0458', u'\u0405', u'\u0455', u'\u0457',  // B8
};
constexpr char32_t kFirstLetter = U'\u0410';  // А, byte 0xC0
constexpr char32_t kLastLetter = U'\u044F';   // я, byte 0xFF

// Characters that are invisible by default (zero-width spaces and joiners,
// direction marks, variation selectors, the byte-order mark, tags, ...). A
// converter drops them when the code page lacks them instead of writing a
// visible substitute.
struct Range {
  char32_t first;
  char32_t last;
};
constexpr Range kDefaultIgnorable[] = {
    {0x034F, 0x034F}, {0x061C, 0x061C},   {0x115F, 0x1160},   {0x17B4, 0x17B5},   {0x180B, 0x180F}, {0x200B, 0x200F},
    {0x202A, 0x202E}, {0x2060, 0x206F},   {0x3164, 0x3164},   {0xFE00, 0xFE0F},   {0xFEFF, 0xFEFF}, {0xFFA0, 0xFFA0},
    {0xFFF0, 0xFFF8}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0000, 0xE0FFF},
};

bool IsDefaultIgnorable(char32_t c) {
  for (const Range& range : kDefaultIgnorable) {
    if (c >= range.first && c <= range.last) return true;
  }
  return false;
}

std::size_t Utf8Length(char32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : 3; }

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    // Every character of the code page lies in the Basic Multilingual Plane.
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

struct CodePoint {
  char32_t value;
  std::size_t length;  // bytes read
};

// The well-formed UTF-8 sequence at `at`, or nullopt (overlong forms,
// surrogates, values beyond U+10FFFF and cut-off sequences are malformed).
std::optional<CodePoint> NextCodePoint(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return CodePoint{lead, 1};

  std::size_t length = 0;
  char32_t value = 0;
  unsigned char low = 0x80;  // bounds of the second byte
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return std::nullopt;
  }
  if (text.size() - at < length) return std::nullopt;
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char next = byte(at + i);
    const unsigned char min = i == 1 ? low : 0x80;
    const unsigned char max = i == 1 ? high : 0xBF;
    if (next < min || next > max) return std::nullopt;
    value = (value << 6) | (next & 0x3F);
  }
  return CodePoint{value, length};
}

}  // namespace

char32_t Cp1251ToUnicode(unsigned char byte) {
  if (byte < 0x80) return byte;
  if (byte < 0xC0) return kUpperHalf[byte - 0x80];
  return kFirstLetter + (byte - 0xC0);
}

std::optional<unsigned char> UnicodeToCp1251(char32_t character) {
  if (character < 0x80) return static_cast<unsigned char>(character);
  if (character >= kFirstLetter && character <= kLastLetter) {
    return static_cast<unsigned char>(0xC0 + (character - kFirstLetter));
  }
  for (std::size_t i = 0; i < kUpperHalf.size(); ++i) {
    if (kUpperHalf[i] == character) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

std::string DecodeCp1251(std::string_view bytes) {
  // The exact length first: a short text then stays within the string's own
  // buffer instead of taking memory from the heap.
  std::size_t length = 0;
  for (char b : bytes) length += Utf8Length(Cp1251ToUnicode(static_cast<unsigned char>(b)));
  std::string out;
  out.reserve(length);
  for (char b : bytes) AppendUtf8(out, Cp1251ToUnicode(static_cast<unsigned char>(b)));
  return out;
}

std::string EncodeCp1251(std::string_view utf8, char substitute) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t at = 0;
  while (at < utf8.size()) {
    const std::optional<CodePoint> cp = NextCodePoint(utf8, at);
    if (!cp) {
      out.push_back(substitute);
      ++at;
      continue;
    }
    if (const std::optional<unsigned char> byte = UnicodeToCp1251(cp->value)) {
      out.push_back(static_cast<char>(*byte));
    } else if (!IsDefaultIgnorable(cp->value)) {
      out.push_back(substitute);
    }
    at += cp->length;
  }
  return out;
}

bool IsCp1251Text(std::string_view utf8) {
  std::size_t at = 0;
  while (at < utf8.size()) {
    const std::optional<CodePoint> cp = NextCodePoint(utf8, at);
    if (!cp || !UnicodeToCp1251(cp->value)) return false;
    at += cp->length;
  }
  return true;
}

}  // namespace tesmir
