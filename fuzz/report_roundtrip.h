#pragma once
// The property the reader must keep for any input: reading never fails, and
// saving what was read then reading it back gives the same named rows (unless
// a cell holds ';', which no layout can carry unchanged).

#include <algorithm>
#include <vector>

#include "report/report_file.h"

namespace tesmir {

inline bool ReadSaveReadKeepsRows(QByteArrayView bytes, ReportLayout layout) {
  const ParsedReport first = ParseReport(bytes, layout);
  if (first.rows.size() < static_cast<std::size_t>(kReportMinRows)) {
    return false;
  }
  std::vector<ReportRow> named;
  for (const ReportRow& row : first.rows) {
    if (row[0].empty()) {
      continue;
    }
    for (const std::string& cell : row) {
      if (cell.find_first_of(";\r\n\x1a") != std::string::npos) {
        return cell.find_first_of("\r\n\x1a") == std::string::npos;
      }
    }
    named.push_back(row);
  }
  ReportTable table;
  table.assignRows(first.rows);
  const ParsedReport second = ParseReport(EncodeReport(table), ReportLayout::Semicolon);
  named.resize(std::max(named.size(), static_cast<std::size_t>(kReportMinRows)));
  return !second.damaged && second.rows == named;
}

}  // namespace tesmir
