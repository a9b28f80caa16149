// The whole protection check of a calculated six-section feeder: the heated
// minimum current, both length limits, the smallest cross-section search
// through the cable catalogue, the three-phase currents and the label texts.
#include <cstdlib>
#include <benchmark/benchmark.h>

#include "core/loop_calc.h"
#include "device/device_check.h"
#include "device/protection_check.h"

namespace {

tesmir::SchemeState MixedFeeder() {
  tesmir::SchemeInput in;
  in.windKind = "T/Y-0";
  in.transPower = "630";
  in.rArc = "15";
  in.lines[0] = {"Кабель с бумажной изоляцией", "Алюминий", "240", "120", "85.5", "2"};
  in.lines[1] = {"Шинопровод Gersan", "GSC, 2500A", "0", "0", "40", "нет"};
  in.lines[2] = {"Кабель с ПВХ изоляцией", "Медь", "95", "50", "120", "нет"};
  in.lines[3] = {"Шинопровод ШМА, ШРА", "ШРА73, 400A", "0", "0", "60", "1"};
  in.lines[4] = {"Воздушная", "Алюминий", "70", "50", "350", "нет"};
  // The last section: its smallest section is searched through the catalogue.
  in.lines[5] = {"Кабель с ПВХ изоляцией", "Медь", "2.5", "2.5", "25", "нет"};
  tesmir::SchemeState state;
  if (!tesmir::RunLoopCalculation(in, state)) std::abort();
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
  const tesmir::SchemeState scheme = MixedFeeder();
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
