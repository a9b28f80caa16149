#pragma once
// The bytes of report files, standard C++ only. The semicolon layout
// (Windows-1251, CR LF, two header lines, a ';' after each of the twelve
// cells) is written and read; the bar layout ('|' before and after every cell,
// no header) is only read.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "report/report_table.h"

namespace tesmir {

enum class ReportLayout { Semicolon, Bar };

// The bytes of a saved report. Every named row is written whole, an empty cell
// as an empty field; rows without a name are left out. A report without named
// rows gives no bytes at all (not even the header lines).
std::string EncodeReport(const ReportTable& table);

struct ParsedReport {
  std::vector<ReportRow> rows;  // one per data line, at least kReportMinRows
  bool damaged = false;         // some line has a separator count that does not fit the layout
};

// Reads the bytes of a report file in `layout`. Never fails: a damaged file is
// flagged and its lines are cut into cells as they fall.
ParsedReport ParseReport(std::string_view bytes, ReportLayout layout);

// What a file holds before any row is built: the number of data lines (rows)
// and whether some line's separator count does not fit the layout.
struct ReportScan {
  std::size_t dataLines = 0;
  bool damaged = false;
};
ReportScan ScanReport(std::string_view bytes, ReportLayout layout);

}  // namespace tesmir
