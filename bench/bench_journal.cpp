// The line journal: 100,000 lines in a tree of depth 8 computed at once, and
// the memory the computation takes beyond its input.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>

#include "journal/journal_calc.h"
#include "switchboard_journal.h"

namespace {

// Heap bytes in use and their peak, counted by the replaced operator new.
std::atomic<long long> inUse{0};
std::atomic<long long> peak{0};

}  // namespace

// GCC cannot see that this operator delete frees what the operator new above
// took from malloc.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  const long long now = inUse += static_cast<long long>(malloc_usable_size(p));
  long long seen = peak.load();
  while (now > seen && !peak.compare_exchange_weak(seen, now)) {
  }
  return p;
}
void operator delete(void* p) noexcept {
  if (p == nullptr) return;
  inUse -= static_cast<long long>(malloc_usable_size(p));
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

void BM_JournalComputation(benchmark::State& st) {
  const tesmir::JournalNetwork net = tesmir::bench::SwitchboardJournal();
  long long extra = 0;
  long long kept = 0;
  for (auto _ : st) {
    const long long before = inUse.load();
    peak = before;
    tesmir::JournalResult result = tesmir::ComputeJournal(net);
    benchmark::DoNotOptimize(result.lines.data());
    extra = peak.load() - before;
    kept = inUse.load() - before;
    if (!result.lines.back().error().empty()) st.SkipWithError(result.lines.back().error().c_str());
  }
  const double lines = static_cast<double>(net.lines.size());
  st.counters["peak_bytes_per_line"] = static_cast<double>(extra) / lines;
  st.counters["result_bytes_per_line"] = static_cast<double>(kept) / lines;
}
BENCHMARK(BM_JournalComputation)->Unit(benchmark::kMillisecond);

// The same 100,000 lines with their parent links spoilt: every line on one
// cycle, every line's parent missing, or ten chains 10,000 lines deep. Each
// must answer within the bound of the good switchboard.
enum class Spoilt { Cycle, MissingParents, DeepChains };

void BM_JournalComputationOfBadLinks(benchmark::State& st) {
  tesmir::JournalNetwork net = tesmir::bench::SwitchboardJournal();
  const auto kind = static_cast<Spoilt>(st.range(0));
  const std::size_t n = net.lines.size();
  constexpr std::size_t kChainDepth = 10000;
  for (std::size_t i = 0; i < n; ++i) {
    tesmir::JournalLine& line = net.lines[i];
    switch (kind) {
      case Spoilt::Cycle:
        line.parent = net.lines[(i + 1) % n].id;
        break;
      case Spoilt::MissingParents:
        line.parent = "X" + line.id;
        break;
      case Spoilt::DeepChains:
        if (i % kChainDepth == 0) {
          line.parent.reset();
        } else {
          line.parent = net.lines[i - 1].id;
        }
        break;
    }
  }
  std::size_t failed = 0;
  for (auto _ : st) {
    tesmir::JournalResult result = tesmir::ComputeJournal(net);
    failed = static_cast<std::size_t>(std::count_if(result.lines.begin(), result.lines.end(),
                                                    [](const tesmir::LineResult& r) { return !r.error().empty(); }));
    benchmark::DoNotOptimize(result.lines.data());
  }
  st.counters["lines_with_an_error"] = static_cast<double>(failed);
}
BENCHMARK(BM_JournalComputationOfBadLinks)
    ->ArgName("cycle0_missing1_chains2")
    ->Arg(static_cast<int>(Spoilt::Cycle))
    ->Arg(static_cast<int>(Spoilt::MissingParents))
    ->Arg(static_cast<int>(Spoilt::DeepChains))
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
