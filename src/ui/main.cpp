#include <QApplication>

#include "ui/program_icon.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setWindowIcon(tesmir::ProgramIcon());
  return 0;
}
