#include <QApplication>
#include <QCoreApplication>
#include <clocale>
#include <cstdio>

#include "app/app.h"
#include "app/program_setup.h"
#include "report/file_names.h"
#include "widgets/program_icon.h"

int main(int argc, char** argv) {
  // The command line is read before any window system is opened, so --help
  // and --version work on a console without a desktop.
  tesmir::SettleHomeFolders();
  // Qt's own list would lose the bytes of a file name that is not UTF-8.
  QStringList arguments;
  for (int i = 0; i < argc; ++i) {
    arguments << tesmir::DecodeFileName(argv[i]);
  }
  tesmir::CommandLine commandLine;
  {
    QCoreApplication console(argc, argv);
    tesmir::SetProgramIdentity();
    const tesmir::QtTranslations translations;
    commandLine = tesmir::ReadCommandLine(arguments);
    if (!commandLine.exit && !commandLine.journal.file.isEmpty()) {
      return tesmir::RunJournalCommand(commandLine.journal);
    }
  }
  const auto finish = [](const tesmir::CommandLine& line) {
    std::fputs(line.output.toLocal8Bit().constData(), line.exitCode == 0 ? stdout : stderr);
    return line.exitCode;
  };
  if (commandLine.exit) {
    return finish(commandLine);
  }

  QApplication application(argc, argv);
  tesmir::SetProgramIdentity();
  QApplication::setWindowIcon(tesmir::ProgramIcon());
  const tesmir::QtTranslations translations;
  // Qt sets the C library's locale from the environment; numbers written by
  // the C library (the spreadsheet export) must keep the "." decimal point.
  std::setlocale(LC_NUMERIC, "C");

  tesmir::BoxMessageSink messages;
  tesmir::DialogFileChooser files;
  tesmir::App app(messages, files);
  if (commandLine.reportFile.isEmpty()) {
    app.showMainWindow();
  } else if (commandLine.reportFile.endsWith(QStringLiteral(".tsn"), Qt::CaseInsensitive)) {
    app.openJournalAtStart(commandLine.reportFile);
  } else {
    app.openReportAtStart(commandLine.reportFile);
  }
  return QApplication::exec();
}
