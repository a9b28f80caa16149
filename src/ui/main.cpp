#include <QApplication>
#include <clocale>

#include "ui/app.h"
#include "ui/program_icon.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tesmir"));
  QApplication::setApplicationDisplayName(QStringLiteral("Тесмир 2.5.1"));
  QApplication::setWindowIcon(tesmir::ProgramIcon());
  // Qt sets the C library's locale from the environment; numbers written by
  // the C library (the spreadsheet export) must keep the "." decimal point.
  std::setlocale(LC_NUMERIC, "C");

  tesmir::App app;
  app.showMainWindow();
  return QApplication::exec();
}
