#include "report/file_names.h"

#include <QFile>

#include "core/cp1251.h"
#include "report/utf8_text.h"

namespace tesmir {
namespace {

constexpr char16_t kKeptByteBase = 0xDC00;  // + the byte, 0x80…0xFF

bool IsKeptByte(const QString& name, qsizetype i) {
  const char16_t unit = name[i].unicode();
  if (unit < kKeptByteBase + 0x80 || unit > kKeptByteBase + 0xFF) {
    return false;
  }
  // The low half of a surrogate pair is a character, not a kept byte.
  return i == 0 || !name[i - 1].isHighSurrogate();
}

}  // namespace

QString DecodeFileName(std::string_view bytes) {
  QString name;
  name.reserve(static_cast<qsizetype>(bytes.size()));
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t run = at;
    std::size_t length = 0;
    while (run < bytes.size() && (length = Utf8SequenceLength(bytes, run)) != 0) {
      run += length;
    }
    name += QString::fromUtf8(bytes.data() + at, static_cast<qsizetype>(run - at));
    if (run < bytes.size()) {
      name += QChar(static_cast<char16_t>(kKeptByteBase + static_cast<unsigned char>(bytes[run])));
      ++run;
    }
    at = run;
  }
  return name;
}

QByteArray EncodeFileName(const QString& name) {
  if (!HasRawBytes(name)) {
    return QFile::encodeName(name);
  }
  QByteArray bytes;
  qsizetype from = 0;
  for (qsizetype i = 0; i <= name.size(); ++i) {
    if (i == name.size() || IsKeptByte(name, i)) {
      bytes += QStringView(name).mid(from, i - from).toUtf8();
      if (i < name.size()) {
        bytes += static_cast<char>(name[i].unicode() - kKeptByteBase);
      }
      from = i + 1;
    }
  }
  return bytes;
}

bool HasRawBytes(const QString& name) {
  for (qsizetype i = 0; i < name.size(); ++i) {
    if (IsKeptByte(name, i)) {
      return true;
    }
  }
  return false;
}

QString ShownFileName(const QString& name) {
  if (!HasRawBytes(name)) {
    return name;
  }
  QString shown;
  for (qsizetype i = 0; i < name.size(); ++i) {
    if (IsKeptByte(name, i)) {
      const char32_t character = Cp1251ToUnicode(static_cast<unsigned char>(name[i].unicode() - kKeptByteBase));
      shown += QString::fromUcs4(&character, 1);
    } else {
      shown += name[i];
    }
  }
  return shown;
}

}  // namespace tesmir
