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
  for (int col = 0; col < columns && col < kReportColumns; ++col) row[static_cast<std::size_t>(col)] = texts[col];
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

}  // namespace tesmir
