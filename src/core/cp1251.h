#pragma once
// Windows-1251, the Cyrillic single-byte code page of the report files:
// conversion between its bytes and UTF-8 text. Bytes 0x00-0x7F are ASCII; every
// byte 0x80-0xFF stands for one character (0x98, unassigned in the code page,
// for the C1 control U+0098), so any byte string decodes.

#include <optional>
#include <string>
#include <string_view>

namespace tesmir {

// The character a byte stands for.
char32_t Cp1251ToUnicode(unsigned char byte);

// The byte of a character; nullopt for a character the code page lacks.
std::optional<unsigned char> UnicodeToCp1251(char32_t character);

// Bytes to UTF-8 text.
std::string DecodeCp1251(std::string_view bytes);

// UTF-8 text to bytes. A character the code page lacks, and each byte of a
// malformed UTF-8 sequence, becomes `substitute`; a missing character that is
// invisible by default (a zero-width space, a direction mark, the byte-order
// mark, ...) is dropped instead.
std::string EncodeCp1251(std::string_view utf8, char substitute);

// True when the text is well-formed UTF-8 and the code page has every one of
// its characters, so that it encodes and reads back unchanged.
bool IsCp1251Text(std::string_view utf8);

}  // namespace tesmir
