// The program as a desktop program: Qt's own texts in the user's language,
// its names for the desktop, the command line, F9 and small screens.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/app.h"
#include "app/program_setup.h"
#include "document/report_places.h"
#include "report/report_file.h"
#include "support/modal_guard.h"
#include "support/recording_message_sink.h"
#include "support/ui_test_app.h"
#include "support/wait.h"

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
  ASSERT_EQ(untranslated, QStringLiteral("Cancel"));
  {
    const tesmir::QtTranslations russian(QLocale(QLocale::Russian, QLocale::Russia));
    ASSERT_TRUE(russian.installed()) << "qt6-translations-l10n is missing";
    EXPECT_EQ(CancelText(), QStringLiteral("Отмена"));
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

  QFile file(QStringLiteral(TESMIR_SOURCE_DIR "/data/") + tesmir::DesktopEntryId() + QStringLiteral(".desktop"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << file.fileName().toStdString();
  QMap<QString, QString> entry;
  for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq > 0) entry.insert(line.left(eq), line.mid(eq + 1));
  }
  EXPECT_EQ(desktopFile, QStringLiteral("io.github.tesmir.Tesmir"));
  EXPECT_EQ(entry.value(QStringLiteral("Exec")), name + QStringLiteral(" %f"));
  EXPECT_EQ(entry.value(QStringLiteral("StartupWMClass")), name);  // X11 takes the class from the application name
  EXPECT_TRUE(entry.value(QStringLiteral("MimeType")).split(QLatin1Char(';')).contains(QStringLiteral("text/csv")));
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

// Without HOME the home folder comes from the password database; relative
// HOME and XDG folders are not used (they would put the settings under the
// working folder).
TEST(HomeFolders, UnsetOrRelativeHomeAndXdgFoldersAreSettled) {
  const QByteArray savedHome = qgetenv("HOME");
  const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
  const QByteArray savedCache = qgetenv("XDG_CACHE_HOME");
  const passwd* entry = getpwuid(getuid());
  ASSERT_NE(entry, nullptr);
  const QString passwdHome = QString::fromLocal8Bit(entry->pw_dir);
  for (const char* home : {"", "relative/home"}) {
    SCOPED_TRACE(home);
    if (*home == '\0') {
      qunsetenv("HOME");
    } else {
      qputenv("HOME", home);
    }
    qputenv("XDG_CONFIG_HOME", "cfg");
    qputenv("XDG_CACHE_HOME", "/abs/cache");
    tesmir::SettleHomeFolders();
    EXPECT_EQ(QDir::homePath(), QDir::cleanPath(passwdHome));
    EXPECT_FALSE(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"));
    EXPECT_EQ(qgetenv("XDG_CACHE_HOME"), "/abs/cache");
    EXPECT_TRUE(tesmir::ReportPlaces::defaultSettingsFile().startsWith(passwdHome + QLatin1Char('/')))
        << tesmir::ReportPlaces::defaultSettingsFile().toStdString();
  }
  qputenv("HOME", savedHome);
  const auto restore = [](const char* name, const QByteArray& value) {
    if (value.isNull()) {
      qunsetenv(name);
    } else {
      qputenv(name, value);
    }
  };
  restore("XDG_CONFIG_HOME", savedConfig);
  restore("XDG_CACHE_HOME", savedCache);
}

// Help and version need no window system at all.
TEST_F(DesktopTest, HelpAndVersionPrintAndExitWithoutAWindow) {
  QProcessEnvironment console = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) console.remove(QString::fromLatin1(name));
  console.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
  console.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));

  const ProgramRun help = RunProgram({QStringLiteral("--help")}, console);
  EXPECT_EQ(help.exitCode, 0) << help.err.toStdString();
  EXPECT_TRUE(help.out.contains(QStringLiteral("--version"))) << help.out.toStdString();
  EXPECT_TRUE(help.out.contains(QStringLiteral("[файл]"))) << help.out.toStdString();

  const ProgramRun version = RunProgram({QStringLiteral("--version")}, console);
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, QStringLiteral("tesmir 2.5.1\n"));

  const ProgramRun twoFiles = RunProgram({QStringLiteral("a.csv"), QStringLiteral("b.csv")}, console);
  EXPECT_EQ(twoFiles.exitCode, 1);
  EXPECT_TRUE(twoFiles.out.isEmpty());
  EXPECT_TRUE(twoFiles.err.contains(QStringLiteral("только один"))) << twoFiles.err.toStdString();

  // Under a Russian locale the program loads Qt's Russian texts, which
  // include those of the option list.
  QProcessEnvironment russian = console;
  russian.insert(QStringLiteral("LANG"), QStringLiteral("ru_RU.UTF-8"));
  russian.insert(QStringLiteral("LC_ALL"), QStringLiteral("ru_RU.UTF-8"));
  const ProgramRun russianHelp = RunProgram({QStringLiteral("--help")}, russian);
  EXPECT_EQ(russianHelp.exitCode, 0);
  EXPECT_TRUE(russianHelp.out.contains(QStringLiteral("Параметры:"))) << russianHelp.out.toStdString();
  EXPECT_TRUE(help.out.contains(QStringLiteral("Options:"))) << help.out.toStdString();

  QProcessEnvironment offscreen = console;
  offscreen.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  const ProgramRun unknown = RunProgram({QStringLiteral("--no-such-option")}, offscreen);
  EXPECT_EQ(unknown.exitCode, 1);
  EXPECT_TRUE(unknown.err.contains(QStringLiteral("no-such-option"))) << unknown.err.toStdString();

  // An unknown option on a console, with no window system to reach, is
  // reported and ends the program instead of Qt's abort; the window system's
  // own options still pass.
  for (const QStringList& args :
       {QStringList{QStringLiteral("-x.csv")},
        QStringList{QStringLiteral("-style"), QStringLiteral("fusion"), QStringLiteral("-q")}}) {
    const ProgramRun odd = RunProgram(args, console);
    EXPECT_EQ(odd.exitCode, 1) << args.join(QLatin1Char(' ')).toStdString();
    EXPECT_FALSE(odd.err.contains(QStringLiteral("display"))) << odd.err.toStdString();
    EXPECT_TRUE(odd.err.contains(args.last().mid(1, 1))) << odd.err.toStdString();
  }
}

// A file that cannot be read does not end the program: its message waits
// over the report window.
TEST_F(DesktopTest, ProgramStaysOpenWithAnUnreadableFile) {
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("HOME"), home.path());
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
  const ProgramRun run = RunProgram({home.filePath(QStringLiteral("missing.csv"))}, env, 3000);
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
    ASSERT_TRUE(tesmir_test::WaitUntil([&] { return seen; }, "the report window at start"));
    EXPECT_TRUE(app_.mainForm().isVisible());
  }

  tesmir_test::RecordingMessageSink messages_;
  tesmir::DialogFileChooser files_;
  tesmir::App app_;
  bool reportVisible_ = false;
  QString caption_;
};

TEST_F(StartWithFileTest, OpensTheFileInTheReportWindow) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("отчет.csv"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray(";;;;;;;;;;;;\r\n;;;;;;;;;;;;\r\n") + "T1;1;2;3;4;5;6;7;8;9;10;11;\r\n");
  file.close();

  startWith(path);
  EXPECT_TRUE(reportVisible_);
  EXPECT_EQ(caption_, QStringLiteral("Отчет-") + path);
  EXPECT_EQ(app_.report().cell(0, 0), "T1");
  EXPECT_EQ(app_.report().cell(11, 0), "11");
  EXPECT_TRUE(messages_.errors().isEmpty());
}

TEST_F(StartWithFileTest, UnreadableOrDeclinedFileLeavesAnEmptyReport) {
  QTemporaryDir dir;
  const QString missing = dir.filePath(QStringLiteral("нет.csv"));
  startWith(missing);
  EXPECT_TRUE(reportVisible_);
  EXPECT_EQ(caption_, QStringLiteral("Отчет"));
  ASSERT_EQ(messages_.errors().size(), 1);
  EXPECT_EQ(messages_.errors()[0], tesmir::LoadReportFile(missing, tesmir::ReportLayout::Semicolon).error());
  EXPECT_EQ(app_.report().cell(0, 0), "");

  // A damaged file asks as "Открыть..." asks; Cancel keeps the table.
  const QString damaged = dir.filePath(QStringLiteral("damaged.csv"));
  QFile file(damaged);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("T1;1;2\r\n");
  file.close();
  messages_.answer = false;
  startWith(damaged);
  ASSERT_EQ(messages_.asked().size(), 1);
  EXPECT_EQ(messages_.asked()[0], QStringLiteral("Формат файла поврежден. Продолжить загрузку данных?"));
  EXPECT_EQ(app_.report().cell(0, 0), "");
}

// The real dialogs start where they are told: in a folder as such, or in a
// file's folder with its name filled in.
TEST_F(DesktopTest, FileDialogsStartInTheGivenFolder) {
  tesmir_test::ModalGuard guard("the file dialogs rejected once looked at");
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  tesmir::DialogFileChooser chooser;
  const struct {
    QString start;
    QString folder;
    QString name;
  } cases[] = {
      {dir.path(), dir.path(), QStringLiteral("")},
      {dir.filePath(QStringLiteral("Отчет.csv")), dir.path(), QStringLiteral("Отчет.csv")},
  };
  for (const auto& c : cases) {
    for (const bool save : {true, false}) {
      SCOPED_TRACE((c.start + (save ? QStringLiteral(" save") : QStringLiteral(" open"))).toStdString());
      QString folder, name;
      QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        folder = dialog->directory().absolutePath();
        name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
        dialog->reject();
      });
      const QString chosen =
          save ? chooser.chooseSaveName(nullptr, c.start, QStringLiteral("Таблица (*.csv)"), QStringLiteral("csv"))
               : chooser.chooseOpenName(nullptr, c.start, {QStringLiteral("Таблица (*.csv)")}, QStringLiteral("okz"));
      EXPECT_TRUE(chosen.isEmpty());
      EXPECT_EQ(folder, c.folder);
      EXPECT_EQ(name, c.name);
    }
  }
}

TEST_F(DesktopTest, F9Calculates) {
  tesmir_test::RecordingMessageSink messages;
  tesmir::DialogFileChooser files;
  tesmir::App app(messages, files);
  app.showMainWindow();
  QWidget& main = app.mainForm();
  main.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
  QTest::keyClick(&main, Qt::Key_F9);
  // The button shows itself pressed for a moment before it clicks.
  tesmir_test::WaitUntil([&] { return main.findChild<QPushButton*>(QStringLiteral("AddToReportButton"))->isEnabled(); },
                         "the calculation started by F9");
  EXPECT_EQ(main.findChild<QLabel*>(QStringLiteral("IokzLabel"))->text(),
            QStringLiteral("Ток однофазного короткого замыкания равен 217 А"));
  EXPECT_TRUE(main.findChild<QPushButton*>(QStringLiteral("AddToReportButton"))->isEnabled());
}

// 1600 x 1000 at 200 %: 800 x 500 logical pixels, less a 14-pixel panel.
TEST_F(DesktopTest, MainWindowScrollsWhenTheScreenIsTooSmall) {
  tesmir_test::RecordingMessageSink messages;
  tesmir::DialogFileChooser files;
  tesmir::App app(messages, files);
  tesmir::MainForm& main = app.mainForm();
  auto* scroller = main.findChild<QScrollArea*>(QStringLiteral("MainScrollArea"));
  ASSERT_NE(scroller, nullptr);
  QWidget* panel = main.findChild<QWidget*>(QStringLiteral("MainPanel"));
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

// A file named in Windows-1251 bytes on the command line is opened by those
// bytes, and a file named so is written under its own name: Qt's own list of
// arguments would have turned the bytes into U+FFFD and found no such file.
TEST(CommandLine, FilesNamedInWindows1251BytesAreOpenedAndWrittenByTheirBytes) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string folder = QFile::encodeName(dir.path()).toStdString();
  const std::string journal = folder + "/\xCE\xF2\xF7\xE5\xF2.tsn";  // "Отчет" in Windows-1251
  const std::string results = folder + "/\xD0\xE5\xE7.json";         // "Рез"
  QFile example(QStringLiteral(TESMIR_SOURCE_DIR "/examples/office.tsn"));
  ASSERT_TRUE(example.open(QIODevice::ReadOnly));
  const QByteArray bytes = example.readAll();
  const int fd = ::open(journal.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::write(fd, bytes.constData(), static_cast<std::size_t>(bytes.size())), bytes.size());
  ::close(fd);

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::setenv("QT_QPA_PLATFORM", "no-such-window-system", 1);
    ::execl(TESMIR_PROGRAM, "tesmir", "--journal", journal.c_str(), "--results", results.c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the journal was read and computed";
  struct stat info {};
  ASSERT_EQ(::stat(results.c_str(), &info), 0) << "the results are under the name given";
  EXPECT_GT(info.st_size, 100);
  // Qt cannot name these files to remove them with the folder.
  ::unlink(journal.c_str());
  ::unlink(results.c_str());
}

}  // namespace
