#include "report/xlsx_export.h"

#include "report/export_block.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/report_test_support.h"
#include "support/xlsx_reader.h"

#include <xlsxwriter.h>

#include <cerrno>

namespace tesmir {
namespace {

using testing::ReadXlsxSheet;
using testing::XlsxSheet;

ReportRow SampleRow(const std::string& name, int seed) {
  const std::string n = std::to_string(seed);
  return {name, n + ",25", "10,63", "1 234,57", "2,05", n, "30,65", "12,68", "33,17", "69" + n, "1000", "Тср < 0,4 с"};
}

// Rows 0 to 4 named, row 5 with values but no name, rows 6 and 7 named.
ReportTable GappedReport() {
  ReportTable table;
  for (int row = 0; row < 8; ++row) PutRow(table, row, SampleRow(row == 5 ? "" : "Т" + std::to_string(row), row));
  table.setCell(3, 2, "");  // an empty cell inside the block keeps its borders
  return table;
}

class ExportWorkbook : public ::testing::Test {
 protected:
  QString Write(const SheetBlock& block) {
    const QString path = dir_.filePath(QStringLiteral("отчет %1.xlsx").arg(++count_));
    const QString error = WriteExportWorkbook(path, block);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return path;
  }
  QTemporaryDir dir_;
  int count_ = 0;
};

TEST_F(ExportWorkbook, EveryCellOfTheBlockIsWrittenAsText) {
  const std::vector<std::pair<const char*, ReportTable>> reports = {{"empty report", ReportTable{}},
                                                                    {"row 5 unnamed", GappedReport()}};
  for (const auto& [what, table] : reports) {
    SCOPED_TRACE(what);
    const SheetBlock block = BuildExportBlock(table);
    const XlsxSheet sheet = ReadXlsxSheet(Write(block));
    ASSERT_TRUE(sheet.ok);
    ASSERT_EQ(sheet.sheetNames.size(), 1u);
    EXPECT_EQ(sheet.sheetNames[0].toStdString(), "Расчет ОКЗ");

    // Exactly the cells of the block, nothing beyond it.
    EXPECT_EQ(sheet.cells.size(), block.size() * 12);
    for (std::size_t r = 0; r < block.size(); ++r) {
      for (std::size_t c = 0; c < 12; ++c) {
        const auto it = sheet.cells.find({static_cast<int>(r), static_cast<int>(c)});
        ASSERT_NE(it, sheet.cells.end()) << "row " << r << " column " << c;
        EXPECT_EQ(it->second.text, block[r][c]) << "row " << r << " column " << c;
        // Text cells only: a value never becomes a number.
        if (!block[r][c].empty()) {
          EXPECT_TRUE(it->second.isText) << "row " << r << " column " << c;
        }
      }
    }
  }
}

// Every named row is exported, the rows after the unnamed one too (as save
// and print write them).
TEST_F(ExportWorkbook, GappedReportGivesEveryNamedRow) {
  const XlsxSheet sheet = ReadXlsxSheet(Write(BuildExportBlock(GappedReport())));
  ASSERT_TRUE(sheet.ok);
  EXPECT_EQ(sheet.cells.at({6, 0}).text, "Т4");
  EXPECT_EQ(sheet.cells.at({7, 0}).text, "Т6");
  EXPECT_EQ(sheet.cells.at({8, 0}).text, "Т7");
  EXPECT_EQ(sheet.cells.at({1, 11}).text, "c");
  EXPECT_EQ(sheet.cells.count({9, 0}), 0u);
  EXPECT_EQ(sheet.cells.at({4, 3}).text, "");
}

TEST_F(ExportWorkbook, ColumnWidths) {
  const XlsxSheet sheet = ReadXlsxSheet(Write(BuildExportBlock(GappedReport())));
  ASSERT_TRUE(sheet.ok);
  // Width per column 1..12; the file stores the character count plus the
  // cell padding, so eight characters are a little over 8.
  std::map<int, double> widths;
  for (const auto& column : sheet.columns)
    for (int i = column.min; i <= column.max; ++i) widths[i] = column.width;
  ASSERT_EQ(widths.size(), 12u);
  for (int i = 1; i <= 11; ++i) {
    EXPECT_GE(widths[i], 8.0) << "column " << i;
    EXPECT_LT(widths[i], 9.0) << "column " << i;
  }
  EXPECT_GE(widths[12], 11.0);
  EXPECT_LT(widths[12], 12.0);
}

TEST_F(ExportWorkbook, HeaderRowsBoldCentredDataRowsRightAllBordered) {
  const SheetBlock block = BuildExportBlock(GappedReport());
  const XlsxSheet sheet = ReadXlsxSheet(Write(block));
  ASSERT_TRUE(sheet.ok);
  const std::vector<QString> thin(4, QStringLiteral("thin"));
  for (const auto& [pos, cell] : sheet.cells) {
    SCOPED_TRACE(::testing::Message() << "row " << pos.first << " column " << pos.second);
    ASSERT_LT(static_cast<std::size_t>(cell.style), sheet.formats.size());
    const auto& format = sheet.formats[static_cast<std::size_t>(cell.style)];
    const bool header = pos.first < 2;
    EXPECT_EQ(format.bold, header);
    EXPECT_EQ(format.horizontal, header ? QStringLiteral("center") : QStringLiteral("right"));
    EXPECT_EQ(format.borders, thin);
  }
}

TEST_F(ExportWorkbook, NumbersAreWrittenWithAPointUnderACommaLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  const char* comma = nullptr;
  for (const char* name : {"ru_RU.UTF-8", "ru_RU.utf8", "ru_RU", "de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"}) {
    if (std::setlocale(LC_NUMERIC, name) && std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
      comma = name;
      break;
    }
  }
  if (comma == nullptr) {
    std::setlocale(LC_NUMERIC, saved.c_str());
    GTEST_SKIP() << "no locale with a decimal comma is installed (see locale -a)";
  }
  const XlsxSheet sheet = ReadXlsxSheet(Write(BuildExportBlock(GappedReport())));
  // The program's own number format is left as it was.
  EXPECT_STREQ(std::localeconv()->decimal_point, ",");
  std::setlocale(LC_NUMERIC, saved.c_str());
  ASSERT_TRUE(sheet.ok) << "under " << comma;
  ASSERT_FALSE(sheet.columns.empty());
  for (const auto& column : sheet.columns) {
    EXPECT_FALSE(column.widthText.contains(QLatin1Char(','))) << column.widthText.toStdString();
    EXPECT_GE(column.width, 8.0) << column.widthText.toStdString();
  }
}

TEST_F(ExportWorkbook, UnwritableFileGivesTheSystemsReason) {
  const QString path = dir_.filePath(QStringLiteral("нет такой папки/отчет.xlsx"));
  const QString error = WriteExportWorkbook(path, BuildExportBlock(GappedReport()));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_TRUE(error.contains(path)) << error.toStdString();
  EXPECT_FALSE(QFile::exists(path));
}

TEST_F(ExportWorkbook, TheReportIsWrittenRowByRowAsTheBlockWouldBe) {
  const ReportTable table = GappedReport();
  const QString path = dir_.filePath(QStringLiteral("streamed.xlsx"));
  ASSERT_EQ(WriteReportWorkbook(path, table), QStringLiteral(""));
  const XlsxSheet streamed = ReadXlsxSheet(path);
  const XlsxSheet fromBlock = ReadXlsxSheet(Write(BuildExportBlock(table)));
  ASSERT_TRUE(streamed.ok && fromBlock.ok);
  ASSERT_EQ(streamed.cells.size(), fromBlock.cells.size());
  for (const auto& [position, cell] : fromBlock.cells) {
    EXPECT_EQ(streamed.cells.at(position).text, cell.text);
    EXPECT_EQ(streamed.cells.at(position).style, cell.style);
  }
}

TEST_F(ExportWorkbook, ANulInsideACellIsWrittenAsAReplacementCharacter) {
  SheetBlock block = BuildExportBlock(GappedReport());
  block[2][0] = std::string("К\0-1", 5);
  const XlsxSheet sheet = ReadXlsxSheet(Write(block));
  ASSERT_TRUE(sheet.ok);
  EXPECT_EQ(sheet.cells.at({2, 0}).text, "К\uFFFD-1");
}

TEST_F(ExportWorkbook, LibraryErrorsAreShownInRussianWithTheLibrarysText) {
  const QString error = WriteExportWorkbook(dir_.filePath(QStringLiteral("missing/x.xlsx")), BuildExportBlock({}));
  EXPECT_TRUE(
      error.startsWith(QStringLiteral("Не удалось записать книгу электронной таблицы: не удалось создать "
                                      "файл книги.")))
      << error.toStdString();
  EXPECT_TRUE(error.contains(QString::fromUtf8(lxw_strerror(LXW_ERROR_CREATING_XLSX_FILE)))) << error.toStdString();
  EXPECT_TRUE(error.contains(QString::fromLocal8Bit(std::strerror(ENOENT)))) << error.toStdString();
  // Every code gets a Russian reason besides the library's English one.
  for (int code = LXW_ERROR_MEMORY_MALLOC_FAILED; code < LXW_MAX_ERRNO; ++code) {
    const QString text = WorkbookErrorText(code, 0);
    EXPECT_TRUE(text.contains(QString::fromUtf8(lxw_strerror(static_cast<lxw_error>(code))))) << code;
    EXPECT_TRUE(text.startsWith(QStringLiteral("Не удалось записать книгу электронной таблицы: "))) << code;
  }
}

// The limits of a sheet are checked on the report before anything is written.
TEST(ExportLimits, RowsAndCellLengthAreCheckedWithTheLimitNamed) {
  ReportTable table = GappedReport();  // seven named rows: nine sheet rows
  EXPECT_EQ(CheckExportLimits(table), QString());
  EXPECT_EQ(CheckExportLimits(table, {9, kCellMaxCharacters}), QString());
  const QString rows = CheckExportLimits(table, {8, kCellMaxCharacters});
  EXPECT_TRUE(rows.contains(QStringLiteral("Отчет из 7 строк"))) << rows.toStdString();
  EXPECT_TRUE(rows.contains(QStringLiteral("не более 6 строк отчета"))) << rows.toStdString();
  EXPECT_EQ(kSheetMaxRows, static_cast<std::size_t>(LXW_ROW_MAX));

  table.setCell(7, 3, std::string(kCellMaxCharacters, 'x'));
  EXPECT_EQ(CheckExportLimits(table), QString());
  std::string longCell;
  for (std::size_t i = 0; i <= kCellMaxCharacters; ++i) longCell += "ж";  // counted in characters, not bytes
  table.setCell(7, 3, longCell);
  const QString cell = CheckExportLimits(table);
  EXPECT_TRUE(cell.contains(QStringLiteral("в строке 4, столбце 8 содержит 32768 символов"))) << cell.toStdString();
  EXPECT_TRUE(cell.contains(QStringLiteral("не более 32767 символов"))) << cell.toStdString();
}

}  // namespace
}  // namespace tesmir
