#include <QApplication>
#include <clocale>

#include "ui/app.h"
#include "ui/program_icon.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tesmir"));
  QApplication::setWindowIcon(tesmir::ProgramIcon());
  // Qt sets the C library's locale from the environment; numbers written by
  // the C library (the spreadsheet export) must keep the "." decimal point.
  std::setlocale(LC_NUMERIC, "C");

  tesmir::BoxMessageSink messages;
  tesmir::DialogFileChooser files;
  tesmir::App app(messages, files);
  app.showMainWindow();
  return QApplication::exec();
}
