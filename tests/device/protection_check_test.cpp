// The protection check of a calculated feeder. Every scheme and device goes
// through the program's own calculation and device acceptance first, so the
// check is fed exactly what the windows hand it.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/loop_calc.h"
#include "device/device_check.h"
#include "device/protection_check.h"

namespace tesmir {
namespace {

const NumberSeparators kRussian{",", "\u00a0"};

SchemeState Calculate(const SchemeInput& input) {
  SchemeState state;
  const CalcOutcome out = RunLoopCalculation(input, state);
  EXPECT_TRUE(out.ok) << out.message;
  return state;
}

// A transformer and one section in row 1, every other row as the window starts.
SchemeInput Feeder(const std::string& wind, const std::string& power, const std::string& arc, const LineInput& line) {
  SchemeInput in = DefaultSchemeInput();
  in.windKind = wind;
  in.transPower = power;
  in.rArc = arc;
  in.lines[0] = line;
  return in;
}

LineInput PvcCopper(const std::string& section, const std::string& length) {
  return {"Кабель с ПВХ изоляцией", "Медь", section, section, length, "нет"};
}

// The feeder: "T/Y-0" 400 kVA, arc 15 mOhm, PVC copper cable.
SchemeInput WorkedFeeder(const std::string& length) { return Feeder("T/Y-0", "400", "15", PvcCopper("2.5", length)); }

DeviceSettings Breaker(const std::string& rated, const std::string& multiple, const std::string& factor) {
  DeviceDialogInput in;
  in.breaker = true;
  in.tokAVnom = rated;
  in.tokNR = multiple;
  in.kzAV = factor;
  DeviceSettings settings;
  EXPECT_TRUE(AcceptDevice(in, settings, {}).ok);
  return settings;
}

DeviceSettings Breaker16() { return Breaker("16", "10 (\"C\")", "1.1"); }  // Iср = 176 A

DeviceSettings Fuse(const std::string& type, const std::string& rating, const std::string& time) {
  DeviceDialogInput in;
  in.breaker = false;
  in.typePP = type;
  in.tokPP = rating;
  in.kzPP = "1.1";
  in.timePP = time;
  DeviceSettings settings;
  EXPECT_TRUE(AcceptDevice(in, settings, {}).ok);
  return settings;
}

TEST(ProtectionCheck, WorkedFeederLengths) {
  const ProtectionCheckResult r = CheckProtection(Calculate(WorkedFeeder("50")), Breaker16());
  EXPECT_EQ(r.tripCurrent, 176);
  EXPECT_EQ(r.lastLine, 1);
  ASSERT_EQ(r.lengthMax.state, FigureState::Value);
  EXPECT_NEAR(r.lengthMax.value, 87.235, 1e-3);
  ASSERT_EQ(r.lengthMaxHot.state, FigureState::Value);
  EXPECT_NEAR(r.lengthMaxHot.value, 66.78, 1e-2);

  // At 50 m even 1.5 mm² carries 184.6 A; heated, 1.5 mm² gives 141.9 A and
  // 2.5 mm² 233.7 A.
  EXPECT_EQ(r.sectionMin.text, "1.5");
  EXPECT_NEAR(r.sectionMin.current, 184.6, 0.05);
  EXPECT_EQ(r.sectionMinHot.text, "2.5");
  EXPECT_NEAR(r.sectionMinHot.current, 233.7, 0.05);

  const ProtectionCheckTexts t = FormatProtectionCheck(r, kRussian);
  EXPECT_EQ(t.lengthMax.text, "87 м");
  EXPECT_EQ(t.lengthMaxHot.text, "66 м");
  EXPECT_EQ(t.sectionMin.text, "1,5 кв.мм.");
  EXPECT_EQ(t.sectionMinHot.text, "2,5 кв.мм.");
  EXPECT_TRUE(t.lengthMax.reason.empty());
}

TEST(ProtectionCheck, WorkedFeederAt120mNeedsFourSquareMillimetres) {
  const SchemeState feeder = Calculate(WorkedFeeder("120"));
  EXPECT_NEAR(feeder.Iokz, 128.5, 0.05);  // the 2.5 mm² it has now does not trip the breaker
  const ProtectionCheckResult r = CheckProtection(feeder, Breaker16());
  ASSERT_EQ(r.sectionMin.section.state, FigureState::Value);
  EXPECT_EQ(r.sectionMin.section.value, 4);
  EXPECT_NEAR(r.sectionMin.current, 203.9, 0.05);
  // Heated: 4 mm² gives 0.95 × 231000 / |20.9 + 1.24 × 1111.2 + j42.69| = 156.8 A,
  // 6 mm² 0.95 × 231000 / |20.9 + 1.24 × 741.6 + j41.01| = 233.1 A.
  EXPECT_EQ(r.sectionMinHot.text, "6");
  EXPECT_NEAR(r.sectionMinHot.current, 233.1, 0.05);
  // The length limits do not depend on the length the section has now.
  EXPECT_NEAR(r.lengthMax.value, 87.235, 1e-3);

  const ProtectionCheckTexts t = FormatProtectionCheck(r, kRussian);
  EXPECT_EQ(t.sectionMin.text, "4 кв.мм.");
  EXPECT_EQ(t.sectionMinHot.text, "6 кв.мм.");
  EXPECT_EQ(t.iokzMinStatus, "Несрабатывание за нормативное время");
}

TEST(ProtectionCheck, ThreePhaseCurrentOf630kVA) {
  // "T/Y-0" 630 kVA: Z1 = |10.28 + j40.62| / 3 = 13.967 mOhm (uk = 5.5 %),
  // Ik3 = 1.05 × 400 V / (√3 × 13.967 mOhm) = 17.36 kA.
  for (const char* wind : {"T/Y-0", "Y/Y-0"}) {
    SCOPED_TRACE(wind);
    const ProtectionCheckResult r =
        CheckProtection(Calculate(Feeder(wind, "630", "15", PvcCopper("0", "0"))), Breaker16());
    ASSERT_EQ(r.ik3Device.state, FigureState::Value);
    EXPECT_NEAR(r.ik3Device.value, 17361.6, 0.1);
    EXPECT_EQ(r.ik3Point.value, r.ik3Device.value);  // no line between
    const ProtectionCheckTexts t = FormatProtectionCheck(r, kRussian);
    EXPECT_EQ(t.ik3Device.text, "17,36 кА");
    EXPECT_EQ(FormatProtectionCheck(r, {}).ik3Device.text, "17.36 кА");
  }
}

// Hand-computed cases with standard inputs.
TEST(ProtectionCheck, HandComputedThreePhaseCurrentOf1000kVA) {
  // A 1000 kVA, 10/0.4 kV transformer with uk = 5.5 %: by IEC 60909-0, eq. (7),
  // ZT = uk U² / S = 0.055 × (400 V)² / 1000 kVA = 8.80 mOhm; the catalogue
  // gives |5.18 + j25.89| / 3 = 8.801 mOhm. Eq. (29) with c_max = 1.05
  // (Table 1, low voltage): Ik3 = 1.05 × 400 V / (√3 × 8.801 mOhm) = 27.55 kA.
  const ProtectionCheckResult r =
      CheckProtection(Calculate(Feeder("Y/Y-0", "1000", "0", PvcCopper("0", "0"))), Breaker16());
  EXPECT_NEAR(r.ik3Device.value, 27552.1, 0.1);
  EXPECT_NEAR(r.ik3Device.value, 1.05 * 400000 / (std::sqrt(3.0) * 8.80), 5.0);
  EXPECT_EQ(FormatProtectionCheck(r, kRussian).ik3Device.text, "27,55 кА");
}

TEST(ProtectionCheck, HandComputedHeatedCableAndFuse) {
  // "Y/Y-0" 400 kVA (Rt/3 = 22.2, Xt/3 = 61.093 mOhm), 100 m of paper-insulated
  // aluminium cable 16 mm² (r = 1.95, x = 0.0675 mOhm/m per conductor: loop
  // 390 + j13.5 mOhm), arc 15 mOhm; fuse ППН 63 A at 5 s: 330 A × 1.1 = 363 A.
  //
  // Minimum current, IEC 60909-0 (c_min = 0.95; R = [1 + 0.004 (80 − 20)] R20 = 1.24 R20):
  //   Rmin = 22.2 + 1.24 × 390 + 15 = 520.8, Xsum = 74.593, Zmin = 526.115 mOhm,
  //   Iмин = 0.95 × 231000 / 526.115 = 417.1 A (the result line has 533 A).
  // Longest cable, (37.2 + 3.9 L)² + (61.093 + 0.135 L)² = (231000 / 363)²:
  //   L = 152.28 m; heated, (37.2 + 4.836 L)² + (61.093 + 0.135 L)² = (219450 / 363)²:
  //   L = 116.30 m.
  // Three-phase at the fault point: Z1 of "T/Y-0" 400 kVA = 5.9 + j17.007, plus
  //   the phase conductor 195 + j6.75: |200.9 + j23.757| = 202.30 mOhm,
  //   Ik3 = 1.05 × 400 V / (√3 × 202.30 mOhm) = 1.20 kA.
  const LineInput cable{"Кабель с бумажной изоляцией", "Алюминий", "16", "16", "100", "нет"};
  const ProtectionCheckResult r =
      CheckProtection(Calculate(Feeder("Y/Y-0", "400", "15", cable)), Fuse("ППН", "63", "Тср < 5 с"));
  EXPECT_NEAR(r.iokzMin.value, 417.11, 0.01);
  EXPECT_EQ(r.iokzMinStatus, "Срабатывание за нормативное время");
  EXPECT_NEAR(r.lengthMax.value, 152.28, 0.01);
  EXPECT_NEAR(r.lengthMaxHot.value, 116.30, 0.01);
  EXPECT_NEAR(r.ik3Point.value, 1198.65, 0.01);

  const ProtectionCheckTexts t = FormatProtectionCheck(r, kRussian);
  EXPECT_EQ(t.iokzMin.text, "417 А");
  EXPECT_EQ(t.lengthMax.text, "152 м");
  EXPECT_EQ(t.lengthMaxHot.text, "116 м");
  EXPECT_EQ(t.ik3Point.text, "1,20 кА");

  // Two parallel cables halve the loop per metre: the limits double.
  LineInput twice = cable;
  twice.quanPar = "2";
  const ProtectionCheckResult r2 =
      CheckProtection(Calculate(Feeder("Y/Y-0", "400", "15", twice)), Fuse("ППН", "63", "Тср < 5 с"));
  EXPECT_NEAR(r2.lengthMax.value, 2 * 152.28, 0.02);
  // Twice 4 mm² gives 281.3 A, twice 6 mm² 410.6 A; heated, twice 6 mm²
  // 319.5 A and twice 10 mm² 510.9 A.
  EXPECT_EQ(r2.sectionMin.text, "6");
  EXPECT_EQ(r2.sectionMinHot.text, "10");
}

TEST(ProtectionCheck, TheLastSectionIsTheLastOneWithALength) {
  SchemeInput in = WorkedFeeder("50");
  in.lines[3] = {"Шинопровод Canalis", "KS, 250A", "0", "0", "10", "нет"};  // loop 1.183 + j0.41 mOhm/m
  const ProtectionCheckResult r = CheckProtection(Calculate(in), Breaker16());
  EXPECT_EQ(r.lastLine, 4);
  // The busbar's loop per metre limits its length; the cable's 50 m stay in
  // R0 = 5.9 + 15 + 740 = 760.9, X0 = 17.007 + 11.6 = 28.607 mOhm:
  // (760.9 + 1.183 L)² + (28.607 + 0.41 L)² = (231000 / 176)² gives L = 451.47 m.
  EXPECT_NEAR(r.lengthMax.value, 451.47, 0.01);
  EXPECT_EQ(r.sectionMin.section.state, FigureState::Undefined);
  const ProtectionCheckTexts t = FormatProtectionCheck(r, kRussian);
  EXPECT_EQ(t.sectionMin.text, "—");
  EXPECT_EQ(t.sectionMinHot.reason, check_texts::kWhyBusbar);
}

struct Degenerate {
  const char* name;
  SchemeInput feeder;
  DeviceSettings device;
  // Expected label texts; "—" comes with the reason given.
  const char* iokzMinStatus;
  const char* lengthMax;
  const char* lengthMaxHot;
  std::string_view lengthReason;
  const char* sectionMin;
  const char* sectionMinHot;
  const char* ik3Device;
  std::string_view ik3Reason;
};

class DegenerateTest : public ::testing::TestWithParam<Degenerate> {};

TEST_P(DegenerateTest, ShowsWhatCannotBeGiven) {
  const Degenerate& d = GetParam();
  const ProtectionCheckTexts t = FormatProtectionCheck(CheckProtection(Calculate(d.feeder), d.device), kRussian);
  EXPECT_EQ(t.iokzMinStatus, d.iokzMinStatus);
  EXPECT_EQ(t.lengthMax.text, d.lengthMax);
  EXPECT_EQ(t.lengthMaxHot.text, d.lengthMaxHot);
  EXPECT_EQ(t.lengthMax.reason, d.lengthReason);
  EXPECT_EQ(t.sectionMin.text, d.sectionMin);
  EXPECT_EQ(t.sectionMinHot.text, d.sectionMinHot);
  EXPECT_EQ(t.ik3Device.text, d.ik3Device);
  EXPECT_EQ(t.ik3Device.reason, d.ik3Reason);
  EXPECT_EQ(t.ik3Point.reason, d.ik3Reason);
  EXPECT_NE(t.iokzMin.text, "—");  // the minimum current is always there after a calculation
}

DeviceSettings Forgotten() {
  DeviceSettings settings = Breaker16();
  ResetDevice(settings);
  return settings;
}

// "T/Y-0" 400 kVA: Ik3 = 1.05 × 400 V / (√3 × |5.9 + j17.007| mOhm) = 13.47 kA.
INSTANTIATE_TEST_SUITE_P(
    All, DegenerateTest,
    ::testing::Values(
        Degenerate{"NoLength", Feeder("T/Y-0", "400", "15", PvcCopper("2.5", "0")), Breaker16(),
                   "Срабатывание за нормативное время", "—", "—", check_texts::kWhyNoLine, "—", "—", "13,47 кА", {}},
        Degenerate{"NoDeviceYet", WorkedFeeder("50"), DeviceSettings{}, "Аппарат защиты не выбран", "—", "—",
                   check_texts::kWhyNoDevice, "—", "—", "13,47 кА", {}},
        Degenerate{"DeviceForgotten", WorkedFeeder("50"), Forgotten(), "Аппарат защиты не выбран", "—", "—",
                   check_texts::kWhyNoDevice, "—", "—", "13,47 кА", {}},
        // 1600 A × 20 × 1.2 = 38400 A: more than the transformer gives even
        // at its terminals, so no length and no section will do.
        Degenerate{"NothingEnough", WorkedFeeder("120"), Breaker("1600", "20 (\"D\")", "1.2"),
                   "Несрабатывание за нормативное время", "не обеспечивается при любой длине",
                   "не обеспечивается при любой длине", {}, "нет в каталоге", "нет в каталоге", "13,47 кА", {}},
        // Sections "0" with a length: the length changes nothing. 30 m of
        // 1.5 mm² would give 304 A, heated 234 A.
        Degenerate{"NoConductor", Feeder("T/Y-0", "400", "15", PvcCopper("0", "30")), Breaker16(),
                   "Срабатывание за нормативное время", "—", "—", check_texts::kWhyNoConductor, "1,5 кв.мм.",
                   "1,5 кв.мм.", "13,47 кА", {}},
        // "1/1-0" 10 kVA: R0 = 142.833 + 15, X0 = 222.633 mOhm; the limits are
        // 76.5 m and, heated, 58.1 m.
        Degenerate{"SinglePhase", Feeder("1/1-0", "10", "15", PvcCopper("2.5", "20")), Breaker16(),
                   "Срабатывание за нормативное время", "76 м", "58 м", {}, "1,5 кв.мм.", "1,5 кв.мм.", "—",
                   check_texts::kWhySinglePhase},
        // "Y/Y-0" 320 kVA has no "T/Y-0" counterpart. At 50 m 1.5 mm² gives
        // 180.6 A, heated 139.4 A; 2.5 mm² heated 226.7 A.
        Degenerate{"NoTriangleStarEntry", Feeder("Y/Y-0", "320", "15", PvcCopper("2.5", "50")), Breaker16(),
                   "Срабатывание за нормативное время", "85 м", "65 м", {}, "1,5 кв.мм.", "2,5 кв.мм.", "—",
                   check_texts::kWhyNoTriangleStar}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProtectionCheck, NothingCalculatedYet) {
  const ProtectionCheckTexts t = FormatProtectionCheck(CheckProtection(SchemeState{}, Breaker16()), kRussian);
  for (const FigureText* f : {&t.iokzMin, &t.lengthMax, &t.lengthMaxHot, &t.sectionMin, &t.sectionMinHot,
                              &t.ik3Device, &t.ik3Point}) {
    EXPECT_EQ(f->text, "—");
    EXPECT_EQ(f->reason, check_texts::kWhyNoCalculation);
  }
}

TEST(ProtectionCheck, BreakingCapacityVerdicts) {
  const CheckFigure ik3{FigureState::Value, 17361.6, {}};  // 17,36 kA
  struct Case {
    const char* typed;
    std::string_view status;
    bool message;
  };
  const Case cases[] = {
      {"", "", false},
      {"20", check_texts::kBreakingEnough, false},
      {"17.37", check_texts::kBreakingEnough, false},
      {"1e2", check_texts::kBreakingEnough, false},
      {" 17.4", check_texts::kBreakingEnough, false},
      {"17.36", check_texts::kBreakingShort, false},  // the unrounded current is 17.3616 kA
      {"6", check_texts::kBreakingShort, false},
      {"17,5", "", true},
      {"abc", "", true},
      {"0", "", true},
      {"-20", "", true},
      {"  ", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const BreakingVerdict v = JudgeBreakingCapacity(c.typed, ik3);
    EXPECT_EQ(v.status, c.status);
    EXPECT_EQ(v.message, c.message ? check_texts::kBadBreakingCapacity : "");
  }
  const BreakingVerdict none = JudgeBreakingCapacity("20", {FigureState::Undefined, 0, "why"});
  EXPECT_EQ(none.status, "—");
  EXPECT_EQ(none.reason, "why");
}

}  // namespace
}  // namespace tesmir
