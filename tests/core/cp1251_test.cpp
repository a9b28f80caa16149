#include "core/cp1251.h"

#include <gtest/gtest.h>

#include <string>

namespace tesmir {
namespace {

struct ByteCase {
  unsigned char byte;
  char32_t character;
};

// The bytes where the code page is easiest to get wrong; the whole table is
// compared with Qt's converter in the report tests.
TEST(Cp1251, BytesAndCharacters) {
  const ByteCase cases[] = {
      {0x00, U'\0'},     {0x1A, U'\x1a'},   {0x7F, U'\x7f'},   {0x80, U'\u0402'}, {0x88, U'\u20AC'},
      {0x98, U'\u0098'}, {0xA0, U'\u00A0'}, {0xA8, U'\u0401'}, {0xB8, U'\u0451'}, {0xB9, U'\u2116'},
      {0xC0, U'\u0410'}, {0xD2, U'\u0422'}, {0xDF, U'\u042F'}, {0xE0, U'\u0430'}, {0xFF, U'\u044F'},
  };
  for (const ByteCase& c : cases) {
    EXPECT_EQ(Cp1251ToUnicode(c.byte), c.character) << int(c.byte);
    EXPECT_EQ(UnicodeToCp1251(c.character), c.byte) << int(c.byte);
  }
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(UnicodeToCp1251(Cp1251ToUnicode(static_cast<unsigned char>(b))), b) << b;
  }
  for (char32_t missing : {U'\u0080', U'\u00C0', U'\u0450', U'\u045D', U'\u2009', U'\u202F', U'\U0001F600'}) {
    EXPECT_FALSE(UnicodeToCp1251(missing).has_value()) << static_cast<unsigned>(missing);
  }
}

TEST(Cp1251, DecodesEveryByteAndEncodesBack) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string text = DecodeCp1251(all);
  EXPECT_TRUE(IsCp1251Text(text));
  EXPECT_EQ(EncodeCp1251(text, '?'), all);
  EXPECT_EQ(DecodeCp1251("\xB9"
                         "3 \xD2\xF1\xF0"),
            "№3 Тср");
}

struct TextCase {
  const char* utf8;
  const char* bytes;  // encoded with '?' standing in
  bool representable;
};

TEST(Cp1251, EncodesTextAndJudgesIt) {
  const TextCase cases[] = {
      {"", "", true},
      {"Точка 1", "\xD2\xEE\xF7\xEA\xE0 1", true},
      {"Ёё№€", "\xA8\xB8\xB9\x88", true},
      {"1\u00A0000",
       "1\xA0"
       "000",
       true},
      {"1\u202F000", "1?000", false},  // narrow no-break space
      {"Àb", "?b", false},
      {"x\U0001F600y", "x?y", false},             // one character, one substitute
      {"a\u200Bb\uFEFF\U000E0001", "ab", false},  // invisible characters are dropped
      {"a\xFF"
       "b",
       "a?b", false},  // malformed: a byte that starts nothing
      {"a\xE2\x82"
       "c",
       "a??c", false},                 // cut-off sequence, a substitute per byte
      {"\xC0\xAF", "??", false},       // overlong '/'
      {"\xED\xA0\x80", "???", false},  // a surrogate
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(EncodeCp1251(c.utf8, '?'), c.bytes) << c.utf8;
    EXPECT_EQ(IsCp1251Text(c.utf8), c.representable) << c.utf8;
  }
}

}  // namespace
}  // namespace tesmir
