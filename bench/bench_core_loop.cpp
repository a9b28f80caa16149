// One full calculation of a six-section mixed feeder from control texts:
// reading every number, every catalogue lookup and the loop itself, with the
// heap allocations one calculation makes.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "core/loop_calc.h"
#include "mixed_feeder.h"

namespace {

std::atomic<long long> allocations{0};

}  // namespace

void* operator new(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  ++allocations;
  return p;
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

void BM_LoopCalculation(benchmark::State& st) {
  const tesmir::SchemeInput input = tesmir::bench::MixedFeeder();
  tesmir::SchemeState state;
  long long made = 0;
  long long runs = 0;
  for (auto _ : st) {
    const long long before = allocations.load();
    tesmir::CalcOutcome out = tesmir::RunLoopCalculation(input, state);
    benchmark::DoNotOptimize(out);
    benchmark::DoNotOptimize(state.Iokz);
    made += allocations.load() - before;
    ++runs;
    if (!out) st.SkipWithError(out.error().message.c_str());
  }
  // The result line is one; the state's texts are written in place.
  st.counters["allocations_per_calculation"] = runs > 0 ? static_cast<double>(made) / static_cast<double>(runs) : 0;
}
BENCHMARK(BM_LoopCalculation);

}  // namespace

BENCHMARK_MAIN();
