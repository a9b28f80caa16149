#pragma once
// Reading the cable journal a designer keeps in a spreadsheet: the first sheet
// of an .xlsx workbook, or a .csv file, as a grid of texts. Nothing is
// interpreted here; the import decides what each column means.

#include <QByteArrayView>
#include <QString>
#include <cstddef>
#include <string>
#include <vector>

#include "core/result.h"
#include "journal/journal_import.h"

namespace tesmir {

// A spreadsheet file larger than this is refused before it is read.
inline constexpr qint64 kSheetFileMaxBytes = qint64{50} << 20;
// One unpacked part of a workbook (a sheet, the shared strings) may not
// be larger than this: a small file can unpack to gigabytes.
inline constexpr qint64 kSheetPartMaxBytes = qint64{256} << 20;
// The most cells a sheet may have (its used rows × columns).
inline constexpr std::size_t kSheetMaxCells = 3'000'000;

// The first sheet of an .xlsx workbook (of a workbook the journal's export
// wrote: its sheet of inputs): shared and inline strings, numbers
// (with the "." decimal point, at most 15 significant digits, as the
// spreadsheet shows them unformatted), formula results, empty cells; a merged
// range gives its text to every cell it covers. Fails with the reason.
Result<TextGrid> ReadXlsxSheet(const QString& path);

// A .csv file: UTF-8 with or without the byte-order mark, or Windows-1251
// when the bytes are not UTF-8; the separator ";", "," or tab is the one
// the first lines use consistently; quoted fields may hold separators,
// doubled quotes and line breaks.
Result<TextGrid> ReadCsvSheet(QByteArrayView bytes);

// Reads `path` by its name's ending: ".xlsx", or ".csv"/".txt".
Result<TextGrid> ReadSheetFile(const QString& path);

// A spreadsheet read and brought in with the proposed mapping: the lines and
// the report. The mapping dialog lets the designer correct the mapping of
// `grid` before the lines are taken.
struct JournalImportFile {
  TextGrid grid;
  ImportMapping mapping;
  JournalImport lines;
  std::vector<std::string> report;
};
Result<JournalImportFile> ImportJournalFile(const QString& path);

}  // namespace tesmir
