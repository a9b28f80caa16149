// The spreadsheet export of a 999-row report, up to the point where the
// spreadsheet program is started: old exports cleared out, a new file made,
// the block built and the workbook written.
#include <benchmark/benchmark.h>

#include <string>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "report/export_block.h"
#include "report/export_files.h"
#include "report/report_table.h"
#include "report/xlsx_export.h"

namespace {

tesmir::ReportTable LargeReport(int rows) {
  tesmir::ReportTable table;
  table.setRowCount(rows);
  for (int row = 0; row < rows; ++row) {
    const std::string n = std::to_string(row);
    const tesmir::ReportRow cells = {"К-" + n, "3,25", "10,63", "1 234,57", "2,05", "15", "1 270,47", "12,68",
                                     "1 270,53", "18" + n, "---", "Тср < 0,4 с"};
    for (int col = 0; col < tesmir::kReportColumns; ++col) table.setCell(col, row, cells[col]);
  }
  return table;
}

void BM_ExportWorkbook999Rows(benchmark::State& state) {
  const tesmir::ReportTable table = LargeReport(999);
  QTemporaryDir dir;
  for (auto _ : state) {
    tesmir::RemoveOldExports(dir.path());
    const tesmir::NewExportFile file = tesmir::CreateExportFile(dir.path());
    const QString error = tesmir::WriteExportWorkbook(file.path, tesmir::BuildExportBlock(table));
    if (!file.error.isEmpty() || !error.isEmpty()) {
      state.SkipWithError("export failed");
      break;
    }
    state.PauseTiming();
    QFile::remove(file.path);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ExportWorkbook999Rows)->Unit(benchmark::kMillisecond);

void BM_ExportBlock999Rows(benchmark::State& state) {
  const tesmir::ReportTable table = LargeReport(999);
  for (auto _ : state) benchmark::DoNotOptimize(tesmir::BuildExportBlock(table));
}
BENCHMARK(BM_ExportBlock999Rows)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
