#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "report/report_table.h"

namespace tesmir {
namespace {

namespace msg = report_messages;

ReportRow RowNamed(const std::string& name) {
  ReportRow row;
  for (std::size_t c = 0; c < row.size(); ++c) {
    row[c] = "v" + std::to_string(c);
  }
  row[0] = name;
  return row;
}

// A table whose rows hold `names` from row 0 on ("" leaves a row unnamed).
ReportTable TableWith(const std::vector<std::string>& names) {
  ReportTable table;
  table.setRowCount(static_cast<int>(names.size()));
  for (int r = 0; r < static_cast<int>(names.size()); ++r) {
    if (!names[static_cast<std::size_t>(r)].empty()) {
      const ReportRow row = RowNamed(names[static_cast<std::size_t>(r)]);
      for (int c = 0; c < kReportColumns; ++c) table.setCell(c, r, row[static_cast<std::size_t>(c)]);
    }
  }
  return table;
}

std::vector<std::string> Names(const ReportTable& table) {
  std::vector<std::string> names;
  for (int r = 0; r < table.rowCount(); ++r) names.push_back(table.cell(0, r));
  return names;
}

TEST(ReportTable, StartsWithFourteenEmptyRowsAndRowZeroSelected) {
  const ReportTable table;
  EXPECT_EQ(table.rowCount(), 14);
  EXPECT_EQ(table.columnCount(), 12);
  EXPECT_EQ(table.leadingCount(), 0);
  EXPECT_EQ(table.selectedRow(), 0);
  EXPECT_EQ(table.selectedCol(), 0);
  for (int r = 0; r < 14; ++r) EXPECT_EQ(table.row(r), ReportRow{});
}

struct NameCase {
  std::string name;
  std::string_view message;  // empty: accepted
};

// gtest would otherwise print the struct byte by byte, padding included.
void PrintTo(const NameCase& c, std::ostream* os) {
  *os << '"' << c.name << "\" -> " << (c.message.empty() ? std::string_view("accepted") : c.message);
}

TEST(NameCasePrinting, ShowsTheNameAndTheOutcome) {
  EXPECT_EQ(::testing::PrintToString(NameCase{"К-2", {}}), "\"К-2\" -> accepted");
  EXPECT_EQ(::testing::PrintToString(NameCase{"", msg::kEmptyName}).substr(0, 10), "\"\" -> Вы");
}

class AddPointName : public ::testing::TestWithParam<NameCase> {};

TEST_P(AddPointName, ChecksTheTypedName) {
  ReportTable table = TableWith({"К-1", "123456789"});
  const std::string result = table.addPoint(GetParam().name, RowNamed(GetParam().name));
  EXPECT_EQ(result, GetParam().message);
  if (GetParam().message.empty()) {
    EXPECT_EQ(table.cell(0, 2), GetParam().name);
    EXPECT_EQ(table.cell(11, 2), "v11");
  } else {
    EXPECT_EQ(table.row(2), ReportRow{}) << "a rejected name changes nothing";
  }
  EXPECT_EQ(table.rowCount(), 14);
}

INSTANTIATE_TEST_SUITE_P(
    Names, AddPointName,
    ::testing::Values(NameCase{"К-2", {}}, NameCase{"12345678", {}}, NameCase{"ЖЖЖЖЖЖЖЖ", {}}, NameCase{"№8 €", {}},
                      NameCase{"к-1", {}}, NameCase{"К-1 ", {}}, NameCase{"К-1", msg::kDuplicateName},
                      // A duplicate is reported before the length.
                      NameCase{"123456789", msg::kDuplicateName}, NameCase{"", msg::kEmptyName},
                      NameCase{" ", msg::kEmptyName}, NameCase{" К-3", msg::kEmptyName},
                      NameCase{"ЖЖЖЖЖЖЖЖЖ", msg::kNameTooLong}, NameCase{"1234567890", msg::kNameTooLong},
                      // Length first, then the characters a file can carry.
                      NameCase{"a;b;c;d;e", msg::kNameTooLong}, NameCase{"К;1", msg::kBadNameChars},
                      NameCase{"Zürich", msg::kBadNameChars}, NameCase{"点", msg::kBadNameChars},
                      NameCase{"a\rb", msg::kBadNameChars}, NameCase{"a\x1a", msg::kBadNameChars}));

TEST(ReportTable, StorableNames) {
  EXPECT_TRUE(IsStorableName("К-1"));
  EXPECT_TRUE(IsStorableName("№ «ёЁ»"));
  EXPECT_FALSE(IsStorableName("a;"));
  EXPECT_FALSE(IsStorableName("ŝ"));
  EXPECT_FALSE(IsStorableName("\xff\xfe"));  // not UTF-8 at all
  EXPECT_EQ(CharacterCount("ЖЖЖ"), 3u);
  EXPECT_EQ(CharacterCount("a€😀"), 3u);
}

TEST(ReportTable, AddingToFourteenNamedRowsGrowsTheTable) {
  ReportTable table;
  for (int i = 0; i < 14; ++i) {
    ASSERT_EQ(table.addPoint("P" + std::to_string(i), RowNamed("P" + std::to_string(i))), "");
  }
  EXPECT_EQ(table.rowCount(), 14);
  ASSERT_EQ(table.addPoint("P14", RowNamed("P14")), "");
  EXPECT_EQ(table.rowCount(), 15);
  EXPECT_EQ(table.cell(0, 14), "P14");
  EXPECT_EQ(table.leadingCount(), 15);
}

TEST(ReportTable, NewPointGoesBelowTheLastNamedRow) {
  ReportTable table = TableWith({"A", "", "", "B"});
  ASSERT_EQ(table.addPoint("C", RowNamed("C")), "");
  EXPECT_EQ(table.cell(0, 4), "C");
  EXPECT_EQ(table.cell(0, 1), "");
  EXPECT_EQ(table.leadingCount(), 1);
}

TEST(ReportTable, NameCellIsTheTypedName) {
  ReportTable table;
  ASSERT_EQ(table.addPoint("К-1", RowNamed("other")), "");
  EXPECT_EQ(table.cell(0, 0), "К-1");
}

TEST(ReportTable, MakeReportRowFormatsTheTwelveCells) {
  SchemeState s;
  s.Rt = 3703.701;  // a third is 1234.567
  s.Xt = 3;
  s.RLineSum = 0;
  s.XLineSum = 12.345;
  s.RArc = 15;
  s.Rsum = 692.4;
  s.Xsum = 805.7466666666667;
  s.Zsum = 1062.377;
  s.Iokz = 318.5;
  DeviceSettings d;
  d.TokSR = 1250;
  const NumberSeparators ru{",", " "};
  EXPECT_EQ(MakeReportRow("К-1", s, d, "Тср < 0,4 с", ru),
            (ReportRow{"К-1", "1 234,57", "1,00", "0,00", "12,35", "15", "692,40", "805,75", "1 062,38", "318", "1250",
                       "Тср < 0,4 с"}));
  s.Iokz = 319.5;
  s.RArc = 0;
  d.TokSR = 0;
  ReportRow row = MakeReportRow("К-2", s, d, "---", {".", ","});
  EXPECT_EQ(row[5], "0");
  EXPECT_EQ(row[9], "320");
  EXPECT_EQ(row[10], "---");
  EXPECT_EQ(row[11], "---");
  EXPECT_EQ(row[1], "1,234.57");
  d.TokSR = 62.5;
  EXPECT_EQ(MakeReportRow("x", s, d, "", ru)[10], "62,5");
  d.TokSR = -1;
  EXPECT_EQ(MakeReportRow("x", s, d, "", ru)[10], "---");
}

TEST(ReportTable, DeleteMovesLowerRowsUp) {
  ReportTable table = TableWith({"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N"});
  table.mouseReleasedAt(3, 1);
  EXPECT_EQ(table.deleteSelected(), "");
  EXPECT_EQ(table.rowCount(), 14);
  EXPECT_EQ(table.cell(0, 1), "C");
  EXPECT_EQ(table.cell(5, 1), "v5");
  EXPECT_EQ(table.cell(0, 12), "N");
  EXPECT_EQ(table.row(13), ReportRow{});
  EXPECT_EQ(table.selectedRow(), 1) << "deleting leaves the selection on the same index";
}

TEST(ReportTable, DeleteInFifteenRowsLeavesFourteen) {
  ReportTable table = TableWith({"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O"});
  table.mouseReleasedAt(0, 14);
  EXPECT_EQ(table.deleteSelected(), "");
  EXPECT_EQ(table.rowCount(), 14);
  EXPECT_EQ(table.cell(0, 13), "N");
}

TEST(ReportTable, DeleteRightAfterStartActsOnRowZero) {
  ReportTable table = TableWith({"A", "B"});
  EXPECT_EQ(table.deleteSelected(), "");
  EXPECT_EQ(Names(table)[0], "B");
  EXPECT_EQ(table.leadingCount(), 1);
}

TEST(ReportTable, DeleteAnEmptyRowOnlyMovesLowerRowsUp) {
  ReportTable table = TableWith({"A", "", "B"});
  table.mouseReleasedAt(0, 1);
  EXPECT_EQ(table.deleteSelected(), "");
  EXPECT_EQ(table.cell(0, 1), "B");
  EXPECT_EQ(table.leadingCount(), 2);
}

TEST(ReportTable, DeleteAfterReleaseOutsideTheCellsAsksForARow) {
  ReportTable table = TableWith({"A", "B"});
  table.mouseReleasedAt(-1, -1);
  EXPECT_EQ(table.selectedRow(), -1);
  EXPECT_EQ(table.selectedCol(), -1);
  table.cellMadeCurrent(1);  // arrow keys move the current row, the column stays unset
  EXPECT_EQ(table.deleteSelected(), msg::kSelectRow);
  EXPECT_EQ(table.leadingCount(), 2);
  table.mouseReleasedAt(2, 1);
  EXPECT_EQ(table.deleteSelected(), "");
  EXPECT_EQ(table.leadingCount(), 1);
}

TEST(ReportTable, DeleteAllLeavesFourteenEmptyRows) {
  ReportTable table = TableWith(std::vector<std::string>(20, ""));
  table.setCell(0, 19, "Z");
  table.deleteAll();
  EXPECT_EQ(table.rowCount(), 14);
  for (int r = 0; r < 14; ++r) EXPECT_EQ(table.row(r), ReportRow{});
}

struct MoveCase {
  std::vector<std::string> names;
  int selected;
  bool up;
  int expectedCurrent;  // -1: nothing moves
  std::vector<std::string> expectedNames;
};

void PrintTo(const MoveCase& c, std::ostream* os) {
  *os << "row " << c.selected << (c.up ? " up" : " down") << " of " << c.names.size();
}

class MoveRows : public ::testing::TestWithParam<MoveCase> {};

TEST_P(MoveRows, StayInsideTheLeadingBlock) {
  const MoveCase& c = GetParam();
  ReportTable table = TableWith(c.names);
  table.cellMadeCurrent(c.selected);
  const int current = c.up ? table.moveUp() : table.moveDown();
  EXPECT_EQ(current, c.expectedCurrent);
  EXPECT_EQ(table.selectedRow(), c.expectedCurrent < 0 ? c.selected : c.expectedCurrent);
  std::vector<std::string> names = Names(table);
  names.resize(c.expectedNames.size());
  EXPECT_EQ(names, c.expectedNames);
}

INSTANTIATE_TEST_SUITE_P(Edges, MoveRows,
                         ::testing::Values(MoveCase{{"A", "B", "C"}, 2, true, 1, {"A", "C", "B"}},
                                           MoveCase{{"A", "B", "C"}, 1, true, 0, {"B", "A", "C"}},
                                           MoveCase{{"A", "B", "C"}, 0, true, -1, {"A", "B", "C"}},
                                           MoveCase{{"A", "B", "C"}, 0, false, 1, {"B", "A", "C"}},
                                           MoveCase{{"A", "B", "C"}, 2, false, -1, {"A", "B", "C"}},
                                           MoveCase{{"A", "B", "C"}, 5, true, -1, {"A", "B", "C"}},
                                           MoveCase{{"A", "B", "C"}, 5, false, -1, {"A", "B", "C"}},
                                           MoveCase{{"A", "B", "C"}, -1, false, -1, {"A", "B", "C"}},
                                           // A row below a gap is outside the leading block.
                                           MoveCase{{"A", "B", "", "D"}, 1, false, -1, {"A", "B", "", "D"}},
                                           MoveCase{{"A", "B", "", "D"}, 3, true, -1, {"A", "B", "", "D"}}));

TEST(ReportTable, MovedRowsKeepAllCells) {
  ReportTable table = TableWith({"A", "B"});
  table.setCell(7, 1, "seven");
  table.cellMadeCurrent(1);
  ASSERT_EQ(table.moveUp(), 0);
  EXPECT_EQ(table.cell(7, 0), "seven");
  EXPECT_EQ(table.cell(0, 1), "A");
}

TEST(ReportTable, RowCountNeverBelowFourteen) {
  ReportTable table;
  table.setRowCount(3);
  EXPECT_EQ(table.rowCount(), 14);
  table.setRowCount(20);
  EXPECT_EQ(table.rowCount(), 20);
  table.assignRows({RowNamed("A")});
  EXPECT_EQ(table.rowCount(), 14);
  EXPECT_EQ(table.cell(0, 0), "A");
  table.setCell(0, 99, "out of range");
  EXPECT_EQ(table.cell(0, 99), "");
}

struct ModifiedCase {
  const char* name;
  std::function<void(ReportTable&)> act;
  bool modifies;
};

// Which operations count as a change the user would lose on exit.
TEST(ReportTable, TracksChangesSinceTheLastSave) {
  const ModifiedCase cases[] = {
      {"add", [](ReportTable& t) { EXPECT_EQ(t.addPoint("Т3", RowNamed("Т3")), ""); }, true},
      {"rejected add", [](ReportTable& t) { EXPECT_NE(t.addPoint("Т1", RowNamed("Т1")), ""); }, false},
      {"delete",
       [](ReportTable& t) {
         t.mouseReleasedAt(0, 1);
         EXPECT_EQ(t.deleteSelected(), "");
       },
       true},
      {"delete without a row",
       [](ReportTable& t) {
         t.mouseReleasedAt(-1, -1);
         t.deleteSelected();
       },
       false},
      {"delete all", [](ReportTable& t) { t.deleteAll(); }, true},
      {"move up",
       [](ReportTable& t) {
         t.cellMadeCurrent(1);
         EXPECT_EQ(t.moveUp(), 0);
       },
       true},
      {"move up at the top",
       [](ReportTable& t) {
         t.cellMadeCurrent(0);
         EXPECT_EQ(t.moveUp(), -1);
       },
       false},
      {"move down",
       [](ReportTable& t) {
         t.cellMadeCurrent(0);
         EXPECT_EQ(t.moveDown(), 1);
       },
       true},
      // Opening a file is not a change: the table is then what the file holds.
      {"read from a file", [](ReportTable& t) { t.assignRows({RowNamed("Ф1")}); }, false},
      {"select",
       [](ReportTable& t) {
         t.cellMadeCurrent(1);
         t.mouseReleasedAt(2, 1);
       },
       false},
  };
  for (const ModifiedCase& c : cases) {
    SCOPED_TRACE(c.name);
    ReportTable table = TableWith({"Т1", "Т2"});
    EXPECT_TRUE(table.modified());
    table.markSaved();
    EXPECT_FALSE(table.hasUnsavedWork());
    c.act(table);
    EXPECT_EQ(table.modified(), c.modifies);
  }

  // Without a named row there is nothing to lose.
  ReportTable table = TableWith({"Т1"});
  EXPECT_TRUE(table.hasUnsavedWork());
  table.deleteAll();
  EXPECT_TRUE(table.modified());
  EXPECT_FALSE(table.hasUnsavedWork());
  EXPECT_FALSE(ReportTable().hasUnsavedWork());
}

}  // namespace
}  // namespace tesmir
