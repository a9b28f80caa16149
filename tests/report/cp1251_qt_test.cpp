// The standard-C++ Windows-1251 code page of the core agrees with Qt's
// converter on every byte and on every character of the Basic Multilingual Plane.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include "core/cp1251.h"

namespace tesmir {
namespace {

TEST(Cp1251AgainstQt, EveryByte) {
  QByteArray all(256, '\0');
  for (int b = 0; b < 256; ++b) all[b] = static_cast<char>(b);
  QStringDecoder decoder("Windows-1251");
  const QString qt = decoder.decode(all);
  ASSERT_FALSE(decoder.hasError());
  ASSERT_EQ(qt.size(), 256);
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(static_cast<char32_t>(qt.at(b).unicode()), Cp1251ToUnicode(static_cast<unsigned char>(b))) << b;
  }
  EXPECT_EQ(QString::fromStdString(DecodeCp1251(all.toStdString())), qt);
}

TEST(Cp1251AgainstQt, EveryCharacterOfTheBasicPlane) {
  QString text;
  for (char32_t c = 0x80; c < 0x10000; ++c) {
    if (c < 0xD800 || c > 0xDFFF) text.append(QChar(static_cast<char16_t>(c)));
  }
  // Qt writes Ctrl-Z for a character the code page lacks, and nothing for an
  // invisible one; compared character by character.
  int mapped = 0;
  for (const QChar c : text) {
    QStringEncoder encoder("Windows-1251");
    const QByteArray qt = encoder.encode(QString(c));
    const std::string ours = EncodeCp1251(QString(c).toStdString(), '\x1a');
    ASSERT_EQ(qt.toStdString(), ours) << std::hex << static_cast<unsigned>(c.unicode());
    EXPECT_EQ(UnicodeToCp1251(c.unicode()).has_value(), !encoder.hasError())
        << std::hex << static_cast<unsigned>(c.unicode());
    mapped += encoder.hasError() ? 0 : 1;
  }
  EXPECT_EQ(mapped, 128);
  // The whole plane in one piece gives the same bytes.
  QStringEncoder whole("Windows-1251");
  EXPECT_EQ(QByteArray(whole.encode(text)).toStdString(), EncodeCp1251(text.toStdString(), '\x1a'));
}

}  // namespace
}  // namespace tesmir
