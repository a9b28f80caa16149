// Start-up of the program's windows and one calculation through the main
// window, on whatever Qt platform the environment names (bench.sh: offscreen).
//
// BM_ColdStart forks a fresh child per iteration that does what main() does
// (QApplication, the windows, the main window shown and exposed) and exits;
// the time runs from the fork to the child's exit, so it holds the platform
// plugin, the font database and every window, but not the dynamic loading of
// the Qt libraries the parent already mapped.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QWindow>
#include <chrono>
#include <clocale>
#include <memory>

#include "app/app.h"

namespace {

int g_argc = 1;
char g_name[] = "bench_ui_startup";
char* g_argv[] = {g_name, nullptr};

// Shows the main window and runs the event loop until it is on screen, for
// at most ten seconds; false when it never got there.
bool ShowAndWait(tesmir::App& app) {
  app.showMainWindow();
  const QDeadlineTimer deadline(std::chrono::seconds(10));
  QWindow* handle = app.mainForm().windowHandle();
  while (handle == nullptr || !handle->isExposed()) {
    if (deadline.hasExpired()) {
      return false;
    }
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    handle = app.mainForm().windowHandle();
  }
  QApplication::processEvents();
  return true;
}

void BM_ColdStart(benchmark::State& state) {
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
      QApplication application(g_argc, g_argv);
      std::setlocale(LC_NUMERIC, "C");
      tesmir::BoxMessageSink messages;
      tesmir::DialogFileChooser files;
      tesmir::App app(messages, files);
      _exit(ShowAndWait(app) && app.mainForm().isVisible() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("the child did not show the main window");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  }
}
BENCHMARK(BM_ColdStart)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// The rest share one QApplication, created after the forking benchmark.
QApplication& Application() {
  static auto* application = new QApplication(g_argc, g_argv);
  return *application;
}

// Creating every window and showing the main window once Qt is warm.
void BM_WindowsCreatedAndShown(benchmark::State& state) {
  Application();
  tesmir::BoxMessageSink messages;
  tesmir::DialogFileChooser files;
  for (auto _ : state) {
    auto app = std::make_unique<tesmir::App>(messages, files);
    if (!ShowAndWait(*app)) {
      state.SkipWithError("the main window did not come on screen");
      break;
    }
    app.reset();
  }
}
BENCHMARK(BM_WindowsCreatedAndShown)->Unit(benchmark::kMillisecond);

// "Расчет" on the starting window: reading the controls, the loop
// calculation, the result line and every text of the results window.
void BM_CalculateAndFillResults(benchmark::State& state) {
  Application();
  tesmir::BoxMessageSink messages;
  tesmir::DialogFileChooser files;
  tesmir::App app(messages, files);
  for (auto _ : state) {
    app.mainForm().StartButtonClick();
  }
  if (app.scheme().Iokz <= 0) {
    state.SkipWithError("the calculation failed");
  }
}
BENCHMARK(BM_CalculateAndFillResults)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
