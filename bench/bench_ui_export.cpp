// "Экспорт" → "в Excel" of a 999-row report as the menu item runs it, with
// the program's own desktop (its background xdg-mime query included) up to
// the point where the workbook is handed to the desktop; the opening itself
// is replaced, so no spreadsheet program starts. The real xdg-mime is asked,
// in a private configuration that names an application for workbooks.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "sample_report.h"
#include "widgets/message_sink.h"
#include "widgets/spreadsheet_export.h"

namespace {

int g_argc = 1;
char g_name[] = "bench_ui_export";
char* g_argv[] = {g_name, nullptr};

class CountingSink final : public tesmir::MessageSink {
 public:
  void inform(QWidget*, const QString&) override { ++shown; }
  bool ask(QWidget*, const QString&) override { return ++shown, false; }
  void error(QWidget*, const QString&) override { ++shown; }
  int shown = 0;
};

void BM_ExportToExcelMenuItem999Rows(benchmark::State& state) {
  const tesmir::ReportTable table = tesmir::bench::SampleReport(999);
  QTemporaryDir dir;
  QDir(dir.path()).mkpath(QStringLiteral("config"));
  QDir(dir.path()).mkpath(QStringLiteral("data/applications"));
  const auto put = [&dir](const char* name, const char* text) {
    QFile file(dir.filePath(QString::fromLatin1(name)));
    if (file.open(QIODevice::WriteOnly)) file.write(text);
  };
  put("config/mimeapps.list",
      "[Default Applications]\n"
      "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet=tesmir-bench.desktop\n");
  put("data/applications/tesmir-bench.desktop",
      "[Desktop Entry]\nType=Application\nName=Bench\nExec=true %f\n"
      "MimeType=application/vnd.openxmlformats-officedocument.spreadsheetml.sheet;\n");
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
  qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
  // The desktop as the program makes it at start; only the opening is replaced.
  tesmir::SpreadsheetDesktop desktop = tesmir::SystemSpreadsheetDesktop();
  desktop.exportFolder = dir.filePath(QStringLiteral("export"));
  desktop.openUrl = [](const QUrl&) { return true; };
  CountingSink sink;
  for (auto _ : state) {
    const QString path = tesmir::ExportToExcel(table, sink, nullptr, desktop);
    if (path.isEmpty() || sink.shown != 0) {
      state.SkipWithError("export failed");
      break;
    }
    state.PauseTiming();
    QFile::remove(path);
    QApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ExportToExcelMenuItem999Rows)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QApplication app(g_argc, g_argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
