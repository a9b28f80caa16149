// Temporary stand-in for the parts of ReportTable the export tests use, until
// the table's own implementation is merged. Remove with that merge.
#include "report/report_table.h"

namespace tesmir {

ReportTable::ReportTable() : rows_(kReportMinRows) {}

const std::string& ReportTable::cell(int col, int row) const { return rows_.at(row).at(col); }

const ReportRow& ReportTable::row(int row) const { return rows_.at(row); }

int ReportTable::leadingCount() const {
  int n = 0;
  while (n < rowCount() && !rows_[n][0].empty()) ++n;
  return n;
}

void ReportTable::clearAll() {
  for (auto& r : rows_) r = ReportRow{};
}

void ReportTable::setRowCount(int count) { rows_.resize(count < kReportMinRows ? kReportMinRows : count); }

void ReportTable::setCell(int col, int row, std::string text) { rows_.at(row).at(col) = std::move(text); }

}  // namespace tesmir
