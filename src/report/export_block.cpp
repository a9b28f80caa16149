#include "report/export_block.h"

#include <array>

#include "report/report_columns.h"

namespace tesmir {

namespace {

// The export header: row 0 the titles, row 1 the units.
std::string_view HeaderCell(std::size_t row, std::size_t col) {
  if (col >= kReportColumnTable.size()) return {};
  const ReportColumn& column = kReportColumnTable[col];
  return row == 0 ? column.headerTitle : column.exportUnit;
}

std::vector<std::string> HeaderRow(std::size_t row, int columns) {
  std::vector<std::string> cells(static_cast<std::size_t>(columns));
  for (std::size_t col = 0; col < cells.size(); ++col) cells[col] = HeaderCell(row, col);
  return cells;
}

}  // namespace

std::vector<int> ExportedRows(const ReportTable& table) {
  std::vector<int> rows;
  for (int r = 0; r < table.rowCount(); ++r) {
    if (!table.cell(0, r).empty()) rows.push_back(r);
  }
  return rows;
}

SheetBlock BuildExportBlock(const ReportTable& table) {
  const int columns = table.columnCount();
  const std::vector<int> rows = ExportedRows(table);
  SheetBlock block;
  block.reserve(rows.size() + 2);
  block.push_back(HeaderRow(0, columns));
  block.push_back(HeaderRow(1, columns));
  for (const int row : rows) {
    std::vector<std::string> cells;
    cells.reserve(static_cast<std::size_t>(columns));
    for (int col = 0; col < columns; ++col) cells.push_back(table.cell(col, row));
    block.push_back(std::move(cells));
  }
  return block;
}

void ExportBlockRow(const ReportTable& table, const std::vector<int>& rows, std::size_t r,
                    std::vector<std::string>& cells) {
  const auto columns = static_cast<std::size_t>(table.columnCount());
  cells.resize(columns);
  for (std::size_t col = 0; col < columns; ++col) {
    if (r < 2)
      cells[col] = HeaderCell(r, col);
    else
      cells[col] = table.cell(static_cast<int>(col), rows[r - 2]);
  }
}

QString CheckExportLimits(const ReportTable& table, const SheetLimits& limits) {
  const std::vector<int> named = ExportedRows(table);
  const std::size_t rows = named.size();
  if (rows + 2 > limits.maxRows) {
    return QStringLiteral(
               "Отчет из %1 строк не помещается на лист электронной таблицы: на листе не более %2 строк, "
               "две из них заняты заголовком, поэтому можно экспортировать не более %3 строк отчета. "
               "Экспорт не выполнен.")
        .arg(rows)
        .arg(limits.maxRows)
        .arg(limits.maxRows - 2);
  }
  for (std::size_t r = 0; r < rows; ++r) {
    const ReportRow& row = table.row(named[r]);
    for (std::size_t c = 0; c < row.size(); ++c) {
      const std::size_t length = CharacterCount(row[c]);
      if (length > limits.maxCellCharacters) {
        return QStringLiteral(
                   "Ячейка отчета в строке %1, столбце %2 содержит %3 символов, а ячейка листа "
                   "электронной таблицы вмещает не более %4 символов. Экспорт не выполнен.")
            .arg(r + 1)
            .arg(c + 1)
            .arg(length)
            .arg(limits.maxCellCharacters);
      }
    }
  }
  return {};
}

}  // namespace tesmir
