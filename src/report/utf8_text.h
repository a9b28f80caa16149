#pragma once
// The domain layers keep their texts as UTF-8 std::string; Qt keeps UTF-16.
// The one conversion from the first to the second.

#include <QString>
#include <cstddef>
#include <string_view>

namespace tesmir {

inline QString QUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The length of the valid UTF-8 sequence at `at` (1 to 4 bytes), or 0 for
// an invalid one: overlong forms, surrogates and anything above U+10FFFF are
// invalid. `code`, when given, receives the character.
inline std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t at, char32_t* code = nullptr) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[at + k]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  char32_t c = 0;
  if (lead < 0x80) {
    length = 1;
    c = lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    c = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    c = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    c = lead & 0x07u;
  } else {
    return 0;
  }
  if (at + length > bytes.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(k) & 0xC0u) != 0x80u) return 0;
    c = (c << 6) | (byte(k) & 0x3Fu);
  }
  const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
  const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
  if (overlong || surrogate || c > 0x10FFFF) return 0;
  if (code != nullptr) *code = c;
  return length;
}

}  // namespace tesmir
