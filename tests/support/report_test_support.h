#pragma once
// Tables and file bytes shared by the report tests.

#include <QByteArray>
#include <QStringEncoder>
#include <string>

#include "report/report_format.h"
#include "report/report_table.h"

namespace tesmir {

// Puts `cells` into row `row`, growing the table to hold it.
inline void PutRow(ReportTable& table, int row, const ReportRow& cells) {
  if (row >= table.rowCount()) table.setRowCount(row + 1);
  for (int col = 0; col < kReportColumns; ++col) table.setCell(col, row, cells[static_cast<std::size_t>(col)]);
}

// `count` named rows "P0", "P1", … with twelve filled cells each.
inline ReportTable NumberedTable(int count) {
  std::vector<ReportRow> rows;
  for (int r = 0; r < count; ++r) {
    rows.push_back({"P" + std::to_string(r), "1 234,57", "805,75", "0,00", "12,35", "40", "692,40", "805,75",
                    "1 062,38", std::to_string(200 + r), "1250", "Тср < 0,4 с"});
  }
  ReportTable table;
  table.assignRows(std::move(rows));
  return table;
}

// The named rows of `table` in the bar layout, as files from elsewhere hold them.
inline QByteArray BarLayoutBytes(const ReportTable& table, const char* lineEnd) {
  QString text;
  for (int r = 0; r < table.leadingCount(); ++r) {
    text += QLatin1Char('|');
    for (const std::string& cell : table.row(r)) {
      text += QString::fromStdString(cell) + QLatin1Char('|');
    }
    text += QString::fromLatin1(lineEnd);
  }
  QStringEncoder encoder("Windows-1251");
  return encoder.encode(text);
}

// The reader and writer work on standard strings; the tests hold file bytes
// as QByteArray.
inline QByteArray EncodedBytes(const ReportTable& table) { return QByteArray::fromStdString(EncodeReport(table)); }
inline ParsedReport ParseReport(const QByteArray& bytes, ReportLayout layout) {
  return ParseReport(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), layout);
}
inline ReportScan ScanReport(const QByteArray& bytes, ReportLayout layout) {
  return ScanReport(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), layout);
}

}  // namespace tesmir
