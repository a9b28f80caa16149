#pragma once
// Report files. The semicolon layout (Windows-1251, CR LF, two header lines,
// a ';' after each of the twelve cells) is written and read; the bar layout
// ('|' before and after every cell, no header) is only read.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <optional>
#include <vector>

#include "report/report_table.h"

namespace tesmir {

enum class ReportLayout { Semicolon, Bar };

// The layout a file name is read with: names ending in "csv" use the semicolon
// layout, names ending in "okz" the bar layout (both lower case); any other
// name is not read at all.
std::optional<ReportLayout> LayoutForFileName(const QString& fileName);

// The bytes of a saved report. Every named row is written whole, an empty cell
// as an empty field; rows without a name are left out. A report without named
// rows gives no bytes at all (not even the header lines).
QByteArray EncodeReport(const ReportTable& table);

struct ParsedReport {
  std::vector<ReportRow> rows;  // one per data line, at least kReportMinRows
  bool damaged = false;         // some line has a separator count that does not fit the layout
};

// Reads the bytes of a report file in `layout`. Never fails: a damaged file is
// flagged and its lines are cut into cells as they fall.
ParsedReport ParseReport(QByteArrayView bytes, ReportLayout layout);

// What a file holds before any row is built: the number of data lines (rows)
// and whether some line's separator count does not fit the layout.
struct ReportScan {
  std::size_t dataLines = 0;
  bool damaged = false;
};
ReportScan ScanReport(QByteArrayView bytes, ReportLayout layout);

// Bounds of reading a report file. The rows are those a spreadsheet sheet
// holds under the two header rows; the size lets that many of the longest
// rows this program writes (about 155 bytes: an 8-character name and eleven
// values such as "9 999 999,99") through, and nothing much larger.
inline constexpr qint64 kReportFileMaxBytes = qint64{160} * 1024 * 1024;
inline constexpr std::size_t kReportFileMaxRows = 1048574;
struct ReportFileLimits {
  qint64 maxBytes = kReportFileMaxBytes;
  std::size_t maxRows = kReportFileMaxRows;
};

// Writes the table to `path` through a temporary file that replaces the old
// one only when everything was written. Returns the empty text on success,
// otherwise the message to show; the previous file is then left as it was.
QString SaveReportFile(const QString& path, const ReportTable& table);

// A report file read into memory and scanned; its rows are built by
// ParseReport(bytes, layout) once the caller accepts it (a damaged file is
// asked about first).
struct LoadedReport {
  QByteArray bytes;
  ReportScan scan;
  QString error;  // not empty when the file could not be read or is refused
};

// Reads a regular file of at most `limits.maxBytes` bytes holding at most
// `limits.maxRows` data lines; anything else (a folder, a FIFO, a device, a
// larger file) is refused with the message to show, without blocking.
LoadedReport LoadReportFile(const QString& path, ReportLayout layout, const ReportFileLimits& limits = {});

namespace report_file_messages {
inline constexpr char kOverwrite[] = "Такой файл уже существует. Переписать файл?";
inline constexpr char kDamaged[] = "Формат файла поврежден. Продолжить загрузку данных?";
inline constexpr char kOutOfMemory[] = "Недостаточно памяти, чтобы открыть файл %1. Отчет не изменен.";
}  // namespace report_file_messages

}  // namespace tesmir
