// Where the report window's file dialogs start, the recent files of its
// "Файл" menu and its keyboard shortcuts.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "document/report_places.h"
#include "report/report_table.h"
#include "support/recording_message_sink.h"
#include "support/scripted_file_chooser.h"
#include "support/ui_test_app.h"
#include "widgets/delete_all_report_form.h"
#include "widgets/report_form.h"

namespace tesmir {
namespace {

class ReportPlacesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { tesmir_test::EnsureApplication(); }

  // A report window as one run of the program has it, with the settings
  // file kept in the test's folder.
  struct Run {
    explicit Run(const QString& settings) : form(table, messages, files, deleteAll) { form.keepPlacesIn(settings); }
    ReportTable table;
    tesmir_test::RecordingMessageSink messages;
    tesmir_test::ScriptedFileChooser files;
    DeleteAllReportForm deleteAll;
    ReportForm form;
  };

  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString settings() const { return dir_.filePath(QStringLiteral("config/tesmir.conf")); }
  QString file(const QString& name) const { return dir_.filePath(name); }
  void write(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  QStringList recentTexts(ReportForm& form) {
    QStringList texts;
    for (int i = 1; i <= ReportPlaces::kRecentCount; ++i) {
      auto* action = form.findChild<QAction*>(QStringLiteral("RecentReportMenu%1").arg(i));
      EXPECT_NE(action, nullptr);
      if (action != nullptr && action->isVisible()) texts << action->text();
    }
    return texts;
  }

  QTemporaryDir dir_;
};

// The settings file keeps any path exactly, is created readable by the user
// only (it lists the user's project files) and is never waited on when a FIFO
// stands in its place.
TEST_F(ReportPlacesTest, SettingsKeepOddPathsPrivatelyAndNeverBlock) {
  const QStringList odd = {file(QStringLiteral("a, b;c.csv")), file(QStringLiteral("\"q\" \\ x.csv")),
                           file(QStringLiteral("@отчет\t.csv")), QStringLiteral("@start.csv"),
                           file(QStringLiteral(" blank .csv"))};
  {
    ReportPlaces places(settings());
    for (auto it = odd.rbegin(); it != odd.rend(); ++it) places.useFile(*it);
  }
  const ReportPlaces again(settings());
  QStringList expected = odd;
  expected[3] = QFileInfo(odd[3]).absoluteFilePath();
  EXPECT_EQ(again.recentFiles(), expected);
  EXPECT_EQ(QFileInfo(settings()).permissions() &
                (QFileDevice::ReadOther | QFileDevice::ReadGroup | QFileDevice::WriteOther | QFileDevice::WriteGroup),
            QFileDevice::Permissions{});
  EXPECT_TRUE(QFileInfo(settings()).permissions() & QFileDevice::WriteOwner);

  const QString fifo = file(QStringLiteral("fifo.conf"));
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const ReportPlaces fromFifo(fifo);  // returns at once
  EXPECT_TRUE(fromFifo.recentFiles().isEmpty());
}

TEST_F(ReportPlacesTest, DialogsStartInTheReportFolderElseTheLastElseDocuments) {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  const QString start = QFileInfo(documents).isDir() ? documents : QDir::homePath();
  QDir().mkpath(file(QStringLiteral("a")));
  QDir().mkpath(file(QStringLiteral("b")));
  write(file(QStringLiteral("a/one.csv")));
  {
    Run run(settings());
    run.form.OpenReportMenuClick();  // cancelled
    run.form.SaveAsReportMenuClick();
    EXPECT_EQ(run.files.starts,
              QStringList({QStringLiteral("open:") + start,
                           QStringLiteral("save:") + QDir(start).filePath(QStringLiteral("Отчет.csv"))}));

    run.files.starts.clear();
    run.files.names = {file(QStringLiteral("a/one.csv"))};
    run.form.OpenReportMenuClick();
    run.form.SaveAsReportMenuClick();
    run.form.OpenReportMenuClick();
    EXPECT_EQ(run.files.starts,
              QStringList({QStringLiteral("open:") + start, QStringLiteral("save:") + file(QStringLiteral("a/one.csv")),
                           QStringLiteral("open:") + file(QStringLiteral("a/one.csv"))}));
  }
  {
    // The next run starts where the last one opened or saved.
    Run run(settings());
    run.form.OpenReportMenuClick();
    run.files.names = {file(QStringLiteral("b/two.csv"))};
    run.form.SaveAsReportMenuClick();
    EXPECT_EQ(run.files.starts, QStringList({QStringLiteral("open:") + file(QStringLiteral("a")),
                                             QStringLiteral("save:") + file(QStringLiteral("a/Отчет.csv"))}));
    EXPECT_TRUE(QFileInfo::exists(file(QStringLiteral("b/two.csv"))));
  }
  Run run(settings());
  run.form.SaveAsReportMenuClick();
  EXPECT_EQ(run.files.starts, QStringList({QStringLiteral("save:") + file(QStringLiteral("b/Отчет.csv"))}));
}

TEST_F(ReportPlacesTest, MenuListsTheLastFiveAndDropsMissingOnes) {
  {
    Run run(settings());
    EXPECT_TRUE(recentTexts(run.form).isEmpty());
    for (int i = 1; i <= 6; ++i) {
      run.files.names.push_back(file(QStringLiteral("r%1.csv").arg(i)));
      run.form.SaveAsReportMenuClick();
    }
    run.files.names = {file(QStringLiteral("r&3.okz"))};
    write(file(QStringLiteral("r&3.okz")));
    run.form.OpenReportMenuClick();
    run.files.names = {file(QStringLiteral("r3.csv"))};
    run.form.OpenReportMenuClick();
    EXPECT_TRUE(run.messages.errors().isEmpty()) << run.messages.errors().join(QStringLiteral("|")).toStdString();
  }
  Run run(settings());
  EXPECT_EQ(recentTexts(run.form), QStringList({QStringLiteral("&1 ") + file(QStringLiteral("r3.csv")),
                                                QStringLiteral("&2 ") + file(QStringLiteral("r&&3.okz")),
                                                QStringLiteral("&3 ") + file(QStringLiteral("r6.csv")),
                                                QStringLiteral("&4 ") + file(QStringLiteral("r5.csv")),
                                                QStringLiteral("&5 ") + file(QStringLiteral("r4.csv"))}));

  // A recent entry opens its file as "Открыть..." does.
  run.form.findChild<QAction*>(QStringLiteral("RecentReportMenu3"))->trigger();
  EXPECT_EQ(run.form.reportFileName(), file(QStringLiteral("r6.csv")));
  EXPECT_EQ(recentTexts(run.form).value(0), QStringLiteral("&1 ") + file(QStringLiteral("r6.csv")));

  // A file gone since drops out, with the message opening it gives.
  ASSERT_TRUE(QFile::remove(file(QStringLiteral("r5.csv"))));
  run.form.findChild<QAction*>(QStringLiteral("RecentReportMenu4"))->trigger();
  EXPECT_EQ(run.messages.errors().size(), 1);
  EXPECT_EQ(recentTexts(run.form).size(), 4);
  EXPECT_FALSE(recentTexts(run.form).join(QStringLiteral("|")).contains(QStringLiteral("r5.csv")));
  EXPECT_EQ(run.form.reportFileName(), file(QStringLiteral("r6.csv")));
}

TEST_F(ReportPlacesTest, FileShortcutsWorkAndShowInTheMenu) {
  Run run(settings());
  const struct {
    const char* action;
    QKeySequence keys;
    const char* dialog;
  } cases[] = {
      {"OpenReportMenu", QKeySequence(Qt::CTRL | Qt::Key_O), "open:"},
      {"SaveReportMenu", QKeySequence(Qt::CTRL | Qt::Key_S), "save:"},  // no file yet: Save As
      {"SaveAsReportMenu", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), "save:"},
  };
  run.form.show();
  run.form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&run.form));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.action);
    auto* action = run.form.findChild<QAction*>(QString::fromLatin1(c.action));
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->shortcut(), c.keys);  // a menu item shows its action's shortcut
    run.files.starts.clear();
    QTest::keySequence(&run.form, c.keys);
    ASSERT_EQ(run.files.starts.size(), 1);
    EXPECT_TRUE(run.files.starts[0].startsWith(QString::fromLatin1(c.dialog)));
  }
  run.form.hide();
}

}  // namespace
}  // namespace tesmir
