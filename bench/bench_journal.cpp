// The line journal: 100,000 lines in a tree of depth 8 computed at once, and
// the memory the computation takes beyond its input.
#include <benchmark/benchmark.h>

#include <malloc.h>
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

}  // namespace

BENCHMARK_MAIN();
