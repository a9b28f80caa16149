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

namespace tesmir {

inline constexpr char kFeederFormatName[] = "tesmir-feeder";
inline constexpr int kFeederFormatVersion = 1;
// Files larger than this are not feeder files the program wrote.
inline constexpr qsizetype kFeederMaxBytes = 1 << 20;

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

// Writes through a temporary file that replaces `path` only when complete.
// Returns the empty text or the system's error text.
QString SaveFeederFile(const QString& path, const FeederData& data);

struct LoadedFeeder {
  std::optional<FeederData> data;
  QString error;   // the file could not be read (system error text)
  QString reason;  // read, but not a feeder file
};

LoadedFeeder LoadFeederFile(const QString& path);

}  // namespace tesmir
