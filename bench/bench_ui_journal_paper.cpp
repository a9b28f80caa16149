// The journal's PDF of 1,000 lines: the table over its pages (counted by a
// first layout) and the tree's diagram, written to a file. And the diagram
// of 300 lines as the window's "Схема" tab takes it after a change: laid out
// once, then one screenful painted.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "journal/journal_calc.h"
#include "paper/journal_diagram.h"
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

void BM_JournalDiagram300LinesLayout(benchmark::State& state) {
  const tesmir::JournalNetwork net = tesmir::bench::SwitchboardJournal(300);
  const tesmir::JournalResult result = tesmir::ComputeJournal(net);
  const tesmir::DiagramStyle style = tesmir::JournalDiagramStyle();
  const QSizeF size = tesmir::JournalDiagramPageSize();
  for (auto _ : state) {
    const std::vector<tesmir::DiagramPage> pages = tesmir::LayoutJournalDiagram(net, result, size, style);
    benchmark::DoNotOptimize(pages.data());
  }
}
BENCHMARK(BM_JournalDiagram300LinesLayout)->Unit(benchmark::kMillisecond);

void BM_JournalDiagramPagePaint(benchmark::State& state) {
  const tesmir::JournalNetwork net = tesmir::bench::SwitchboardJournal(300);
  const tesmir::JournalResult result = tesmir::ComputeJournal(net);
  const tesmir::DiagramStyle style = tesmir::JournalDiagramStyle();
  const std::vector<tesmir::DiagramPage> pages =
      tesmir::LayoutJournalDiagram(net, result, tesmir::JournalDiagramPageSize(), style);
  // One page at 100 % on a 96 dpi screen.
  const qreal scale = 96.0 / 72.0;
  QImage screen((pages.front().size * scale).toSize(), QImage::Format_RGB32);
  for (auto _ : state) {
    screen.fill(Qt::white);
    QPainter painter(&screen);
    painter.scale(scale, scale);
    tesmir::PaintDiagramPage(painter, pages.front(), style.font);
  }
}
BENCHMARK(BM_JournalDiagramPagePaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(g_argc, g_argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
