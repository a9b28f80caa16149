// The cable journal brought in from spreadsheets: one small journal kept as a
// CSV in each encoding and separator and as two workbooks (shared strings with
// merged header cells; inline strings), with a two-row header, an empty row,
// a row without a designation, a board reached by two lines (two floors) and
// a mark that cannot be read. Each must give the same lines and the same
// report. Then the reader's refusals.
#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <QFile>
#include <QTemporaryDir>

#include "journal/journal_import.h"
#include "report/sheet_reader.h"

namespace tesmir {
namespace {

QString DataFile(const char* name) {
  return QStringLiteral(TESMIR_SOURCE_DIR "/tests/data/journal_import/") + QString::fromUtf8(name);
}

JournalDevice Breaker(const char* in, const char* multiple, const char* icu) {
  JournalDevice d;
  d.type = "breaker";
  d.in = in;
  d.multiple = multiple;
  d.icuKa = icu;
  return d;
}

JournalLine Line(const char* id, std::optional<std::string> parent, const char* from, const char* to, const char* mark,
                 const char* length, const char* ip, const char* cos, JournalDevice device) {
  JournalLine l;
  l.id = id;
  l.parent = std::move(parent);
  l.from = from;
  l.to = to;
  l.mark = mark;
  l.length = length;
  l.ip = ip;
  l.cosPhi = cos;
  l.device = std::move(device);
  return l;
}

// What the journal of the golden files is.
std::vector<JournalLine> ExpectedLines() {
  JournalDevice fuse;
  fuse.type = "fuse";
  fuse.fuseType = "ППН";
  fuse.in = "63";
  return {
      Line("W1", std::nullopt, "ТП-1", "ВРУ-1", "АПвБбШп 2х(4х185)", "60", "380", "0.92",
           Breaker("630", "5 (\"B\")", "35")),
      Line("W2", "W1", "ВРУ-1", "ЩР-1", "ВВГнг(А)-LS 5х35", "40", "90", "0.9", Breaker("125", "10 (\"C\")", "25")),
      Line("W3", "W1", "ВРУ-1", "ЩР-1", "ВВГнг(А)-LS 5х25", "55", "70", "0.88", Breaker("100", "10 (\"C\")", "25")),
      // ЩР-1 is reached by W2 (1st floor) and W3 (2nd floor): no parent.
      Line("W4", std::nullopt, "ЩР-1", "Розетки; каб. 101", "ВВГнг(А)-LS 3х2,5", "25", "10", "0.95",
           Breaker("16", "10 (\"C\")", "10")),
      Line("W5", "W1", "ВРУ-1", "ЩО-1", "NYM 3х1,5", "30", "6", "0.95", fuse),
      Line("W6", "W5", "ЩО-1", "Освещение", "ВВГнг(А)-LS 3х1,5", "45", "6", "0.95", Breaker("10", "5 (\"B\")", "6")),
  };
}

const std::vector<std::string>& ExpectedReport() {
  static const std::vector<std::string> report = {
      "Прочитано линий: 6; строк не прочитано: 1.",
      "Столбец M «Примечание» не прочитан: поле журнала для него не выбрано.",
      "Строка 3, линия W1: прочитана; ни одна линия не идет в «ТП-1»: линия питается от шин трансформатора.",
      "Строка 4, линия W2: прочитана.",
      "Строка 5: пустая, пропущена.",
      "Строка 6, линия W3: прочитана.",
      "Строка 7, линия W4: прочитана; в «ЩР-1» идут несколько линий (W2, W3): питающая линия не выбрана, задайте ее "
      "явно.",
      "Строка 8, линия W5: прочитана; марка «NYM» не распознана: задайте тип линии, материал и изоляцию явно.",
      "Строка 9: не прочитана: нет обозначения линии.",
      "Строка 10, линия W6: прочитана.",
  };
  return report;
}

// The same journal as a workbook. `inlineStrings`: written in
// libxlsxwriter's constant-memory mode, whose texts are inline strings and
// which has no merged cells; otherwise shared strings and merged headings.
void WriteGoldenWorkbook(const QString& path, bool inlineStrings) {
  const QByteArray name = QFile::encodeName(path);
  lxw_workbook_options options{};
  options.constant_memory = inlineStrings ? LXW_TRUE : LXW_FALSE;
  lxw_workbook* book = workbook_new_opt(name.constData(), &options);
  ASSERT_NE(book, nullptr);
  lxw_worksheet* sheet = workbook_add_worksheet(book, "Журнал");
  const auto text = [&](lxw_row_t r, lxw_col_t c, const char* t) {
    if (*t != '\0') worksheet_write_string(sheet, r, c, t, nullptr);
  };
  const auto cell = [&](lxw_row_t r, lxw_col_t c, const char* t) {
    char* end = nullptr;
    const double v = std::strtod(t, &end);
    if (*t != '\0' && *end == '\0') {
      worksheet_write_number(sheet, r, c, v, nullptr);
    } else {
      text(r, c, t);
    }
  };
  if (inlineStrings) {
    const char* top[] = {"Линия", "", "", "Кабель", "", "", "Нагрузка", "", "Аппарат защиты", "", "", "", "Примечание"};
    for (lxw_col_t c = 0; c < 13; ++c) text(0, c, top[c]);
  } else {
    worksheet_merge_range(sheet, 0, 0, 0, 2, "Линия", nullptr);
    worksheet_merge_range(sheet, 0, 3, 0, 5, "Кабель", nullptr);
    worksheet_merge_range(sheet, 0, 6, 0, 7, "Нагрузка", nullptr);
    worksheet_merge_range(sheet, 0, 8, 0, 11, "Аппарат защиты", nullptr);
    worksheet_merge_range(sheet, 0, 12, 1, 12, "Примечание", nullptr);
  }
  const char* sub[] = {"Обозначение", "Откуда", "Куда", "Марка",   "Число и сечение жил", "Длина, м",
                       "Iр, А",       "cos φ",  "Тип",  "Iном, А", "Кратность",           "Icu, кА"};
  for (lxw_col_t c = 0; c < 12; ++c) text(1, c, sub[c]);
  // Decimal numbers are numbers here, not texts with a comma.
  const std::vector<std::vector<const char*>> rows = {
      {"W1", "ТП-1", "ВРУ-1", "АПвБбШп", "2х(4х185)", "60", "380", "0.92", "Автомат", "630", "B", "35", ""},
      {"W2", "ВРУ-1", "ЩР-1", "ВВГнг(А)-LS", "5х35", "40", "90", "0.9", "Автомат", "125", "C", "25", "1 этаж"},
      {},
      {"W3", "ВРУ-1", "ЩР-1", "ВВГнг(А)-LS", "5х25", "55", "70", "0.88", "Автомат", "100", "C", "25", "2 этаж"},
      {"W4", "ЩР-1", "Розетки; каб. 101", "ВВГнг(А)-LS", "3х2,5", "25", "10", "0.95", "Автомат", "16", "C", "10", ""},
      {"W5", "ВРУ-1", "ЩО-1", "NYM", "3х1,5", "30", "6", "0.95", "ППН", "63", "", "", "щит \"ЩО-1\""},
      {"", "ЩО-1", "Освещение", "ВВГ", "3х1,5", "45", "6", "0.95", "Автомат", "10", "B", "6", "без обозначения"},
      {"W6", "ЩО-1", "Освещение", "ВВГнг(А)-LS", "3х1,5", "45", "6", "0.95", "Автомат", "10", "B", "6", ""},
  };
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      cell(static_cast<lxw_row_t>(r + 2), static_cast<lxw_col_t>(c), rows[r][c]);
    }
  }
  ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
}

struct GoldenCase {
  const char* name;
  const char* file;  // in tests/data/journal_import, or a workbook written by the test
  int workbook;      // 0: the file; 1: shared strings and merged cells; 2: inline strings
};

class GoldenImport : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenImport, GivesTheJournalsLinesAndReport) {
  const GoldenCase& c = GetParam();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QString path = DataFile(c.file);
  if (c.workbook != 0) {
    path = dir.filePath(QString::fromUtf8(c.file));
    WriteGoldenWorkbook(path, c.workbook == 2);
  }
  const Result<TextGrid> grid = ReadSheetFile(path);
  ASSERT_TRUE(grid.ok()) << grid.error();
  const ImportMapping mapping = ProposeImportMapping(*grid);
  EXPECT_EQ(mapping.headerRow, 0U);
  EXPECT_EQ(mapping.headerRows, 2U);
  using F = ImportField;
  const std::vector<ImportField> columns = {F::Id,     F::From,       F::To, F::Mark,     F::Cores, F::Length, F::Ip,
                                            F::CosPhi, F::DeviceType, F::In, F::Multiple, F::IcuKa, F::None};
  EXPECT_EQ(mapping.columns, columns);
  const JournalImport result = ImportJournalRows(*grid, mapping);
  const std::vector<JournalLine> expected = ExpectedLines();
  ASSERT_EQ(result.lines.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(result.lines[i], expected[i]) << "line " << expected[i].id;
  }
  EXPECT_EQ(JournalImportReport(*grid, mapping, result), ExpectedReport());
}

INSTANTIATE_TEST_SUITE_P(Files, GoldenImport,
                         ::testing::Values(GoldenCase{"Utf8Semicolon", "journal_utf8_semicolon.csv", 0},
                                           GoldenCase{"Utf8BomComma", "journal_utf8bom_comma.csv", 0},
                                           GoldenCase{"Cp1251Tab", "journal_cp1251_tab.csv", 0},
                                           GoldenCase{"XlsxSharedStringsMerged", "journal_shared.xlsx", 1},
                                           GoldenCase{"XlsxInlineStrings", "journal_inline.xlsx", 2}),
                         [](const ::testing::TestParamInfo<GoldenCase>& p) { return std::string(p.param.name); });

TEST(SheetReader, ImportJournalFileTakesTheProposedMapping) {
  const Result<JournalImportFile> file = ImportJournalFile(DataFile("journal_utf8_semicolon.csv"));
  ASSERT_TRUE(file.ok()) << file.error();
  EXPECT_EQ(file->lines.lines, ExpectedLines());
  EXPECT_EQ(file->report, ExpectedReport());
  EXPECT_FALSE(ImportJournalFile(DataFile("missing.csv")).ok());
}

TEST(SheetReader, CsvFieldsQuotesAndLineEnds) {
  struct Case {
    const char* bytes;
    TextGrid grid;
  };
  const Case cases[] = {
      // A quoted field keeps separators, doubled quotes and a line break.
      {"a;\"b;c\";\"say \"\"hi\"\"\"\r\n\"two\nlines\";x\n", {{"a", "b;c", "say \"hi\""}, {"two\nlines", "x"}}},
      // Decimal commas in a ";" file do not make "," the separator.
      {"Длина;cos\n1,5;0,9\n2;0,95\n", {{"Длина", "cos"}, {"1,5", "0,9"}, {"2", "0,95"}}},
      // Tab wins over a "," in the texts.
      {"a, b\tc\n1\t2\n", {{"a, b", "c"}, {"1", "2"}}},
      // Empty fields stay empty cells; a blank line stays an empty row.
      {"a;;c\n\n;b\r", {{"a", "", "c"}, {}, {"", "b"}}},
  };
  for (const Case& c : cases) {
    const Result<TextGrid> grid = ReadCsvSheet(QByteArrayView(c.bytes));
    ASSERT_TRUE(grid.ok()) << c.bytes;
    EXPECT_EQ(*grid, c.grid) << c.bytes;
  }
}

TEST(SheetReader, RefusesWithTheReason) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // A 100 MB file is refused by its size, before it is read.
  for (const char* name : {"big.xlsx", "big.csv"}) {
    QFile big(dir.filePath(QString::fromUtf8(name)));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(qint64{100} << 20));
    big.close();
    const Result<TextGrid> read = ReadSheetFile(big.fileName());
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error(), std::string("Файл «") + name + "» больше 50 МБ: такие таблицы журнала не читаются.");
  }
  QFile notZip(dir.filePath(QStringLiteral("text.xlsx")));
  ASSERT_TRUE(notZip.open(QIODevice::WriteOnly));
  notZip.write("Обозначение;Длина\n");
  notZip.close();
  Result<TextGrid> read = ReadSheetFile(notZip.fileName());
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(read.error(),
            "Книга «text.xlsx» не прочитана: файл не является книгой .xlsx (не zip-архив) или не открывается.");
  read = ReadSheetFile(dir.filePath(QStringLiteral("journal.ods")));
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(read.error(), "Файл «journal.ods» не прочитан: журнал читается из книг .xlsx и файлов .csv.");
  // More cells than a journal has: refused, not read into memory.
  QByteArray wide = QByteArray("x;").repeated(static_cast<qsizetype>(kSheetMaxCells) + 10);
  read = ReadCsvSheet(wide);
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(read.error(), "На листе больше 3000000 ячеек: такие таблицы журнала не читаются.");
}

}  // namespace
}  // namespace tesmir
