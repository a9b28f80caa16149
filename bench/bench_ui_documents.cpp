// The documents: the calculation note of a six-section feeder written as a
// PDF file (aim: under 150 ms) and a report of 999 rows written as a PDF file
// (aim: under 1 s).
#include <benchmark/benchmark.h>
#include <cstdlib>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <clocale>
#include <string>

#include "paper/calc_note.h"
#include "paper/report_paper.h"
#include "report/report_table.h"

namespace {

int g_argc = 1;
char g_name[] = "bench_ui_documents";
char* g_argv[] = {g_name, nullptr};

void Application() {
  if (QApplication::instance() == nullptr) {
    new QApplication(g_argc, g_argv);
    std::setlocale(LC_NUMERIC, "C");
  }
}

const tesmir::NumberSeparators kRussian{",", "\u00a0"};

tesmir::SchemeState SixSectionFeeder() {
  tesmir::SchemeInput in = tesmir::DefaultSchemeInput();
  in.windKind = "T/Y-0";
  in.transPower = "630";
  for (int i = 0; i < tesmir::kLineCount; ++i) {
    tesmir::LineInput& line = in.lines[static_cast<std::size_t>(i)];
    line.ff = "95";
    line.fn = "50";
    line.length = std::to_string(20 * (i + 1));
    line.quanPar = i % 2 == 0 ? "нет" : "2";
  }
  in.lines[3].kind = "Шинопровод Gersan";
  in.lines[3].stuff = "GGDA, 160A";
  tesmir::SchemeState state;
  if (!tesmir::RunLoopCalculation(in, state)) std::abort();
  return state;
}

void BM_NoteToPdf(benchmark::State& state) {
  Application();
  tesmir::CalcNote note;
  note.date = QDate(2026, 12, 8);
  note.pointName = QStringLiteral("К-1");
  note.scheme = SixSectionFeeder();
  note.seps = kRussian;
  note.texts = tesmir::MakeResultTexts(note.scheme, QStringLiteral("630"), QStringLiteral("T/Y-0"),
                                       QStringLiteral("Ток однофазного короткого замыкания равен 1 А"), kRussian);
  note.device = {QStringLiteral("Автоматический выключатель"),
                 QStringLiteral("Iном=160 А"),
                 QStringLiteral("Кз=1.1"),
                 QStringLiteral("Iср=1760 А"),
                 QStringLiteral("Тср < 0,4 с"),
                 QStringLiteral("Срабатывание за нормативное время")};
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("note.pdf"));
  for (auto _ : state) {
    if (!tesmir::WriteCalcNotePdf(path, note)) state.SkipWithError("the note was not written");
  }
  state.counters["bytes"] = static_cast<double>(QFile(path).size());
}
BENCHMARK(BM_NoteToPdf)->Unit(benchmark::kMillisecond);

void BM_Report999ToPdf(benchmark::State& state) {
  Application();
  const tesmir::SchemeState scheme = SixSectionFeeder();
  tesmir::ReportTable table;
  for (int i = 0; i < 999; ++i) {
    const std::string name = "К-" + std::to_string(i + 1);
    table.addPoint(name, tesmir::MakeReportRow(name, scheme, tesmir::DeviceSettings{}, "---", kRussian));
  }
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("report.pdf"));
  for (auto _ : state) {
    if (!tesmir::WriteReportPdf(path, table, QStringLiteral("/home/user/отчет.csv"), QDate(2026, 12, 8))) {
      state.SkipWithError("the report was not written");
    }
  }
  state.counters["bytes"] = static_cast<double>(QFile(path).size());
}
BENCHMARK(BM_Report999ToPdf)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
