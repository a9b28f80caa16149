#include "widgets/spreadsheet_export.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "report/spreadsheet_launch.h"
#include "support/recording_message_sink.h"
#include "support/ui_test_app.h"
#include "support/xlsx_reader.h"

namespace tesmir {
namespace {

using Kind = tesmir_test::RecordingMessageSink::Kind;

void WriteScript(const QString& path, const QByteArray& body) {
  QFile::remove(path);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(body);
  file.close();
  ASSERT_TRUE(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
}

// A stand-in program that records its arguments, one a line, into NAME.args
// next to itself (written aside and renamed, so a reader never sees half of
// it). PATH holds nothing but the stand-ins, hence the full path of mv.
const QByteArray kRecordingScript = "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.tmp\" && /bin/mv \"$0.tmp\" \"$0.args\"\n";

QStringList WaitForArguments(const QString& script) {
  const QString args = script + QStringLiteral(".args");
  if (!QTest::qWaitFor([&] { return QFile::exists(args); }, 10000)) return {QStringLiteral("<not started>")};
  QFile file(args);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

ReportTable NamedReport(int rows) {
  ReportTable table;
  for (int row = 0; row < rows; ++row) {
    const ReportRow cells = {"К-" + std::to_string(row + 1),
                             "3,25",
                             "10,63",
                             "12,40",
                             "2,05",
                             "15",
                             "30,65",
                             "12,68",
                             "33,17",
                             "6964",
                             "---",
                             "Тср < 0,4 с"};
    for (int col = 0; col < kReportColumns; ++col) table.setCell(col, row, cells[static_cast<std::size_t>(col)]);
  }
  return table;
}

class SpreadsheetExport : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    tesmir_test::EnsureApplication();
    // One folder of stand-ins for the whole run: the desktop services remember
    // where they first found xdg-open.
    static QTemporaryDir tools;
    tools_ = tools.path();
    testing::UnzipProgram();
  }

  void SetUp() override {
    savedPath_ = qgetenv("PATH");
    ClearTools();
    qputenv("PATH", QFile::encodeName(tools_));
    desktop_.exportFolder = exports_.filePath(QStringLiteral("exports"));
    sink_.answer = false;
  }
  void TearDown() override { qputenv("PATH", savedPath_); }

  static void ClearTools() {
    for (const QString& name : QDir(tools_).entryList(QDir::Files)) QFile::remove(QDir(tools_).filePath(name));
  }
  static QString Tool(const char* name) { return QDir(tools_).filePath(QString::fromLatin1(name)); }
  QStringList Exports() const { return QDir(desktop_.exportFolder).entryList(QDir::Files); }

  static inline QString tools_;
  QByteArray savedPath_;
  QTemporaryDir exports_;
  SpreadsheetDesktop desktop_;
  tesmir_test::RecordingMessageSink sink_;
};

TEST_F(SpreadsheetExport, CalcOpensANewWorkbookAsAnUntitledDocument) {
  WriteScript(Tool("soffice"), kRecordingScript);
  const ReportTable table = NamedReport(3);
  const QString path = ExportToCalc(table, sink_, nullptr, desktop_);
  EXPECT_TRUE(sink_.shown.empty());
  ASSERT_FALSE(path.isEmpty());
  EXPECT_EQ(WaitForArguments(Tool("soffice")), (QStringList{QStringLiteral("--calc"), QStringLiteral("-n"), path}));

  const auto sheet = testing::ReadXlsxSheet(path);
  ASSERT_TRUE(sheet.ok);
  EXPECT_EQ(sheet.sheetNames, std::vector<QString>{QStringLiteral("Расчет ОКЗ")});
  EXPECT_EQ(sheet.cells.size(), 5u * 12u);
  EXPECT_EQ(sheet.cells.at({4, 0}).text, "К-3");
  // Read-only: the spreadsheet program asks where to save a changed copy.
  EXPECT_EQ(QFileInfo(path).permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther), 0);

  // A second export never reuses the first file.
  const QString second = ExportToCalc(table, sink_, nullptr, desktop_);
  EXPECT_NE(second, path);
  EXPECT_TRUE(QFile::exists(path));
  EXPECT_EQ(Exports().size(), 2);
}

TEST_F(SpreadsheetExport, CalcFoundUnderItsOtherNames) {
  for (const char* name : {"libreoffice", "localc"}) {
    SCOPED_TRACE(name);
    ClearTools();
    WriteScript(Tool(name), kRecordingScript);
    const QString path = ExportToCalc(NamedReport(1), sink_, nullptr, desktop_);
    ASSERT_FALSE(path.isEmpty());
    EXPECT_EQ(WaitForArguments(Tool(name)), (QStringList{QStringLiteral("--calc"), QStringLiteral("-n"), path}));
  }
  EXPECT_TRUE(sink_.shown.empty());
}

TEST_F(SpreadsheetExport, MissingProgramsAreReportedAndNothingIsWritten) {
  EXPECT_TRUE(ExportToCalc(NamedReport(2), sink_, nullptr, desktop_).isEmpty());
  desktop_.hasXlsxApplication = [] { return false; };
  bool opened = false;
  desktop_.openUrl = [&](const QUrl&) { return opened = true; };
  EXPECT_TRUE(Exports().isEmpty());
  EXPECT_TRUE(ExportToExcel(NamedReport(2), sink_, nullptr, desktop_).isEmpty());

  // Without a program for .xlsx the workbook is kept and named.
  ASSERT_EQ(sink_.shown.size(), 2u);
  EXPECT_EQ(sink_.shown[0].kind, Kind::Inform);
  EXPECT_EQ(sink_.shown[0].text, QStringLiteral("Требуется установить OpenOffice.org на компьютер"));
  EXPECT_EQ(sink_.shown[1].kind, Kind::Inform);
  ASSERT_EQ(Exports().size(), 1);
  EXPECT_EQ(sink_.shown[1].text,
            QStringLiteral("Не найдена программа для открытия файлов .xlsx. Книга записана в файл %1.")
                .arg(QDir(desktop_.exportFolder).filePath(Exports().first())));
  EXPECT_FALSE(opened);
}

TEST_F(SpreadsheetExport, ExcelOpensTheWorkbookWithTheDesktopApplication) {
  QUrl opened;
  desktop_.hasXlsxApplication = [] { return true; };
  desktop_.openUrl = [&](const QUrl& url) {
    opened = url;
    return true;
  };
  const QString path = ExportToExcel(NamedReport(2), sink_, nullptr, desktop_);
  EXPECT_TRUE(sink_.shown.empty());
  ASSERT_FALSE(path.isEmpty());
  EXPECT_EQ(opened, QUrl::fromLocalFile(path));
  const auto sheet = testing::ReadXlsxSheet(path);
  ASSERT_TRUE(sheet.ok);
  EXPECT_EQ(sheet.cells.size(), 4u * 12u);
}

TEST_F(SpreadsheetExport, DesktopWithoutAnyLauncher) {
  desktop_.hasXlsxApplication = [] { return true; };
  desktop_.openUrl = [](const QUrl&) { return false; };
  EXPECT_TRUE(ExportToExcel(NamedReport(2), sink_, nullptr, desktop_).isEmpty());
  ASSERT_EQ(sink_.shown.size(), 1u);
  EXPECT_TRUE(sink_.shown[0].text.startsWith(QStringLiteral("Не найдена программа для открытия файлов .xlsx.")));
  EXPECT_EQ(Exports().size(), 1);  // the workbook the message names stays
}

TEST_F(SpreadsheetExport, XdgMimeIsAskedInTheBackgroundWhetherAnApplicationExists) {
  {
    // Without xdg-mime there is nothing to ask: the opening itself decides.
    XlsxApplicationQuery query;
    EXPECT_TRUE(query.finished());
    EXPECT_TRUE(query.hasApplication());
  }
  struct Case {
    QByteArray script;
    bool hasApplication;
  };
  const Case cases[] = {{kRecordingScript, false},  // answers with nothing
                        {"#!/bin/sh\necho libreoffice-calc.desktop\n", true},
                        {"#!/bin/sh\nexit 2\n", true}};  // cannot tell
  for (const Case& c : cases) {
    WriteScript(Tool("xdg-mime"), c.script);
    XlsxApplicationQuery query;
    ASSERT_TRUE(QTest::qWaitFor([&] { return query.finished(); }, 10000)) << c.script.toStdString();
    EXPECT_EQ(query.hasApplication(), c.hasApplication) << c.script.toStdString();
    EXPECT_EQ(query.hasApplication(), c.hasApplication) << "the answer is kept";
  }
  EXPECT_EQ(WaitForArguments(Tool("xdg-mime")),
            (QStringList{QStringLiteral("query"), QStringLiteral("default"), QString::fromLatin1(kXlsxMimeType)}));
}

TEST_F(SpreadsheetExport, ExcelNeverWaitsForXdgMime) {
  // An xdg-mime that answers only when the test lets it (or after 10 s, so
  // that it never outlives a test that stopped early).
  WriteScript(
      Tool("xdg-mime"),
      "#!/bin/sh\ni=0\nwhile [ ! -e \"$0.release\" ] && [ $i -lt 200 ]; do /bin/sleep 0.05; i=$((i + 1)); done\n"
      "echo calc.desktop; : > \"$0.done\"\n");
  SpreadsheetDesktop desktop = SystemSpreadsheetDesktop();
  desktop.exportFolder = desktop_.exportFolder;
  bool opened = false;
  desktop.openUrl = [&](const QUrl&) { return opened = true; };
  EXPECT_FALSE(ExportToExcel(NamedReport(2), sink_, nullptr, desktop).isEmpty());
  EXPECT_TRUE(opened);
  EXPECT_TRUE(sink_.shown.empty());
  // The query was neither waited for nor cut short.
  WriteScript(Tool("xdg-mime.release"), "");
  EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(Tool("xdg-mime.done")); }, 10000));
}

TEST_F(SpreadsheetExport, SystemDesktopOpensTheWorkbookThroughXdgOpen) {
  // The offscreen platform opens no documents at all; this needs a display
  // (QT_QPA_PLATFORM=xcb with Xvfb) to cover the desktop services.
  // test.sh runs it once more under Xvfb, where a skip counts as a failure.
  if (QGuiApplication::platformName() == QStringLiteral("offscreen"))
    GTEST_SKIP() << "the offscreen platform does not open documents";
  WriteScript(Tool("xdg-mime"), "#!/bin/sh\necho libreoffice-calc.desktop\n");
  WriteScript(Tool("xdg-open"), kRecordingScript);
  SpreadsheetDesktop desktop = SystemSpreadsheetDesktop();
  desktop.exportFolder = desktop_.exportFolder;
  const QString path = ExportToExcel(NamedReport(1), sink_, nullptr, desktop);
  ASSERT_FALSE(path.isEmpty());
  const QStringList args = WaitForArguments(Tool("xdg-open"));
  ASSERT_EQ(args.size(), 1) << args.join(QLatin1Char(' ')).toStdString();
  EXPECT_EQ(QUrl(args[0]).toLocalFile(), path) << args[0].toStdString();
  EXPECT_TRUE(sink_.shown.empty());
}

TEST_F(SpreadsheetExport, WriteFailureShowsTheSystemsTextAndLaunchesNothing) {
  WriteScript(Tool("soffice"), kRecordingScript);
  const QString blocker = exports_.filePath(QStringLiteral("not a folder"));
  WriteScript(blocker, "x");
  desktop_.exportFolder = blocker + QStringLiteral("/exports");
  bool opened = false;
  desktop_.hasXlsxApplication = [] { return true; };
  desktop_.openUrl = [&](const QUrl&) { return opened = true; };

  EXPECT_TRUE(ExportToCalc(NamedReport(2), sink_, nullptr, desktop_).isEmpty());
  EXPECT_TRUE(ExportToExcel(NamedReport(2), sink_, nullptr, desktop_).isEmpty());
  ASSERT_EQ(sink_.shown.size(), 2u);
  for (const auto& message : sink_.shown) {
    EXPECT_EQ(message.kind, Kind::Error);
    EXPECT_TRUE(message.text.contains(QDir::toNativeSeparators(desktop_.exportFolder))) << message.text.toStdString();
  }
  EXPECT_FALSE(opened);
  QTest::qWait(100);
  EXPECT_FALSE(QFile::exists(Tool("soffice") + QStringLiteral(".args")));
}

TEST_F(SpreadsheetExport, CalcThatCannotStartShowsTheSystemsText) {
  WriteScript(Tool("soffice"), "#!/nonexistent/interpreter\n");
  EXPECT_TRUE(ExportToCalc(NamedReport(1), sink_, nullptr, desktop_).isEmpty());
  ASSERT_EQ(sink_.shown.size(), 1u);
  EXPECT_EQ(sink_.shown[0].kind, Kind::Error);
  EXPECT_TRUE(sink_.shown[0].text.contains(Tool("soffice"))) << sink_.shown[0].text.toStdString();
  EXPECT_TRUE(Exports().isEmpty()) << "no workbook left that nobody sees";
}

TEST_F(SpreadsheetExport, AReportBeyondASheetIsRefusedBeforeAnythingIsWritten) {
  WriteScript(Tool("soffice"), kRecordingScript);
  ReportTable table = NamedReport(3);
  table.setCell(5, 1, std::string(32768, '7'));
  EXPECT_TRUE(ExportToCalc(table, sink_, nullptr, desktop_).isEmpty());
  ASSERT_EQ(sink_.shown.size(), 1u);
  EXPECT_EQ(sink_.shown[0].kind, Kind::Error);
  EXPECT_TRUE(sink_.shown[0].text.contains(QStringLiteral("не более 32767 символов")))
      << sink_.shown[0].text.toStdString();
  EXPECT_FALSE(QFileInfo::exists(desktop_.exportFolder));
  QTest::qWait(100);
  EXPECT_FALSE(QFile::exists(Tool("soffice") + QStringLiteral(".args")));
}

}  // namespace
}  // namespace tesmir
