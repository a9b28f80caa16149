#include "report/export_block.h"

#include <array>

namespace tesmir {

namespace {

// The titles differ from the report window's only in "|Zф-н|" (no spaces).
constexpr std::array<std::string_view, kReportColumns> kTitles = {
    "№ точки", "Rт/3", "Xт/3", "Rл", "Xл", "Rпр", "Rф-н", "Xф-н", "|Zф-н|", "Iокз", "Iср", "Tср"};

// The unit of the trip time is the Latin small letter c here.
constexpr std::array<std::string_view, kReportColumns> kUnits = {
    "", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "А", "А", "c"};

std::vector<std::string> HeaderRow(const std::array<std::string_view, kReportColumns>& texts, int columns) {
  std::vector<std::string> row(static_cast<std::size_t>(columns));
  for (int col = 0; col < columns && col < kReportColumns; ++col) row[static_cast<std::size_t>(col)] = texts[static_cast<std::size_t>(col)];
  return row;
}

}  // namespace

SheetBlock BuildExportBlock(const ReportTable& table) {
  const int columns = table.columnCount();
  const int leading = table.leadingCount();
  SheetBlock block;
  block.reserve(static_cast<std::size_t>(leading) + 2);
  block.push_back(HeaderRow(kTitles, columns));
  block.push_back(HeaderRow(kUnits, columns));
  for (int row = 0; row < leading; ++row) {
    std::vector<std::string> cells;
    cells.reserve(static_cast<std::size_t>(columns));
    for (int col = 0; col < columns; ++col) cells.push_back(table.cell(col, row));
    block.push_back(std::move(cells));
  }
  return block;
}

std::size_t ExportBlockRowCount(const ReportTable& table) { return static_cast<std::size_t>(table.leadingCount()) + 2; }

void ExportBlockRow(const ReportTable& table, std::size_t r, std::vector<std::string>& cells) {
  const auto columns = static_cast<std::size_t>(table.columnCount());
  cells.resize(columns);
  for (std::size_t col = 0; col < columns; ++col) {
    if (r < 2)
      cells[col] = col < kTitles.size() ? (r == 0 ? kTitles : kUnits)[col] : std::string_view();
    else
      cells[col] = table.cell(static_cast<int>(col), static_cast<int>(r - 2));
  }
}

QString CheckExportLimits(const ReportTable& table, const SheetLimits& limits) {
  const auto rows = static_cast<std::size_t>(table.leadingCount());
  if (rows + 2 > limits.maxRows) {
    return QStringLiteral("Отчет из %1 строк не помещается на лист электронной таблицы: на листе не более %2 строк, "
                          "две из них заняты заголовком, поэтому можно экспортировать не более %3 строк отчета. "
                          "Экспорт не выполнен.")
        .arg(rows)
        .arg(limits.maxRows)
        .arg(limits.maxRows - 2);
  }
  for (std::size_t r = 0; r < rows; ++r) {
    const ReportRow& row = table.row(static_cast<int>(r));
    for (std::size_t c = 0; c < row.size(); ++c) {
      const std::size_t length = CharacterCount(row[c]);
      if (length > limits.maxCellCharacters) {
        return QStringLiteral("Ячейка отчета в строке %1, столбце %2 содержит %3 символов, а ячейка листа "
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
