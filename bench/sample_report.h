#pragma once
// A report of many named points with texts as long as real ones, for the
// export benchmarks.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "report/report_table.h"

namespace tesmir::bench {

inline ReportTable SampleReport(int rows) {
  std::vector<ReportRow> filled;
  filled.reserve(static_cast<std::size_t>(rows));
  for (int row = 0; row < rows; ++row) {
    const std::string n = std::to_string(row);
    filled.push_back({"К-" + n, "3,25", "10,63", "1 234,57", "2,05", "15", "1 270,47", "12,68", "1 270,53", "18" + n,
                      "---", "Тср < 0,4 с"});
  }
  ReportTable table;
  table.assignRows(std::move(filled));
  return table;
}

}  // namespace tesmir::bench
