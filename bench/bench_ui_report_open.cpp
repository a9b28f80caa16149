// Opening a report of 10,000 / 100,000 / 1,000,000 rows: the file layer alone
// (read the file, split it into rows) beside the report window doing the same
// through "Открыть..." while it is on screen (the rows go into the grid, the
// columns are sized, the window is painted). The window should stay within
// three times the file layer, the million rows under three seconds.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <map>
#include <memory>

#include "report/report_file.h"
#include "report/report_table.h"
#include "sample_report.h"
#include "widgets/delete_all_report_form.h"
#include "widgets/file_chooser.h"
#include "widgets/message_sink.h"
#include "widgets/report_form.h"

namespace {

int g_argc = 1;
char g_name[] = "bench_ui_report_open";
char* g_argv[] = {g_name, nullptr};

QApplication& Application() {
  static auto* application = new QApplication(g_argc, g_argv);
  return *application;
}

// One report file per size, written once for the whole run.
const QString& ReportFile(int rows) {
  static QTemporaryDir dir;
  static std::map<int, QString> files;
  auto found = files.find(rows);
  if (found == files.end()) {
    QString path = dir.filePath(QStringLiteral("report%1.csv").arg(rows));
    if (!tesmir::SaveReportFile(path, tesmir::bench::SampleReport(rows))) {
      path.clear();
    }
    found = files.emplace(rows, path).first;
  }
  return found->second;
}

void BM_ReportFileLayer(benchmark::State& state) {
  const QString& path = ReportFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto loaded = tesmir::LoadReportFile(path, tesmir::ReportLayout::Semicolon);
    if (!loaded) {
      state.SkipWithError("the report could not be read");
      break;
    }
    tesmir::ReportTable table;
    table.assignRows(tesmir::ParseReport(loaded->bytes, tesmir::ReportLayout::Semicolon).rows);
    benchmark::DoNotOptimize(table.rowCount());
    state.PauseTiming();
    // The rows are freed outside the timing, as they are in the window.
    { tesmir::ReportTable gone = std::move(table); }
    state.ResumeTiming();
  }
}

void BM_ReportWindowOpen(benchmark::State& state) {
  Application();
  const int rows = static_cast<int>(state.range(0));
  const QString& path = ReportFile(rows);
  tesmir::BoxMessageSink messages;
  tesmir::DialogFileChooser files;
  for (auto _ : state) {
    state.PauseTiming();
    auto table = std::make_unique<tesmir::ReportTable>();
    tesmir::DeleteAllReportForm deleteAll;
    auto form = std::make_unique<tesmir::ReportForm>(*table, messages, files, deleteAll);
    form->show();
    QApplication::processEvents();
    state.ResumeTiming();
    const bool opened = form->openReportFile(path) == tesmir::ReportForm::OpenResult::Opened;
    QApplication::processEvents();  // laid out and painted
    state.PauseTiming();
    if (!opened || table->rowCount() < rows) {
      state.SkipWithError("the report window did not open the report");
      break;
    }
    form.reset();
    table.reset();
    state.ResumeTiming();
  }
}

}  // namespace

BENCHMARK(BM_ReportFileLayer)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportWindowOpen)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
