// The workbook of a report export: the block and the workbook of 999 rows,
// and how much the peak memory of the process grows while a 5,000-row
// workbook is written (counter peak_rss_growth_kB; the sheet is streamed to
// disk, so it stays small however long the report).
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "report/export_block.h"
#include "report/export_files.h"
#include "report/report_table.h"
#include "report/xlsx_export.h"
#include "sample_report.h"

namespace {

// A line of /proc/self/status in kB ("VmHWM", "VmRSS").
long StatusKb(const std::string& key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(key + ":", 0) == 0) return std::stol(line.substr(key.size() + 1));
  }
  return -1;
}

// Resets the peak resident size to the current one (Linux 4.0 and later).
bool ResetPeakRss() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return static_cast<bool>(clear);
}

// One export into `folder`, as the menu item writes it; false (and the
// benchmark marked failed) when it did not succeed.
bool ExportOnce(const QString& folder, const tesmir::ReportTable& table, benchmark::State& state, QString& path) {
  const tesmir::NewExportFile file = tesmir::WriteExportFile(
      folder, [&table](const QString& name) { return tesmir::WriteReportWorkbook(name, table); });
  if (!file.error.isEmpty()) {
    state.SkipWithError("export failed");
    return false;
  }
  path = file.path;
  return true;
}

void BM_ExportWorkbook999Rows(benchmark::State& state) {
  const tesmir::ReportTable table = tesmir::bench::SampleReport(999);
  QTemporaryDir dir;
  const QString folder = dir.filePath(QStringLiteral("export"));
  for (auto _ : state) {
    tesmir::RemoveOldExports(folder);
    QString path;
    if (!ExportOnce(folder, table, state, path)) break;
    state.PauseTiming();
    QFile::remove(path);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ExportWorkbook999Rows)->Unit(benchmark::kMillisecond);

void BM_ExportBlock999Rows(benchmark::State& state) {
  const tesmir::ReportTable table = tesmir::bench::SampleReport(999);
  for (auto _ : state) benchmark::DoNotOptimize(tesmir::BuildExportBlock(table));
}
BENCHMARK(BM_ExportBlock999Rows)->Unit(benchmark::kMicrosecond);

void BM_ExportPeakMemory5000Rows(benchmark::State& state) {
  const tesmir::ReportTable table = tesmir::bench::SampleReport(5000);
  QTemporaryDir dir;
  const QString folder = dir.filePath(QStringLiteral("export"));
  long growth = 0;
  for (auto _ : state) {
    if (!ResetPeakRss()) {
      state.SkipWithError("cannot reset the peak resident size");
      break;
    }
    const long before = StatusKb("VmRSS");
    QString path;
    const bool written = ExportOnce(folder, table, state, path);
    growth = std::max(growth, StatusKb("VmHWM") - before);
    if (!written) break;
    state.PauseTiming();
    QFile::remove(path);
    state.ResumeTiming();
  }
  state.counters["peak_rss_growth_kB"] = static_cast<double>(growth);
}
BENCHMARK(BM_ExportPeakMemory5000Rows)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
