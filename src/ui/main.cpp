#include <QApplication>
#include <QCoreApplication>
#include <clocale>
#include <cstdio>

#include "ui/app.h"
#include "ui/program_icon.h"
#include "ui/program_setup.h"

int main(int argc, char** argv) {
  // The command line is read before any window system is opened, so --help
  // and --version work on a console without a desktop.
  tesmir::SettleHomeFolders();
  tesmir::CommandLine commandLine;
  {
    QCoreApplication console(argc, argv);
    tesmir::SetProgramIdentity();
    const tesmir::QtTranslations translations;
    commandLine = tesmir::ReadCommandLine(QCoreApplication::arguments());
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
