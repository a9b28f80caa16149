// Тесмир's start beside a bare Qt Widgets window (startup_minimal_window):
// paired runs, the two programs one after the other in alternating order, on
// whatever Qt platform the environment names (run it under xvfb-run for X11).
//
// BM_PairedStart: per pair, from the process start to the first painted main
// window and from the start to the exit right after it; the counters give the
// medians (ms) and Тесмир's medians over the minimal window's.
// BM_IdleMemory: resident and proportional memory (MB) a second after the
// first paint, medians, and the ratios.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

long long NowNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

std::string Beside(const char* name) {
  std::array<char, 4096> self{};
  const ssize_t n = readlink("/proc/self/exe", self.data(), self.size() - 1);
  std::string path(self.data(), n > 0 ? static_cast<std::size_t>(n) : 0);
  return path.substr(0, path.rfind('/') + 1) + name;
}

struct Run {
  double paintMs = 0;
  double exitMs = 0;
  double rssMb = 0;
  double pssMb = 0;
};

// Starts `program` in `mode`, reads its one line, waits for its exit.
std::optional<Run> Start(const std::string& program, const char* mode) {
  int out[2];
  if (pipe(out) != 0) {
    return std::nullopt;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    if (std::strncmp(*e, "TESMIR_BENCH_", 13) != 0) env.emplace_back(*e);
  }
  env.push_back(std::string("TESMIR_BENCH_MODE=") + mode);
  const long long start = NowNs();
  env.push_back("TESMIR_BENCH_T0=" + std::to_string(start));
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string arg0 = program;
  char* argv[] = {arg0.data(), nullptr};
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (spawned != 0) {
    close(out[0]);
    return std::nullopt;
  }
  std::string line;
  std::array<char, 256> buffer{};
  ssize_t got = 0;
  while ((got = read(out[0], buffer.data(), buffer.size())) > 0)
    line.append(buffer.data(), static_cast<std::size_t>(got));
  close(out[0]);
  int status = 0;
  waitpid(child, &status, 0);
  const long long end = NowNs();
  long long paint = -1;
  long rss = -1;
  long pss = -1;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
      std::sscanf(line.c_str(), "paint_ns=%lld rss_kb=%ld pss_kb=%ld", &paint, &rss, &pss) != 3 || paint < 0) {
    return std::nullopt;
  }
  return Run{static_cast<double>(paint) / 1e6, static_cast<double>(end - start) / 1e6, static_cast<double>(rss) / 1024,
             static_cast<double>(pss) / 1024};
}

double Median(std::vector<double> values) {
  if (values.empty()) {
    return 0;
  }
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

struct Pairs {
  std::vector<Run> minimal;
  std::vector<Run> tesmir;
};

bool RunPair(benchmark::State& state, const char* mode, Pairs& pairs) {
  const std::string minimal = Beside("startup_minimal_window");
  const std::string tesmir = Beside("startup_tesmir_window");
  // Alternating order, so neither always runs on a warmer cache.
  const bool minimalFirst = pairs.minimal.size() % 2 == 0;
  std::optional<Run> a = Start(minimalFirst ? minimal : tesmir, mode);
  std::optional<Run> b = Start(minimalFirst ? tesmir : minimal, mode);
  if (!a || !b) {
    state.SkipWithError("a program did not paint its window or failed");
    return false;
  }
  pairs.minimal.push_back(minimalFirst ? *a : *b);
  pairs.tesmir.push_back(minimalFirst ? *b : *a);
  state.SetIterationTime((minimalFirst ? b : a)->paintMs / 1e3);
  return true;
}

template <typename Field>
double MedianOf(const std::vector<Run>& runs, Field field) {
  std::vector<double> values;
  for (const Run& r : runs) values.push_back(r.*field);
  return Median(values);
}

void BM_PairedStart(benchmark::State& state) {
  Pairs pairs;
  for (auto _ : state) {
    if (!RunPair(state, "exit", pairs)) {
      return;
    }
  }
  const double minimalPaint = MedianOf(pairs.minimal, &Run::paintMs);
  const double tesmirPaint = MedianOf(pairs.tesmir, &Run::paintMs);
  const double minimalExit = MedianOf(pairs.minimal, &Run::exitMs);
  const double tesmirExit = MedianOf(pairs.tesmir, &Run::exitMs);
  state.counters["minimal_paint_ms"] = minimalPaint;
  state.counters["tesmir_paint_ms"] = tesmirPaint;
  state.counters["paint_ratio"] = tesmirPaint / minimalPaint;
  state.counters["minimal_exit_ms"] = minimalExit;
  state.counters["tesmir_exit_ms"] = tesmirExit;
  state.counters["exit_ratio"] = tesmirExit / minimalExit;
}
BENCHMARK(BM_PairedStart)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_IdleMemory(benchmark::State& state) {
  Pairs pairs;
  for (auto _ : state) {
    if (!RunPair(state, "idle", pairs)) {
      return;
    }
  }
  const double minimalRss = MedianOf(pairs.minimal, &Run::rssMb);
  const double tesmirRss = MedianOf(pairs.tesmir, &Run::rssMb);
  const double minimalPss = MedianOf(pairs.minimal, &Run::pssMb);
  const double tesmirPss = MedianOf(pairs.tesmir, &Run::pssMb);
  state.counters["minimal_rss_mb"] = minimalRss;
  state.counters["tesmir_rss_mb"] = tesmirRss;
  state.counters["rss_ratio"] = tesmirRss / minimalRss;
  state.counters["minimal_pss_mb"] = minimalPss;
  state.counters["tesmir_pss_mb"] = tesmirPss;
  state.counters["pss_ratio"] = tesmirPss / minimalPss;
}
BENCHMARK(BM_IdleMemory)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
