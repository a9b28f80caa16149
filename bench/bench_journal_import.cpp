// Importing a cable journal of 10,000 rows from an .xlsx workbook: reading
// the sheet, proposing the mapping and turning the rows into lines (the
// journal's own workbook, written once beforehand).
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "journal/journal_calc.h"
#include "report/journal_workbook.h"
#include "report/sheet_reader.h"
#include "switchboard_journal.h"

namespace {

void BM_ImportXlsx10000Rows(benchmark::State& state) {
  const tesmir::JournalNetwork net = tesmir::bench::SwitchboardJournal(10000);
  tesmir::JournalResult result;
  result.lines.resize(net.lines.size());
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("journal.xlsx"));
  if (!tesmir::WriteJournalWorkbook(path, net, result).isEmpty()) {
    state.SkipWithError("the workbook could not be written");
    return;
  }
  std::size_t lines = 0;
  for (auto _ : state) {
    const auto file = tesmir::ImportJournalFile(path);
    if (!file) {
      state.SkipWithError("the workbook could not be read");
      return;
    }
    lines = file->lines.lines.size();
    benchmark::DoNotOptimize(lines);
  }
  if (lines != net.lines.size()) state.SkipWithError("not every row gave a line");
  state.counters["rows"] = static_cast<double>(lines);
}
BENCHMARK(BM_ImportXlsx10000Rows)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
