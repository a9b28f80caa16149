// Тесмир started as main() starts it (no command line), its main window's
// first painting noted by the probe. bench_startup_pair starts it.
#include <QCoreApplication>
#include <clocale>

#include "app/app.h"
#include "app/program_setup.h"
#include "startup_probe.h"
#include "widgets/program_icon.h"

int main(int argc, char** argv) {
  {
    // main() reads its command line before any window system is opened.
    QCoreApplication console(argc, argv);
    tesmir::SetProgramIdentity();
    const tesmir::QtTranslations translations;
    (void)tesmir::ReadCommandLine(QCoreApplication::arguments());
  }
  startup_probe::ProbeApplication application(argc, argv);
  tesmir::SetProgramIdentity();
  QApplication::setWindowIcon(tesmir::ProgramIcon());
  const tesmir::QtTranslations translations;
  std::setlocale(LC_NUMERIC, "C");
  tesmir::BoxMessageSink messages;
  tesmir::DialogFileChooser files;
  tesmir::App app(messages, files);
  application.watch(&app.mainForm());
  app.showMainWindow();
  return QApplication::exec();
}
