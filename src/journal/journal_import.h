#pragma once
// A cable journal kept in a spreadsheet, brought in as journal lines: which
// journal field each column holds (proposed from the header's words, a
// two-row header read as one), what every row becomes, and the line-by-line
// report of what was read and what was not. The feeding line of a line is
// the line whose "куда" is its "откуда"; nothing is guessed.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/journal_network.h"

namespace tesmir {

// The cells of a sheet as texts (UTF-8), row by row; rows may differ in length.
using TextGrid = std::vector<std::vector<std::string>>;

// The journal field a column holds.
enum class ImportField {
  None,  // the column is not read
  Id,
  Parent,
  From,
  To,
  Mark,
  Cores,  // "число и сечение жил": "4х95", "3х120+1х70", "2х(4х240)"
  Kind,
  Material,
  Model,
  Ff,
  Fn,
  Par,
  Length,
  Phases,
  Insulation,
  Ip,
  CosPhi,
  Arc,
  Final,
  TNorm,
  DeviceType,
  In,
  Multiple,
  ReleaseCurrent,
  Safety,
  FuseType,
  Time,
  IcuKa,
  I2t,
  TInst,
  Count
};

// The field's name as the mapping shows it; also the header the journal's
// workbook writes, so that the import reads that workbook back.
std::string_view ImportFieldTitle(ImportField field);

// The field a header text names, or None.
ImportField ProposeImportField(std::string_view header);

struct ImportMapping {
  std::size_t headerRow = 0;   // first header row of the grid
  std::size_t headerRows = 1;  // 1 or 2; 0 when the grid has no header
  std::vector<ImportField> columns;
  // The first row of lines.
  std::size_t firstDataRow() const { return headerRow + headerRows; }
  bool operator==(const ImportMapping&) const = default;
};

// Finds the header (the first row naming at least two fields, together with
// the row below it when that one holds words and no numbers) and proposes a
// field per column. A field is proposed for one column only.
ImportMapping ProposeImportMapping(const TextGrid& grid);

// Whether a block copied from a spreadsheet begins with its header row: its
// first row names at least two fields, as the mapping finds a header, and
// holds no number (a row of figures is data, whatever its words).
bool BlockStartsWithHeader(const TextGrid& grid);

// The header text of a column as the mapping reads it (two rows joined).
std::string ImportHeaderText(const TextGrid& grid, const ImportMapping& mapping, std::size_t column);

// What one row of the sheet became.
struct ImportedRow {
  std::size_t row = 0;               // index in the grid
  std::optional<std::size_t> line;   // index in JournalImport::lines; none when not read
  std::string skipped;               // why the row gave no line
  std::vector<std::string> remarks;  // what was read but needs the designer's eye
};

struct JournalImport {
  std::vector<JournalLine> lines;
  std::vector<ImportedRow> rows;  // every row after the header, in order
};

// Turns the rows below the header into lines.
JournalImport ImportJournalRows(const TextGrid& grid, const ImportMapping& mapping);

// The import's report: a summary, the columns not read, then one text per
// row ("Строка 5, линия W3: прочитана; ..."), with the spreadsheet's row numbers.
std::vector<std::string> JournalImportReport(const TextGrid& grid, const ImportMapping& mapping,
                                             const JournalImport& result);

// What a row becomes, in a few words, for the preview of the mapping.
std::string ImportRowPreview(const JournalImport& result, std::size_t rowIndex);

// The spreadsheet's letters of a column: 0 → "A", 26 → "AA".
std::string ColumnLetters(std::size_t column);

namespace import_texts {
inline constexpr std::string_view kNoId = "нет обозначения линии";
inline constexpr std::string_view kEmptyRow = "пустая строка";
}  // namespace import_texts

}  // namespace tesmir
