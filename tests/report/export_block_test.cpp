#include "report/export_block.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/report_test_support.h"

namespace tesmir {
namespace {

const std::vector<std::string> kTitles = {"№ точки", "Rт/3", "Xт/3",   "Rл",   "Xл",  "Rпр",
                                          "Rф-н",    "Xф-н", "|Zф-н|", "Iокз", "Iср", "Tср"};
const std::vector<std::string> kUnits = {"", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "мОм", "А", "А", "c"};

ReportRow SampleRow(const std::string& name, int seed) {
  const std::string n = std::to_string(seed);
  return {name, n + ",25", "10,63", "1 234,57", "2,05", n, "30,65", "12,68", "33,17", "69" + n, "---", "Тср < 0,4 с"};
}

std::vector<std::string> AsVector(const ReportRow& row) { return {row.begin(), row.end()}; }

TEST(ExportBlock, HeaderRowsOfAnEmptyReport) {
  const ReportTable table;
  const SheetBlock block = BuildExportBlock(table);
  ASSERT_EQ(block.size(), 2u);
  EXPECT_EQ(block[0], kTitles);
  EXPECT_EQ(block[1], kUnits);
}

TEST(ExportBlock, SecondsUnitIsTheLatinLetter) {
  const SheetBlock block = BuildExportBlock(ReportTable{});
  ASSERT_EQ(block[1].size(), 12u);
  EXPECT_EQ(block[1][11], "\x63");
  EXPECT_NE(block[1][11], "\xD1\x81");  // Cyrillic с
  EXPECT_EQ(block[0][8], "|Zф-н|");     // no spaces, unlike the report window
}

// Every named row is exported in its order, also those after an unnamed or
// empty row, as save and print write them (a bar-layout file with an empty
// line between rows used to lose the rows after the gap).
TEST(ExportBlock, EveryNamedRowIsExported) {
  struct Case {
    const char* what;
    std::vector<int> namedRows;    // rows given a name and values
    std::vector<int> unnamedRows;  // rows with values but an empty name
    int rowCount;
  };
  const std::vector<Case> cases = {
      {"rows 0-4 named, row 5 unnamed, later rows hold data", {0, 1, 2, 3, 4, 6, 7}, {5}, 14},
      {"row 0 unnamed", {1, 2}, {0}, 14},
      {"all fourteen rows named", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, {}, 14},
      {"a longer table named throughout", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}, {}, 17},
      {"an empty row in the middle", {0, 1, 3}, {}, 14},
      {"nothing named", {}, {2}, 14},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ReportTable table;
    table.setRowCount(c.rowCount);
    for (int row : c.namedRows) PutRow(table, row, SampleRow("К-" + std::to_string(row + 1), row));
    for (int row : c.unnamedRows) PutRow(table, row, SampleRow("", row));

    EXPECT_EQ(ExportedRows(table), c.namedRows);
    const SheetBlock block = BuildExportBlock(table);
    ASSERT_EQ(block.size(), c.namedRows.size() + 2);
    EXPECT_EQ(block[0], kTitles);
    EXPECT_EQ(block[1], kUnits);
    for (std::size_t i = 0; i < c.namedRows.size(); ++i) {
      const int row = c.namedRows[i];
      EXPECT_EQ(block[i + 2], AsVector(SampleRow("К-" + std::to_string(row + 1), row))) << "row " << row;
    }
  }
}

TEST(ExportBlock, CellsAreCopiedAsTheReportShowsThem) {
  ReportTable table;
  // Empty cells inside a named row, texts with separators and a name that
  // looks like a number: nothing is trimmed or converted.
  const ReportRow row = {"007", "", " 1,00", "1 234,57", "1,5E+12", "0", "", "-0,01", "33,17", "6964", "---", "---"};
  PutRow(table, 0, row);
  const SheetBlock block = BuildExportBlock(table);
  ASSERT_EQ(block.size(), 3u);
  EXPECT_EQ(block[2], AsVector(row));
}

}  // namespace
}  // namespace tesmir
