// The journal's workbook: the results sheet holds numbers as numbers, marks
// failures in dark red and freezes its header and designation column; the
// inputs sheet, read back through the import, gives the same journal.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>

#include "journal/journal_calc.h"
#include "report/journal_file.h"
#include "report/journal_workbook.h"
#include "report/sheet_reader.h"
#include "support/xlsx_reader.h"

namespace tesmir {
namespace {

// The example office board with lines that use every other input field.
JournalNetwork Journal() {
  const LoadedJournal loaded = LoadJournalFile(QStringLiteral(TESMIR_SOURCE_DIR "/examples/office.tsn"));
  EXPECT_TRUE(loaded.document.has_value()) << loaded.reason.toStdString() << loaded.error.toStdString();
  JournalNetwork net = loaded.document ? loaded.document->network : JournalNetwork{};
  JournalLine fuse;
  fuse.id = "F1";
  fuse.parent = "W1";
  fuse.from = "ВРУ-1";
  fuse.to = "Насосная";
  fuse.kind = "Кабель с бумажной изоляцией";
  fuse.material = "Алюминий";
  fuse.ff = "95";
  fuse.fn = "50";
  fuse.par = "нет";
  fuse.length = "250";
  fuse.insulation = "paper";
  fuse.phases = 3;
  fuse.final = false;
  fuse.tNorm = "5";
  fuse.arc = "20";
  JournalDevice d;
  d.type = "fuse";
  d.fuseType = "ППН";
  d.in = "160";
  d.safety = "1.0";
  d.time = "Тср < 5 с";
  fuse.device = d;
  net.lines.push_back(fuse);
  // Far too long for its breaker: fails its verdicts.
  JournalLine far;
  far.id = "W99";
  far.parent = "W4";
  far.from = "ЩО-1";
  far.to = "Склад";
  far.mark = "ВВГнг(А)-LS 3х1,5";
  far.length = "400";
  far.phases = 1;
  JournalDevice b;
  b.type = "breaker";
  b.releaseCurrent = "300";
  b.safety = "1.1";
  b.icuKa = "4.5";
  b.i2t = "12000";
  b.tInst = "0.02";
  far.device = b;
  net.lines.push_back(far);
  return net;
}

TEST(JournalWorkbook, ReadBackThroughTheImportGivesTheSameJournal) {
  const JournalNetwork net = Journal();
  ASSERT_GE(net.lines.size(), 12U);
  const JournalResult result = ComputeJournal(net);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("journal.xlsx"));
  ASSERT_EQ(WriteJournalWorkbook(path, net, result), QString());

  const Result<TextGrid> grid = ReadXlsxSheet(path);
  ASSERT_TRUE(grid.ok()) << grid.error();
  const ImportMapping mapping = ProposeImportMapping(*grid);
  ASSERT_EQ(mapping.headerRows, 1U);
  for (std::size_t c = 0; c < mapping.columns.size(); ++c) {
    EXPECT_EQ(mapping.columns[c], static_cast<ImportField>(c + 1)) << "column " << c;
  }
  const JournalImport imported = ImportJournalRows(*grid, mapping);
  ASSERT_EQ(imported.lines.size(), net.lines.size());
  for (std::size_t i = 0; i < net.lines.size(); ++i) {
    EXPECT_EQ(imported.lines[i], net.lines[i]) << "line " << net.lines[i].id;
    EXPECT_TRUE(imported.rows[i].remarks.empty() ||
                imported.rows[i].remarks.front().find("не распознан") != std::string::npos)
        << net.lines[i].id;
  }
}

TEST(JournalWorkbook, ResultsAreNumbersFailuresDarkRedHeaderFrozen) {
  const JournalNetwork net = Journal();
  const JournalResult result = ComputeJournal(net);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("journal.xlsx"));
  ASSERT_EQ(WriteJournalWorkbook(path, net, result), QString());
  const QString workbook = QString::fromUtf8(testing::ReadXlsxPart(path, QStringLiteral("xl/workbook.xml")));
  EXPECT_LT(workbook.indexOf(QStringLiteral("name=\"Результаты\"")),
            workbook.indexOf(QStringLiteral("name=\"Исходные данные\"")));
  const QString sheet = QString::fromUtf8(testing::ReadXlsxPart(path, QStringLiteral("xl/worksheets/sheet1.xml")));
  EXPECT_TRUE(sheet.contains(QStringLiteral(
      "<pane xSplit=\"1\" ySplit=\"1\" topLeftCell=\"B2\" activePane=\"bottomRight\" state=\"frozen\"/>")))
      << sheet.left(2000).toStdString();
  const QString styles = QString::fromUtf8(testing::ReadXlsxPart(path, QStringLiteral("xl/styles.xml")));
  EXPECT_TRUE(styles.contains(QStringLiteral("rgb=\"FF8B0000\"")));
  // Iк1 of every computed line (column D) is a number cell holding the figure;
  // the verdict (column H) of the failing line has a style of its own.
  QString passStyle;
  QString failStyle;
  for (std::size_t i = 0; i < net.lines.size(); ++i) {
    const LineResult& r = result.lines[i];
    ASSERT_TRUE(r.error().empty()) << net.lines[i].id << ": " << r.error();
    const QString row = QString::number(i + 2);
    const QRegularExpression ik1(QStringLiteral("<c r=\"D%1\"( s=\"\\d+\")?><v>([^<]+)</v></c>").arg(row));
    const QRegularExpressionMatch m = ik1.match(sheet);
    ASSERT_TRUE(m.hasMatch()) << "D" << row.toStdString();
    EXPECT_NEAR(m.captured(2).toDouble(), *r.get(Fig::Ik1), 1e-9 * *r.get(Fig::Ik1));
    const QRegularExpression verdict(QStringLiteral("<c r=\"H%1\" s=\"(\\d+)\" t=\"s\">").arg(row));
    const QRegularExpressionMatch v = verdict.match(sheet);
    ASSERT_TRUE(v.hasMatch()) << "H" << row.toStdString();
    (r.verdict == "Срабатывание за нормативное время" ? passStyle : failStyle) = v.captured(1);
  }
  EXPECT_FALSE(passStyle.isEmpty());
  EXPECT_FALSE(failStyle.isEmpty());
  EXPECT_NE(passStyle, failStyle);
}

TEST(JournalWorkbook, ExportFileIsReadOnlyInThePrivateFolder) {
  const JournalNetwork net = Journal();
  const JournalResult result = ComputeJournal(net);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const NewExportFile file = WriteJournalExportFile(dir.filePath(QStringLiteral("export")), net, result);
  ASSERT_TRUE(file.error.isEmpty()) << file.error.toStdString();
  EXPECT_EQ(QFileInfo(file.path).permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther),
            QFile::Permissions());
  const Result<TextGrid> grid = ReadSheetFile(file.path);
  ASSERT_TRUE(grid.ok()) << grid.error();
  EXPECT_EQ(grid->size(), net.lines.size() + 1);
}

}  // namespace
}  // namespace tesmir
