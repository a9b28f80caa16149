// The import's reading of a grid: the field a header's words name, the
// header found below a title, and what cells become in a line.
#include <gtest/gtest.h>

#include "journal/journal_import.h"

namespace tesmir {
namespace {

TEST(JournalImport, HeaderWordsNameTheirField) {
  using F = ImportField;
  const std::pair<const char*, ImportField> cases[] = {
      {"Обозначение", F::Id},
      {"№ линии", F::Id},
      {"Питающая линия", F::Parent},
      {"ОТКУДА", F::From},
      {"Начало", F::From},
      {"Куда", F::To},
      {"Конец", F::To},
      {"Марка кабеля", F::Mark},
      {"Число и сечение жил, мм²", F::Cores},
      {"Сечение фазной жилы", F::Ff},
      {"Сечение нулевой жилы", F::Fn},
      {"Тип линии", F::Kind},
      {"Длина, м", F::Length},
      {"L, м", F::Length},
      {"Iр, А", F::Ip},
      {"Ip", F::Ip},
      {"cos φ", F::CosPhi},
      {"Iном, А", F::In},
      {"Icu, кА", F::IcuKa},
      {"Аппарат", F::DeviceType},
      {"Тип предохранителя", F::FuseType},
      {"Кратность отсечки", F::Multiple},
      {"I²t, А²с", F::I2t},
      {"Параллельно", F::Par},
      {"Число фаз", F::Phases},
      {"Изоляция", F::Insulation},
      {"Примечание", F::None},
      {"", F::None},
  };
  for (const auto& [header, field] : cases) {
    EXPECT_EQ(ProposeImportField(header), field) << header;
  }
  // Every field's own title names it: the journal's workbook reads back.
  for (int f = 1; f < static_cast<int>(F::Count); ++f) {
    const auto field = static_cast<ImportField>(f);
    EXPECT_EQ(ProposeImportField(ImportFieldTitle(field)), field) << ImportFieldTitle(field);
  }
}

TEST(JournalImport, HeaderBelowATitleAndCellsIntoALine) {
  const TextGrid grid = {
      {"Кабельный журнал"},
      {"Линия", "Питающая", "Тип линии", "Материал", "Жилы", "Длина", "Фазы", "Аппарат", "Iном", "Кратность", "Длина"},
      {"Q1", "", "Кабель с ПВХ изоляцией", "Медь", "2х(3х2,5+1х1,5)", "12,5", "3", "ВА47-29", "25", "C", "9"},
      {"Q2", "Q1", "", "", "", "7", "2", "Предохранитель", "", "", ""},
      {"Q3", "Q9", "", "", "4х", "7", "", "", "", "", ""},
  };
  const ImportMapping mapping = ProposeImportMapping(grid);
  EXPECT_EQ(mapping.headerRow, 1U);
  EXPECT_EQ(mapping.headerRows, 1U);
  // The second "Длина" is not read: a field comes from one column only.
  EXPECT_EQ(mapping.columns.back(), ImportField::None);
  const JournalImport result = ImportJournalRows(grid, mapping);
  ASSERT_EQ(result.lines.size(), 3U);
  const JournalLine& q1 = result.lines[0];
  EXPECT_FALSE(q1.parent.has_value());  // the parent column is read as given, no board matching
  EXPECT_EQ(q1.kind, "Кабель с ПВХ изоляцией");
  EXPECT_EQ(q1.material, "Медь");
  // The cores without a mark give the sections, parallel count and phases.
  EXPECT_EQ(q1.ff, "2.5");
  EXPECT_EQ(q1.fn, "1.5");
  EXPECT_EQ(q1.par, "2");
  EXPECT_EQ(q1.phases, 3);
  EXPECT_EQ(q1.length, "12.5");
  ASSERT_TRUE(q1.device.has_value());
  EXPECT_EQ(q1.device->type, "breaker");
  EXPECT_EQ(q1.device->in, "25");
  EXPECT_EQ(q1.device->multiple, "10 (\"C\")");
  EXPECT_TRUE(result.rows[0].remarks.empty());
  const JournalLine& q2 = result.lines[1];
  EXPECT_EQ(q2.parent, std::optional<std::string>("Q1"));
  EXPECT_EQ(q2.phases, 0);
  ASSERT_TRUE(q2.device.has_value());
  EXPECT_EQ(q2.device->type, "fuse");
  EXPECT_EQ(result.rows[1].remarks, std::vector<std::string>{"число фаз «2» не понято: задайте 1 или 3"});
  EXPECT_EQ(result.lines[2].parent, std::optional<std::string>("Q9"));
  EXPECT_EQ(result.rows[2].remarks, std::vector<std::string>{"сочетание жил «4х» не распознано"});
  EXPECT_EQ(ImportRowPreview(result, 1),
            "линия Q2, питается от Q1, 7 м, предохранитель; число фаз «2» не понято: "
            "задайте 1 или 3");
}

TEST(JournalImport, NoHeaderNoFields) {
  const TextGrid grid = {{"W1", "10"}, {"W2", "20"}};
  const ImportMapping mapping = ProposeImportMapping(grid);
  EXPECT_EQ(mapping.headerRows, 0U);
  EXPECT_EQ(mapping.columns, (std::vector<ImportField>{ImportField::None, ImportField::None}));
  const JournalImport result = ImportJournalRows(grid, mapping);
  EXPECT_TRUE(result.lines.empty());
  EXPECT_EQ(result.rows.size(), 2U);
  EXPECT_EQ(ColumnLetters(0), "A");
  EXPECT_EQ(ColumnLetters(25), "Z");
  EXPECT_EQ(ColumnLetters(26), "AA");
  EXPECT_EQ(ColumnLetters(701), "ZZ");
  EXPECT_EQ(ColumnLetters(702), "AAA");
}

// A pasted block is a sheet only when its very first row is a header: words
// naming two fields or more, and no figure. A row of data whose words happen
// to name fields has its figures (lengths, sections), and is data.
TEST(JournalImport, ABlockStartsWithItsHeaderRowOnlyWhenItsFirstRowIsOne) {
  struct Case {
    const char* what;
    TextGrid grid;
    bool header;
  };
  const Case cases[] = {
      {"header", {{"Линия", "Откуда", "Куда", "Длина, м"}, {"W1", "ТП", "ЩР-1", "40"}}, true},
      {"two-row header", {{"Обозначение", "Длина"}, {"", "м"}, {"W1", "40"}}, true},
      {"header only", {{"Марка", "Длина"}}, true},
      {"data naming two fields",
       {{"A", "", "ТП", "Щ1", "Кабель с ПВХ изоляцией", "Автоматический выключатель", "240", "100"}},
       false},
      {"data naming two fields with a figure", {{"W1", "ПВХ изоляция", "Автомат", "2,5"}}, false},
      {"header below a title", {{"Кабельный журнал"}, {"Линия", "Длина"}, {"W1", "40"}}, false},
      {"one field", {{"Длина"}, {"40"}}, false},
      {"plain data", {{"W1", "", "ТП", "Щ1"}}, false},
      {"empty", {}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(BlockStartsWithHeader(c.grid), c.header) << c.what;
}

}  // namespace
}  // namespace tesmir
