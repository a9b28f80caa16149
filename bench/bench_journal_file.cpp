// Reading a line journal file of 100,000 lines (a tree of depth 8, every
// line with a device, a design current and a power factor).
#include <benchmark/benchmark.h>

#include "report/journal_file.h"
#include "switchboard_journal.h"

namespace {

void BM_JournalFileRead(benchmark::State& st) {
  tesmir::JournalDocument doc;
  doc.network = tesmir::bench::SwitchboardJournal();
  const QByteArray bytes = tesmir::JournalToJson(doc);
  for (auto _ : st) {
    tesmir::JournalParse parsed = tesmir::ParseJournal(bytes);
    benchmark::DoNotOptimize(parsed.document);
    if (!parsed.document) st.SkipWithError("the journal was refused");
  }
  st.counters["megabytes"] = static_cast<double>(bytes.size()) / 1e6;
}
BENCHMARK(BM_JournalFileRead)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
