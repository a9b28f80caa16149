// The program as a desktop program: Qt's own texts in the user's language,
// its names for the desktop, the command line, F9 and small screens.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QLabel>
#include <QTimer>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "recording_message_sink.h"
#include "ui/app.h"
#include "report/report_file.h"
#include "ui/program_setup.h"
#include "ui_test_app.h"

namespace {

class DesktopTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { tesmir_test::EnsureApplication(); }
};

QString CancelText() {
  QMessageBox box;
  box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
  return box.button(QMessageBox::Cancel)->text();
}

TEST_F(DesktopTest, StandardButtonsFollowTheLocale) {
  const QString untranslated = CancelText();
  ASSERT_EQ(untranslated, "Cancel");
  {
    const tesmir::QtTranslations russian(QLocale(QLocale::Russian, QLocale::Russia));
    ASSERT_TRUE(russian.installed()) << "qt6-translations-l10n is missing";
    EXPECT_EQ(CancelText(), "Отмена");
  }
  EXPECT_EQ(CancelText(), untranslated);  // removed with the object
  const tesmir::QtTranslations english(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(CancelText(), untranslated);
}

// The desktop entry names the program as the program names itself.
TEST_F(DesktopTest, DesktopEntryMatchesTheProgram) {
  const QString oldName = QCoreApplication::applicationName();
  tesmir::SetProgramIdentity();
  const QString name = QCoreApplication::applicationName();
  const QString desktopFile = QGuiApplication::desktopFileName();
  QCoreApplication::setApplicationName(oldName);

  QFile file(QStringLiteral(TESMIR_SOURCE_DIR "/data/") + tesmir::DesktopEntryId() + ".desktop");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << file.fileName().toStdString();
  QMap<QString, QString> entry;
  for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
    const qsizetype eq = line.indexOf('=');
    if (eq > 0) entry.insert(line.left(eq), line.mid(eq + 1));
  }
  EXPECT_EQ(desktopFile, "io.github.tesmir.Tesmir");
  EXPECT_EQ(entry.value("Exec"), name + " %f");
  EXPECT_EQ(entry.value("StartupWMClass"), name);  // X11 takes the class from the application name
  EXPECT_TRUE(entry.value("MimeType").split(';').contains("text/csv"));
}

struct ProgramRun {
  int exitCode;
  QString out, err;
  bool finished;
};

ProgramRun RunProgram(const QStringList& arguments, const QProcessEnvironment& env, int waitMs = 30000) {
  QProcess process;
  process.setProcessEnvironment(env);
  process.start(QStringLiteral(TESMIR_PROGRAM), arguments);
  EXPECT_TRUE(process.waitForStarted());
  const bool finished = process.waitForFinished(waitMs);
  if (!finished) {
    process.kill();
    process.waitForFinished();
  }
  return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
          QString::fromLocal8Bit(process.readAllStandardError()), finished};
}

// Help and version need no window system at all.
TEST_F(DesktopTest, HelpAndVersionPrintAndExitWithoutAWindow) {
  QProcessEnvironment console = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) console.remove(name);
  console.insert("LANG", "C.UTF-8");
  console.insert("LC_ALL", "C.UTF-8");

  const ProgramRun help = RunProgram({"--help"}, console);
  EXPECT_EQ(help.exitCode, 0) << help.err.toStdString();
  EXPECT_TRUE(help.out.contains("--version")) << help.out.toStdString();
  EXPECT_TRUE(help.out.contains("[файл]")) << help.out.toStdString();

  const ProgramRun version = RunProgram({"--version"}, console);
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, "tesmir 2.5.1\n");

  const ProgramRun twoFiles = RunProgram({"a.csv", "b.csv"}, console);
  EXPECT_EQ(twoFiles.exitCode, 1);
  EXPECT_TRUE(twoFiles.out.isEmpty());
  EXPECT_TRUE(twoFiles.err.contains("только один")) << twoFiles.err.toStdString();

  // Under a Russian locale the program loads Qt's Russian texts, which
  // include those of the option list.
  QProcessEnvironment russian = console;
  russian.insert("LANG", "ru_RU.UTF-8");
  russian.insert("LC_ALL", "ru_RU.UTF-8");
  const ProgramRun russianHelp = RunProgram({"--help"}, russian);
  EXPECT_EQ(russianHelp.exitCode, 0);
  EXPECT_TRUE(russianHelp.out.contains("Параметры:")) << russianHelp.out.toStdString();
  EXPECT_TRUE(help.out.contains("Options:")) << help.out.toStdString();

  QProcessEnvironment offscreen = console;
  offscreen.insert("QT_QPA_PLATFORM", "offscreen");
  const ProgramRun unknown = RunProgram({"--no-such-option"}, offscreen);
  EXPECT_EQ(unknown.exitCode, 1);
  EXPECT_TRUE(unknown.err.contains("no-such-option")) << unknown.err.toStdString();
}

// A file that cannot be read does not end the program: its message waits
// over the report window.
TEST_F(DesktopTest, ProgramStaysOpenWithAnUnreadableFile) {
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("HOME", home.path());
  env.insert("XDG_CONFIG_HOME", home.filePath("config"));
  const ProgramRun run = RunProgram({home.filePath("missing.csv")}, env, 3000);
  EXPECT_FALSE(run.finished) << "exit " << run.exitCode << ": " << run.err.toStdString();
}

class StartWithFileTest : public DesktopTest {
 protected:
  StartWithFileTest() : app_(messages_, files_) {}

  // Starts as `tesmir path` would and looks at the report window while it is
  // on screen, then closes it.
  void startWith(const QString& path) {
    bool seen = false;
    app_.openReportAtStart(path);
    QTimer::singleShot(100, [&] {
      seen = true;
      reportVisible_ = app_.reportForm().isVisible();
      caption_ = app_.reportForm().windowTitle();
      app_.reportForm().accept();
    });
    for (int i = 0; i < 200 && !seen; ++i) QTest::qWait(20);
    ASSERT_TRUE(seen);
    EXPECT_TRUE(app_.mainForm().isVisible());
  }

  RecordingMessageSink messages_;
  tesmir::DialogFileChooser files_;
  tesmir::App app_;
  bool reportVisible_ = false;
  QString caption_;
};

TEST_F(StartWithFileTest, OpensTheFileInTheReportWindow) {
  QTemporaryDir dir;
  const QString path = dir.filePath("отчет.csv");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray(";;;;;;;;;;;;\r\n;;;;;;;;;;;;\r\n") + "T1;1;2;3;4;5;6;7;8;9;10;11;\r\n");
  file.close();

  startWith(path);
  EXPECT_TRUE(reportVisible_);
  EXPECT_EQ(caption_, "Отчет-" + path);
  EXPECT_EQ(app_.report().cell(0, 0), "T1");
  EXPECT_EQ(app_.report().cell(11, 0), "11");
  EXPECT_TRUE(messages_.errors.isEmpty());
}

TEST_F(StartWithFileTest, UnreadableOrDeclinedFileLeavesAnEmptyReport) {
  QTemporaryDir dir;
  const QString missing = dir.filePath("нет.csv");
  startWith(missing);
  EXPECT_TRUE(reportVisible_);
  EXPECT_EQ(caption_, "Отчет");
  ASSERT_EQ(messages_.errors.size(), 1);
  EXPECT_EQ(messages_.errors[0], tesmir::LoadReportFile(missing, tesmir::ReportLayout::Semicolon).error());
  EXPECT_EQ(app_.report().cell(0, 0), "");

  // A damaged file asks as "Открыть..." asks; Cancel keeps the table.
  const QString damaged = dir.filePath("damaged.csv");
  QFile file(damaged);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("T1;1;2\r\n");
  file.close();
  messages_.answer = false;
  startWith(damaged);
  ASSERT_EQ(messages_.asked.size(), 1);
  EXPECT_EQ(messages_.asked[0], "Формат файла поврежден. Продолжить загрузку данных?");
  EXPECT_EQ(app_.report().cell(0, 0), "");
}

// The real dialogs start where they are told: in a folder as such, or in a
// file's folder with its name filled in.
TEST_F(DesktopTest, FileDialogsStartInTheGivenFolder) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  tesmir::DialogFileChooser chooser;
  const struct {
    QString start;
    QString folder;
    QString name;
  } cases[] = {
      {dir.path(), dir.path(), ""},
      {dir.filePath("Отчет.csv"), dir.path(), "Отчет.csv"},
  };
  for (const auto& c : cases) {
    for (const bool save : {true, false}) {
      SCOPED_TRACE((c.start + (save ? " save" : " open")).toStdString());
      QString folder, name;
      QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        folder = dialog->directory().absolutePath();
        name = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
        dialog->reject();
      });
      const QString chosen = save ? chooser.chooseSaveName(nullptr, c.start, "Таблица (*.csv)", "csv")
                                  : chooser.chooseOpenName(nullptr, c.start, {"Таблица (*.csv)"}, "okz");
      EXPECT_TRUE(chosen.isEmpty());
      EXPECT_EQ(folder, c.folder);
      EXPECT_EQ(name, c.name);
    }
  }
}

TEST_F(DesktopTest, F9Calculates) {
  RecordingMessageSink messages;
  tesmir::DialogFileChooser files;
  tesmir::App app(messages, files);
  app.showMainWindow();
  QWidget& main = app.mainForm();
  main.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
  QTest::keyClick(&main, Qt::Key_F9);
  // The button shows itself pressed for a moment before it clicks.
  for (int i = 0; i < 50 && !main.findChild<QPushButton*>("AddToReportButton")->isEnabled(); ++i) QTest::qWait(20);
  EXPECT_EQ(main.findChild<QLabel*>("IokzLabel")->text(), "Ток однофазного короткого замыкания равен 217 А");
  EXPECT_TRUE(main.findChild<QPushButton*>("AddToReportButton")->isEnabled());
}

// 1600 x 1000 at 200 %: 800 x 500 logical pixels, less a 14-pixel panel.
TEST_F(DesktopTest, MainWindowScrollsWhenTheScreenIsTooSmall) {
  RecordingMessageSink messages;
  tesmir::DialogFileChooser files;
  tesmir::App app(messages, files);
  tesmir::MainForm& main = app.mainForm();
  auto* scroller = main.findChild<QScrollArea*>("MainScrollArea");
  ASSERT_NE(scroller, nullptr);
  QWidget* panel = main.findChild<QWidget*>("MainPanel");
  ASSERT_EQ(scroller->widget(), panel);

  main.fitInto(QRect(0, 0, 3840, 2160));
  const QSize full = main.size();
  main.show();
  QCoreApplication::processEvents();
  EXPECT_FALSE(scroller->verticalScrollBar()->isVisible());
  EXPECT_FALSE(scroller->horizontalScrollBar()->isVisible());

  const QRect small(0, 14, 800, 486);
  main.fitInto(small);
  QCoreApplication::processEvents();
  ASSERT_LT(main.height(), full.height());
  EXPECT_LE(main.width(), small.width() - 8);
  EXPECT_LE(main.height(), small.height() - 24);  // room for the title bar
  // The controls keep their full layout and scroll into view.
  EXPECT_GE(panel->height(), panel->minimumSizeHint().height());
  EXPECT_TRUE(scroller->verticalScrollBar()->isVisible());
  EXPECT_GT(scroller->verticalScrollBar()->maximum(), 0);
  main.hide();
}

}  // namespace
