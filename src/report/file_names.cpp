#include "report/file_names.h"

#include <QFile>

#include "core/cp1251.h"

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

// The length of the valid UTF-8 sequence at `at`, or 0.
std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t at) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[at + k]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  char32_t code = 0;
  if (lead < 0x80) {
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07u;
  } else {
    return 0;
  }
  if (at + length > bytes.size()) {
    return 0;
  }
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(k) & 0xC0u) != 0x80u) {
      return 0;
    }
    code = (code << 6) | (byte(k) & 0x3Fu);
  }
  const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  return overlong || surrogate || code > 0x10FFFF ? 0 : length;
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
