// The window "Журнал линий" as the designer types in it.
//  - BM_JournalEditRecalcRepaint/1000: one typed length near the root of a
//    1,000-line switchboard, the whole journal computed again and the table
//    repainted (aim: under 50 ms, so no "Расчет" button is needed).
//  - BM_JournalEditRecalcRepaint/100000: the same edit in a 100,000-line
//    journal: the window's share only (the change, the model and the repaint;
//    the calculation waits for a pause in the typing and runs on a worker
//    thread). Aim: under 100 ms, so the window never freezes.
//  - BM_JournalInsertLine/100000: a line inserted (a structural change: the
//    model's rows are rebuilt) and the table repainted.
//  - BM_JournalBackgroundCalculation/100000: what the worker thread does after
//    the pause, for reference: not on the window's thread.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>
#include <clocale>

#include "document/journal_document.h"
#include "switchboard_journal.h"
#include "widgets/file_chooser.h"
#include "widgets/journal_form.h"
#include "widgets/journal_model.h"
#include "widgets/message_sink.h"

namespace {

int g_argc = 1;
char g_name[] = "bench_ui_journal";
char* g_argv[] = {g_name, nullptr};

void Application() {
  if (QApplication::instance() == nullptr) {
    new QApplication(g_argc, g_argv);
    std::setlocale(LC_NUMERIC, "C");
  }
}

// A journal of `lines` lines in the window, shown and painted once.
struct Shown {
  explicit Shown(int lines) : form(journal, messages, files) {
    tesmir::JournalDocument document;
    document.network = tesmir::bench::SwitchboardJournal(lines);
    journal.reset(std::move(document));
    form.show();
    form.table()->setCurrentIndex(form.model().index(0, 0));
    QApplication::processEvents();
  }
  void repaint() { form.table()->viewport()->repaint(); }
  tesmir::BoxMessageSink messages;
  tesmir::DialogFileChooser files;
  tesmir::LineJournal journal;
  tesmir::JournalForm form;
};

// Line W2 is a root line: every line under it changes with its length.
void BM_JournalEditRecalcRepaint(benchmark::State& state) {
  Application();
  Shown shown(static_cast<int>(state.range(0)));
  bool longer = false;
  for (auto _ : state) {
    longer = !longer;
    const QString refused =
        shown.journal.setText(1, tesmir::LineField::Length, longer ? QStringLiteral("30") : QStringLiteral("6"));
    benchmark::DoNotOptimize(refused);
    shown.repaint();
  }
  state.counters["computed_at_once"] = shown.journal.resultsCurrent() ? 1 : 0;
  shown.journal.markSaved();
}
BENCHMARK(BM_JournalEditRecalcRepaint)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_JournalInsertLine(benchmark::State& state) {
  Application();
  Shown shown(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    shown.journal.insertLine(shown.journal.lineCount());
    shown.repaint();
    state.PauseTiming();
    shown.journal.undoStack().undo();
    state.ResumeTiming();
  }
  shown.journal.markSaved();
}
BENCHMARK(BM_JournalInsertLine)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_JournalBackgroundCalculation(benchmark::State& state) {
  const tesmir::JournalNetwork network = tesmir::bench::SwitchboardJournal(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(tesmir::ComputeJournal(network));
  }
}
BENCHMARK(BM_JournalBackgroundCalculation)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
