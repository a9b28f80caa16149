#include "report/report_export.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <functional>
#include <string>

namespace tesmir {
namespace {

ReportTable OneNamedRow() {
  ReportTable table;
  table.setCell(0, 0, "К-1");
  return table;
}

// The export answers without a window: what stopped it, as what kind of
// message, and that no workbook is left behind.
TEST(ReportExport, FailuresCarryTheirMessageAndKind) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QByteArray savedPath = qgetenv("PATH");
  qputenv("PATH", QFile::encodeName(dir.filePath(QStringLiteral("no-programs"))));
  SpreadsheetDesktop desktop;
  desktop.exportFolder = dir.filePath(QStringLiteral("exports"));
  const auto exports = [&desktop] { return QDir(desktop.exportFolder).entryList(QDir::Files).size(); };

  struct Case {
    const char* what;
    std::function<bool()> hasXlsxApplication;
    std::function<bool(const QUrl&)> openUrl;
    std::function<Result<QString, ExportFailure>(const ReportTable&, const SpreadsheetDesktop&)> run;
    ExportFailure::Kind kind;
    const char* message;
  };
  const Case cases[] = {
      {"no Calc", {}, {}, ExportForCalc, ExportFailure::Kind::ProgramMissing, kCalcMissingMessage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    desktop.hasXlsxApplication = c.hasXlsxApplication;
    desktop.openUrl = c.openUrl;
    const Result<QString, ExportFailure> exported = c.run(OneNamedRow(), desktop);
    ASSERT_FALSE(exported.ok());
    EXPECT_EQ(exported.error().kind, c.kind);
    EXPECT_EQ(exported.error().message, QString::fromUtf8(c.message));
    EXPECT_EQ(exports(), 0);
  }
  // No program for .xlsx: the message names the workbook, which stays.
  const std::function<bool()> noApplication = [] { return false; };
  const std::function<bool()> application = [] { return true; };
  for (const auto& hasApplication : {noApplication, application}) {
    desktop.hasXlsxApplication = hasApplication;
    desktop.openUrl = [](const QUrl&) { return false; };
    const Result<QString, ExportFailure> exported = ExportForExcel(OneNamedRow(), desktop);
    ASSERT_FALSE(exported.ok());
    EXPECT_EQ(exported.error().kind, ExportFailure::Kind::ProgramMissing);
    const QStringList left = QDir(desktop.exportFolder).entryList(QDir::Files);
    ASSERT_EQ(left.size(), 1);
    const QString workbook = QDir(desktop.exportFolder).filePath(left.first());
    EXPECT_EQ(
        exported.error().message,
        QStringLiteral("Не найдена программа для открытия файлов .xlsx. Книга записана в файл %1.").arg(workbook));
    QFile::remove(workbook);
  }

  // A folder that cannot hold exports is an error, with the folder's reason.
  desktop.exportFolder = QStringLiteral("/proc/self/no-such-folder");
  desktop.hasXlsxApplication = [] { return true; };
  desktop.openUrl = [](const QUrl&) { return true; };
  const Result<QString, ExportFailure> refused = ExportForExcel(OneNamedRow(), desktop);
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.error().kind, ExportFailure::Kind::Error);
  EXPECT_FALSE(refused.error().message.isEmpty());

  desktop.exportFolder = dir.filePath(QStringLiteral("exports"));
  const Result<QString, ExportFailure> opened = ExportForExcel(OneNamedRow(), desktop);
  ASSERT_TRUE(opened.ok());
  EXPECT_TRUE(QFile::exists(*opened));
  qputenv("PATH", savedPath);
}

}  // namespace
}  // namespace tesmir
