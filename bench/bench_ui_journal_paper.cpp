// The journal's PDF of 1,000 lines: the table over its pages (counted by a
// first layout) and the tree's diagram, written to a file.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include "journal/journal_calc.h"
#include "paper/journal_paper.h"
#include "switchboard_journal.h"

namespace {

int g_argc = 1;
char g_name[] = "bench_ui_journal_paper";
char* g_argv[] = {g_name, nullptr};

void BM_JournalPdf1000Lines(benchmark::State& state) {
  const tesmir::JournalNetwork net = tesmir::bench::SwitchboardJournal(1000);
  const tesmir::JournalResult result = tesmir::ComputeJournal(net);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("journal.pdf"));
  for (auto _ : state) {
    const auto written = tesmir::WriteJournalPdf(path, net, result, QString(), QDate(2026, 12, 8));
    if (!written) {
      state.SkipWithError("the PDF could not be written");
      return;
    }
  }
}
BENCHMARK(BM_JournalPdf1000Lines)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(g_argc, g_argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
