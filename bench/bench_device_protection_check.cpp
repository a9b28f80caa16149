// The whole protection check of a calculated six-section feeder: the heated
// minimum current, both length limits, the smallest cross-section search
// through the cable catalogue, the three-phase currents and the label texts.
#include <benchmark/benchmark.h>
#include <cstdlib>

#include "core/loop_calc.h"
#include "device/device_check.h"
#include "device/protection_check.h"
#include "mixed_feeder.h"

namespace {

tesmir::SchemeState CalculatedFeeder() {
  tesmir::SchemeState state;
  if (!tesmir::RunLoopCalculation(tesmir::bench::MixedFeeder(), state)) std::abort();
  return state;
}

tesmir::DeviceSettings Breaker() {
  tesmir::DeviceDialogInput in;
  in.tokAVnom = "16";
  in.tokNR = "10 (\"C\")";
  in.kzAV = "1.1";
  tesmir::DeviceSettings settings;
  if (!tesmir::AcceptDevice(in, settings, {})) std::abort();
  return settings;
}

void BM_ProtectionCheck(benchmark::State& st) {
  const tesmir::SchemeState scheme = CalculatedFeeder();
  const tesmir::DeviceSettings device = Breaker();
  const tesmir::NumberSeparators seps{",", "\u00a0"};
  if (!(scheme.Zsum > 0) || !(device.TokSR > 0)) st.SkipWithError("feeder or device not accepted");
  for (auto _ : st) {
    const tesmir::ProtectionCheckResult result = tesmir::CheckProtection(scheme, device);
    tesmir::ProtectionCheckTexts texts = tesmir::FormatProtectionCheck(result, seps);
    tesmir::BreakingVerdict verdict = tesmir::JudgeBreakingCapacity("15", result.ik3Device);
    benchmark::DoNotOptimize(texts);
    benchmark::DoNotOptimize(verdict);
  }
}
BENCHMARK(BM_ProtectionCheck);

}  // namespace

BENCHMARK_MAIN();
