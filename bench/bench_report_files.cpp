// Save and Open of a 5,000-row report through the disk (each should stay well
// under 20 ms), with the encoding and the parsing alone for reference.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <string>
#include <vector>

#include "report/report_file.h"
#include "report/report_table.h"

namespace {

constexpr int kRows = 5000;

tesmir::ReportTable BigTable() {
  std::vector<tesmir::ReportRow> rows;
  rows.reserve(kRows);
  for (int r = 0; r < kRows; ++r) {
    rows.push_back({"К-" + std::to_string(r), "1\u00a0234,57", "805,75", "0,00", "12,35", "40", "692,40", "805,75",
                    "1\u00a0062,38", std::to_string(200 + r % 900), "1250", "Тср < 0,4 с"});
  }
  tesmir::ReportTable table;
  table.assignRows(std::move(rows));
  return table;
}

void BM_SaveReport5000(benchmark::State& state) {
  const tesmir::ReportTable table = BigTable();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("report.csv"));
  for (auto _ : state) {
    const auto saved = tesmir::SaveReportFile(path, table);
    if (!saved) {
      state.SkipWithError(saved.error().toStdString().c_str());
      break;
    }
  }
}
BENCHMARK(BM_SaveReport5000)->Unit(benchmark::kMillisecond);

void BM_OpenReport5000(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("report.csv"));
  if (!tesmir::SaveReportFile(path, BigTable())) {
    state.SkipWithError("could not write the report");
    return;
  }
  tesmir::ReportTable table;
  for (auto _ : state) {
    const auto loaded = tesmir::LoadReportFile(path, tesmir::ReportLayout::Semicolon);
    if (!loaded) {
      state.SkipWithError(loaded.error().toStdString().c_str());
      break;
    }
    table.assignRows(tesmir::ParseReport(loaded->bytes, tesmir::ReportLayout::Semicolon).rows);
    benchmark::DoNotOptimize(table.rowCount());
  }
}
BENCHMARK(BM_OpenReport5000)->Unit(benchmark::kMillisecond);

void BM_EncodeReport5000(benchmark::State& state) {
  const tesmir::ReportTable table = BigTable();
  for (auto _ : state) {
    benchmark::DoNotOptimize(tesmir::EncodeReport(table));
  }
}
BENCHMARK(BM_EncodeReport5000)->Unit(benchmark::kMillisecond);

void BM_ParseReport5000(benchmark::State& state) {
  const std::string bytes = tesmir::EncodeReport(BigTable());
  for (auto _ : state) {
    benchmark::DoNotOptimize(tesmir::ParseReport(bytes, tesmir::ReportLayout::Semicolon));
  }
}
BENCHMARK(BM_ParseReport5000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
