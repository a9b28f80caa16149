#pragma once
// The property the reader must keep for any input: reading never fails, and
// saving what was read then reading it back gives the same named rows (unless
// a cell holds ';', which no layout can carry unchanged, or a character that
// Windows-1251 lacks, which only a UTF-8 file can hold and which makes the
// file read as damaged).

#include <algorithm>
#include <string_view>
#include <vector>

#include "core/cp1251.h"
#include "report/report_format.h"

namespace tesmir {

inline bool ReadSaveReadKeepsRows(std::string_view bytes, ReportLayout layout) {
  ParsedReport first = ParseReport(bytes, layout);
  if (first.rows.size() < static_cast<std::size_t>(kReportMinRows)) {
    return false;
  }
  std::size_t named = 0;
  for (const ReportRow& row : first.rows) {
    if (row[0].empty()) {
      continue;
    }
    for (const std::string& cell : row) {
      if (!IsCp1251Text(cell)) {
        return first.damaged;
      }
      if (cell.find_first_of(";\r\n\x1a") != std::string::npos) {
        return cell.find_first_of("\r\n\x1a") == std::string::npos;
      }
    }
    ++named;
  }
  ReportTable table;
  table.assignRows(std::move(first.rows));
  const ParsedReport second = ParseReport(EncodeReport(table), ReportLayout::Semicolon);
  if (second.damaged || second.rows.size() != std::max(named, static_cast<std::size_t>(kReportMinRows))) {
    return false;
  }
  // The named rows in their order, then empty rows up to the minimum.
  std::size_t next = 0;
  for (int r = 0; r < table.rowCount(); ++r) {
    if (!table.row(r)[0].empty() && second.rows[next++] != table.row(r)) {
      return false;
    }
  }
  for (; next < second.rows.size(); ++next) {
    if (second.rows[next] != ReportRow{}) {
      return false;
    }
  }
  return true;
}

}  // namespace tesmir
