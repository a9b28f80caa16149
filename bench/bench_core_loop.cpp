// One full calculation of a six-section mixed feeder from control texts:
// reading every number, every catalogue lookup and the loop itself.
#include <benchmark/benchmark.h>

#include "core/loop_calc.h"
#include "mixed_feeder.h"

namespace {

void BM_LoopCalculation(benchmark::State& st) {
  const tesmir::SchemeInput input = tesmir::bench::MixedFeeder();
  tesmir::SchemeState state;
  for (auto _ : st) {
    tesmir::CalcOutcome out = tesmir::RunLoopCalculation(input, state);
    benchmark::DoNotOptimize(out);
    benchmark::DoNotOptimize(state.Iokz);
    if (!out) st.SkipWithError(out.error().message.c_str());
  }
}
BENCHMARK(BM_LoopCalculation);

}  // namespace

BENCHMARK_MAIN();
