#pragma once
// Feeder files (.tsm): the texts of the main window's inputs and the device
// accepted in the device dialog, as UTF-8 JSON with a format name and version.
// Reading checks the whole document before anything is handed out, so a bad
// file never changes a window.

#include <QByteArray>
#include <QString>
#include <optional>

#include "core/loop_calc.h"
#include "device/device_check.h"
#include "report/file_io.h"

namespace tesmir {

inline constexpr char kFeederFormatName[] = "tesmir-feeder";
inline constexpr int kFeederFormatVersion = 1;
// The longest text one input holds (the most a line edit takes). A longer
// text in a file would be cut without a word, so the file is refused.
inline constexpr qsizetype kFeederMaxTextLength = 32767;
// Files larger than this are not feeder files the program wrote: 46 texts of
// the longest length, every character written as a six-byte escape, come to
// about 9 MB.
inline constexpr qsizetype kFeederMaxBytes = qsizetype{16} << 20;

// The message for a file that cannot be opened as a feeder; the reason follows.
inline constexpr char kFeederBadFilePrefix[] = "Файл не является файлом схемы Тесмир или поврежден: ";

struct FeederData {
  SchemeInput scheme;                       // every input text as shown
  std::optional<DeviceDialogInput> device;  // nullopt: no device accepted
  // The device's breaking capacity as typed in "Проверка защиты" for this
  // feeder, kA; empty when none was typed. Written only when given, so a
  // file without it has exactly the bytes it had before the field existed.
  std::string breakingCapacity;
  bool operator==(const FeederData&) const = default;
};

// The document's bytes (UTF-8 JSON, indented).
QByteArray FeederToJson(const FeederData& data);

struct FeederParse {
  std::optional<FeederData> data;
  QString reason;  // set when data is empty: why the bytes are not a feeder
};

// Checks every field; never partially succeeds.
FeederParse ParseFeeder(QByteArrayView bytes);

// Why `data` cannot be written whole (a text too long, naming its field), or
// the empty text.
QString FeederSaveRejection(const FeederData& data);

// Writes through a temporary file that replaces `path` only when complete;
// the failure carries the whole message ("Не удалось сохранить файл ...").
Result<FileSaved, FileError> SaveFeederFile(const QString& path, const FeederData& data);

struct LoadedFeeder {
  std::optional<FeederData> data;
  QString error;   // the file could not be read: the whole message
  QString reason;  // read, but not a feeder file
};

LoadedFeeder LoadFeederFile(const QString& path);

}  // namespace tesmir
