#pragma once
// Report files on disk: choosing the layout by name, saving safely and
// reading within bounds. The bytes themselves are report_format's.

#include <QString>
#include <cstddef>
#include <optional>
#include <string>

#include "core/result.h"
#include "report/report_format.h"
#include "report/report_table.h"

namespace tesmir {

// The layout a file name is read with: names ending in "csv" use the semicolon
// layout, names ending in "okz" the bar layout, in any case ("ОТЧЕТ.CSV" too);
// any other name is not read at all.
std::optional<ReportLayout> LayoutForFileName(const QString& fileName);

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
// one only when everything was written. Fails with the message to show; the
// previous file is then left as it was.
struct ReportSaved {
  bool operator==(const ReportSaved&) const = default;
};
// A report the reader would refuse (larger than `limits` allow) is not
// written at all; the message names the limit.
Result<ReportSaved, QString> SaveReportFile(const QString& path, const ReportTable& table,
                                            const ReportFileLimits& limits = {});

// A report file read into memory and scanned; its rows are built by
// ParseReport(bytes, layout) once the caller accepts it (a damaged file is
// asked about first).
struct LoadedReport {
  std::string bytes;
  ReportScan scan;
};

// Reads a regular file of at most `limits.maxBytes` bytes holding at most
// `limits.maxRows` data lines; anything else (a folder, a FIFO, a device, a
// larger file) is refused with the message to show, without blocking.
Result<LoadedReport, QString> LoadReportFile(const QString& path, ReportLayout layout,
                                             const ReportFileLimits& limits = {});

namespace report_file_messages {
inline constexpr char kOverwrite[] = "Такой файл уже существует. Переписать файл?";
inline constexpr char kDamaged[] = "Формат файла поврежден. Продолжить загрузку данных?";
inline constexpr char kNotAReportName[] =
    "Файл %1 не открыт: открываются только файлы отчета с именами на .csv (таблица с точкой с запятой) и .okz.";
inline constexpr char kOutOfMemory[] = "Недостаточно памяти, чтобы открыть файл %1. Отчет не изменен.";
}  // namespace report_file_messages

}  // namespace tesmir
