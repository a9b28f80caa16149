#pragma once
// File names are bytes on this system, and Qt shows them as UTF-8 text. A
// name that is not valid UTF-8 — a Windows-1251 name copied from another
// machine, typed on the command line — would lose its bytes in that text and
// the file could not be found again. Such a name keeps each byte UTF-8 cannot
// read as the lone code unit U+DC80 + (byte − 0x80), so it goes back to the
// very same bytes when the file is opened or saved; a valid UTF-8 name is
// just the text Qt gives.

#include <QByteArray>
#include <QString>
#include <string_view>

namespace tesmir {

// The name for the bytes: UTF-8 decoded, each undecodable byte kept.
QString DecodeFileName(std::string_view bytes);

// The bytes of a name made by DecodeFileName (or any other text).
QByteArray EncodeFileName(const QString& name);

// Whether the name holds bytes that are not UTF-8 text.
bool HasRawBytes(const QString& name);

// The name as the user reads it: kept bytes are read as Windows-1251, the
// usual encoding of such names.
QString ShownFileName(const QString& name);

}  // namespace tesmir
