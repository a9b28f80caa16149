// One full calculation of a six-section mixed feeder from control texts:
// reading every number, every catalogue lookup and the loop itself.
#include <benchmark/benchmark.h>

#include "core/loop_calc.h"

namespace {

tesmir::SchemeInput MixedFeeder() {
  tesmir::SchemeInput in;
  in.windKind = "T/Y-0";
  in.transPower = "630";
  in.rArc = "15";
  in.lines[0] = {"Кабель с бумажной изоляцией", "Алюминий", "240", "120", "85.5", "2"};
  in.lines[1] = {"Шинопровод Gersan", "GSC, 2500A", "0", "0", "40", "нет"};
  in.lines[2] = {"Кабель с ПВХ изоляцией", "Медь", "95", "50", "120", "нет"};
  in.lines[3] = {"Шинопровод ШМА, ШРА", "ШРА73, 400A", "0", "0", "60", "1"};
  in.lines[4] = {"Воздушная", "Алюминий", "70", "50", "350", "нет"};
  in.lines[5] = {"Кабель с ПВХ изоляцией", "Медь", "2.5", "2.5", "25", "$1"};
  return in;
}

void BM_LoopCalculation(benchmark::State& st) {
  const tesmir::SchemeInput input = MixedFeeder();
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
