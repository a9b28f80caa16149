// The protection check of a calculated feeder. Every feeder and device goes
// through the program's own calculation and device acceptance first, so the
// check is fed exactly what the windows hand it. The expected texts were
// computed by hand from the formulas of help topic 37.
#include <gtest/gtest.h>

#include <ostream>

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
  EXPECT_TRUE(out.ok()) << (out.ok() ? std::string() : out.error().message);
  return state;
}

// A transformer and the given sections from row 1 on, every other row as the
// window starts.
SchemeInput Feeder(const char* wind, const char* power, const char* arc, std::initializer_list<LineInput> lines) {
  SchemeInput in = DefaultSchemeInput();
  in.windKind = wind;
  in.transPower = power;
  in.rArc = arc;
  std::size_t row = 0;
  for (const LineInput& line : lines) in.lines[row++] = line;
  return in;
}

LineInput PvcCopper(const char* section, const char* length) {
  return {"Кабель с ПВХ изоляцией", "Медь", section, section, length, "нет"};
}
LineInput PaperAl16(const char* count) { return {"Кабель с бумажной изоляцией", "Алюминий", "16", "16", "100", count}; }
const LineInput kCanalis{"Шинопровод Canalis", "KS, 250A", "0", "0", "10", "нет"};  // loop 1.183 + j0.41 mOhm/m
const LineInput kNone = PvcCopper("0", "0");

// The feeder: "T/Y-0" 400 kVA, arc 15 mOhm, PVC copper 2.5/2.5.
SchemeInput Worked(const char* length) { return Feeder("T/Y-0", "400", "15", {PvcCopper("2.5", length)}); }

DeviceSettings Accept(DeviceDialogInput in) {
  DeviceSettings settings;
  EXPECT_TRUE(AcceptDevice(in, settings, {}).ok());
  return settings;
}
DeviceSettings Breaker(const char* rated, const char* multiple, const char* factor) {
  DeviceDialogInput in;
  in.tokAVnom = rated;
  in.tokNR = multiple;
  in.kzAV = factor;
  return Accept(in);
}
// Iср = 176 A.
DeviceSettings Breaker16() { return Breaker("16", "10 (\"C\")", "1.1"); }
// 330 A at 5 s × 1.1 = 363 A.
DeviceSettings FusePPN63() {
  DeviceDialogInput in;
  in.breaker = false;
  in.typePP = "ППН";
  in.tokPP = "63";
  in.kzPP = "1.1";
  in.timePP = "Тср < 5 с";
  return Accept(in);
}
DeviceSettings Forgotten() {
  DeviceSettings settings = Breaker16();
  ResetDevice(settings);
  return settings;
}

constexpr const char* kTrips = "Срабатывание за нормативное время";
constexpr const char* kFails = "Несрабатывание за нормативное время";
constexpr const char* kNever = "не обеспечивается при любой длине";
constexpr const char* kNoSection = "нет в каталоге";

struct Case {
  const char* name;
  SchemeInput feeder;
  DeviceSettings device;
  // Label texts: Iокз мин, its verdict, the two lengths, the two sections, Ik3
  // at the device and at the point; "—" comes with the reasons given.
  const char* texts[8];
  std::string_view lengthReason = {};
  std::string_view sectionReason = {};
  std::string_view ik3Reason = {};
  void (*afterCalc)(SchemeState&) = nullptr;  // a state the calculation itself no longer makes
};

// Printed by name, so test logs (and valgrind) never read the struct's bytes.
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class ProtectionCheckTest : public ::testing::TestWithParam<Case> {};

TEST_P(ProtectionCheckTest, LabelTexts) {
  const Case& c = GetParam();
  SchemeState feeder = Calculate(c.feeder);
  if (c.afterCalc != nullptr) c.afterCalc(feeder);
  const ProtectionCheckTexts t = FormatProtectionCheck(CheckProtection(feeder, c.device), kRussian);
  const std::string shown[8] = {t.iokzMin.text,    t.iokzMinStatus,      t.lengthMax.text, t.lengthMaxHot.text,
                                t.sectionMin.text, t.sectionMinHot.text, t.ik3Device.text, t.ik3Point.text};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(shown[i], c.texts[i]) << "label " << i;
  EXPECT_EQ(t.lengthMax.reason, c.lengthReason);
  EXPECT_EQ(t.lengthMaxHot.reason, c.lengthReason);
  EXPECT_EQ(t.sectionMin.reason, c.sectionReason);
  EXPECT_EQ(t.sectionMinHot.reason, c.sectionReason);
  EXPECT_EQ(t.ik3Device.reason, c.ik3Reason);
  EXPECT_EQ(t.ik3Point.reason, c.ik3Reason);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    All, ProtectionCheckTest,
    ::testing::Values(
        // At 50 m: 1.5 mm² gives 184.6 A; heated 141.9 A, and 2.5 mm² 233.7 A.
        Case{"Worked50m", Worked("50"), Breaker16(),
             {"234 А", kTrips, "87 м", "66 м", "1,5 кв.мм.", "2,5 кв.мм.", "13,47 кА", "0,64 кА"}},
        // At 120 m: 2.5 mm² gives 128.5 A and 4 mm² 203.9 A; heated, 4 mm²
        // 0.95 × 231000 / |20.9 + 1.24 × 1111.2 + j42.69| = 156.8 A and 6 mm² 233.1 A.
        Case{"Worked120m", Worked("120"), Breaker16(),
             {"99 А", kFails, "87 м", "66 м", "4 кв.мм.", "6 кв.мм.", "13,47 кА", "0,27 кА"}},
        // "T/Y-0" 630 kVA: Z1 = |10.28 + j40.62| / 3 = 13.967 mOhm (uk = 5.5 %),
        // Ik3 = 1.05 × 400 V / (√3 × 13.967 mOhm) = 17.36 kA. No section has a length.
        Case{"NoLength630kVA", Feeder("T/Y-0", "630", "15", {kNone}), Breaker16(),
             {"9597 А", kTrips, "—", "—", "—", "—", "17,36 кА", "17,36 кА"}, check_texts::kWhyNoLine,
             check_texts::kWhyNoLine},
        // Hand-computed: a 1000 kVA, 10/0.4 kV transformer with uk = 5.5 %; IEC
        // 60909-0, eq. (7): ZT = uk U² / S = 0.055 × (400 V)² / 1000 kVA = 8.80 mOhm
        // (the catalogue: |5.18 + j25.89| / 3 = 8.801 mOhm, also for "Y/Y-0");
        // eq. (29) with c_max = 1.05 (Table 1): Ik3 = 1.05 × 400 / (√3 × 8.801) = 27.55 kA.
        Case{"HandIk3Of1000kVA", Feeder("Y/Y-0", "1000", "0", {kNone}), Breaker16(),
             {"8107 А", kTrips, "—", "—", "—", "—", "27,55 кА", "27,55 кА"}, check_texts::kWhyNoLine,
             check_texts::kWhyNoLine},
        // Hand-computed: "Y/Y-0" 400 kVA (Rt/3 = 22.2, Xt/3 = 61.093 mOhm), 100 m
        // of paper-insulated aluminium 16 mm² (loop 390 + j13.5 mOhm), arc 15,
        // fuse ППН 63 A at 5 s: 363 A. IEC 60909-0, c_min = 0.95, R = 1.24 R20 at 80 °C:
        //   Rmin = 22.2 + 1.24 × 390 + 15 = 520.8, Zmin = |520.8 + j74.593| = 526.115,
        //   Iмин = 0.95 × 231000 / 526.115 = 417.1 A.
        //   (37.2 + 3.9 L)² + (61.093 + 0.135 L)² = (231000 / 363)²: L = 152.28 m;
        //   (37.2 + 4.836 L)² + (61.093 + 0.135 L)² = (219450 / 363)²: L = 116.30 m.
        //   10 mm² gives 281.3 A; 16 mm² 532.7 A, heated 417.1 A.
        //   Ik3 at the point: |5.9 + 195 + j(17.007 + 6.75)| = 202.30 mOhm: 1.20 kA.
        Case{"HandHeatedCableAndFuse", Feeder("Y/Y-0", "400", "15", {PaperAl16("нет")}), FusePPN63(),
             {"417 А", kTrips, "152 м", "116 м", "16 кв.мм.", "16 кв.мм.", "13,47 кА", "1,20 кА"}},
        // Two cables in parallel halve the loop per metre: twice 6 mm² gives
        // 410.6 A; heated, twice 6 mm² 319.5 A and twice 10 mm² 510.9 A.
        Case{"Parallel", Feeder("Y/Y-0", "400", "15", {PaperAl16("2")}), FusePPN63(),
             {"764 А", kTrips, "304 м", "232 м", "6 кв.мм.", "10 кв.мм.", "13,47 кА", "2,30 кА"}},
        // The last section with a length is the busbar in row 4; the cable's
        // 50 m stay in R0 = 760.9, X0 = 28.607 mOhm:
        // (760.9 + 1.183 L)² + (28.607 + 0.41 L)² = (231000 / 176)²: L = 451.47 m.
        Case{"BusbarLast", Feeder("T/Y-0", "400", "15", {PvcCopper("2.5", "50"), kNone, kNone, kCanalis}),
             Breaker16(), {"230 А", kTrips, "451 м", "206 м", "—", "—", "13,47 кА", "0,63 кА"}, {},
             check_texts::kWhyBusbar},
        Case{"NoDeviceYet", Worked("50"), DeviceSettings{},
             {"234 А", "Аппарат защиты не выбран", "—", "—", "—", "—", "13,47 кА", "0,64 кА"},
             check_texts::kWhyNoDevice, check_texts::kWhyNoDevice},
        Case{"DeviceForgotten", Worked("50"), Forgotten(),
             {"234 А", "Аппарат защиты не выбран", "—", "—", "—", "—", "13,47 кА", "0,64 кА"},
             check_texts::kWhyNoDevice, check_texts::kWhyNoDevice},
        // 1600 A × 20 × 1.2 = 38400 A, more than even the transformer alone gives.
        Case{"NothingEnough", Worked("120"), Breaker("1600", "20 (\"D\")", "1.2"),
             {"99 А", kFails, kNever, kNever, kNoSection, kNoSection, "13,47 кА", "0,27 кА"}},
        // Sections "0" with a length (the calculation refuses them; a state
        // built otherwise still gets the reason): the length changes nothing;
        // 30 m of 1.5 mm² would give 304.2 A, heated 234.4 A.
        Case{"NoConductor", Feeder("T/Y-0", "400", "15", {PvcCopper("0", "0")}), Breaker16(),
             {"8144 А", kTrips, "—", "—", "1,5 кв.мм.", "1,5 кв.мм.", "13,47 кА", "13,47 кА"},
             check_texts::kWhyNoConductor, {}, {}, [](SchemeState& s) { s.Lines[0].Length = 30; }},
        // "1/1-0" 10 kVA: R0 = 142.833 + 15, X0 = 222.633 mOhm: 76.5 m, heated 58.1 m.
        Case{"SinglePhase", Feeder("1/1-0", "10", "15", {PvcCopper("2.5", "20")}), Breaker16(),
             {"384 А", kTrips, "76 м", "58 м", "1,5 кв.мм.", "1,5 кв.мм.", "—", "—"}, {}, {},
             check_texts::kWhySinglePhase},
        // "Y/Y-0" 320 kVA has no "T/Y-0" namesake. 1.5 mm² gives 180.6 A,
        // heated 139.4 A; 2.5 mm² heated 226.7 A.
        Case{"NoTriangleStarEntry", Feeder("Y/Y-0", "320", "15", {PvcCopper("2.5", "50")}), Breaker16(),
             {"227 А", kTrips, "85 м", "65 м", "1,5 кв.мм.", "2,5 кв.мм.", "—", "—"}, {}, {},
             check_texts::kWhyNoTriangleStar}),
    [](const auto& test) { return std::string(test.param.name); });
// clang-format on

TEST(ProtectionCheck, WorkedExampleFigures) {
  const SchemeState feeder = Calculate(Worked("120"));
  EXPECT_NEAR(feeder.Iokz, 128.5, 0.05);  // the 2.5 mm² it has does not trip the breaker
  const ProtectionCheckResult r = CheckProtection(feeder, Breaker16());
  EXPECT_EQ(r.tripCurrent, 176);
  EXPECT_EQ(r.lastLine, 1);
  EXPECT_NEAR(r.lengthMax.value, 87.235, 1e-3);
  EXPECT_NEAR(r.lengthMaxHot.value, 66.78, 1e-2);
  EXPECT_EQ(r.sectionMin.text, "4");
  EXPECT_NEAR(r.sectionMin.current, 203.9, 0.05);
  EXPECT_NEAR(r.ik3Device.value, 1.05 * 400000 / (std::sqrt(3.0) * 18.0011), 0.1);
  // With the program's own separators the section keeps its point.
  EXPECT_EQ(FormatProtectionCheck(CheckProtection(Calculate(Worked("50")), Breaker16()), {}).sectionMin.text,
            "1.5 кв.мм.");
}

// The smallest section is the first whose current reaches the trip current:
// a trip equal to a section's current takes that section, one a bit above it
// the next one, under both conventions.
TEST(ProtectionCheck, SmallestSectionAtItsOwnCurrent) {
  const SchemeState feeder = Calculate(Worked("120"));
  const ProtectionCheckResult first = CheckProtection(feeder, Breaker16());
  ASSERT_EQ(first.sectionMin.text, "4");
  for (const bool heated : {false, true}) {
    const SectionFigure& found = heated ? first.sectionMinHot : first.sectionMin;
    DeviceSettings device = Breaker16();
    device.TokSR = found.current;
    const ProtectionCheckResult equal = CheckProtection(feeder, device);
    EXPECT_EQ((heated ? equal.sectionMinHot : equal.sectionMin).text, found.text) << heated;
    device.TokSR = std::nextafter(found.current, 1e9);
    const ProtectionCheckResult above = CheckProtection(feeder, device);
    const SectionFigure& next = heated ? above.sectionMinHot : above.sectionMin;
    EXPECT_GT(next.section.value, found.section.value) << heated;
    EXPECT_GE(next.current, device.TokSR) << heated;
  }
}

// The README's feeder, whose phase and neutral conductors differ (240/120 mm²):
// the three-phase current takes the phase conductors only.
//   Z1 at the point = |3.426667 + 0.13 × 85 + 0.024 × 40 + j(13.54 + 0.0587 × 85 + 0.0055 × 40)|
//                   = |15.436667 + j18.7495| = 24.28651 mOhm,
//   Ik3 = 1.05 × 400000 / (√3 × 24.28651) = 9984.44 A; at the device 17361.58 A.
TEST(ProtectionCheck, ThreePhaseCurrentTakesThePhaseConductors) {
  SchemeInput in = Feeder("T/Y-0", "630", "15",
                          {{"Кабель с бумажной изоляцией", "Алюминий", "240", "120", "85", "нет"},
                           {"Шинопровод Gersan", "GSC, 2500A", "0", "0", "40", "нет"}});
  const ProtectionCheckResult r = CheckProtection(Calculate(in), Breaker16());
  EXPECT_NEAR(r.ik3Point.value, 9984.44, 0.01);
  EXPECT_NEAR(r.ik3Device.value, 17361.58, 0.01);
}

// The loop without the last section is summed from the other sections, so
// the last section's length does not leak into it: its figures are the same
// for 1 m and for 100 km.
TEST(ProtectionCheck, LongestLengthDoesNotDependOnTheLastLength) {
  const DeviceSettings breaker = Breaker16();
  const ProtectionCheckResult shortLast =
      CheckProtection(Calculate(Feeder("T/Y-0", "400", "15", {PvcCopper("16", "37"), PvcCopper("2.5", "1")})), breaker);
  const ProtectionCheckResult longLast = CheckProtection(
      Calculate(Feeder("T/Y-0", "400", "15", {PvcCopper("16", "37"), PvcCopper("2.5", "100000")})), breaker);
  ASSERT_EQ(shortLast.lengthMax.state, FigureState::Value);
  EXPECT_DOUBLE_EQ(longLast.lengthMax.value, shortLast.lengthMax.value);
  EXPECT_DOUBLE_EQ(longLast.lengthMaxHot.value, shortLast.lengthMaxHot.value);
}

// Trip currents at the edges of the range of numbers give "—" with a reason,
// never "nan" or "inf".
TEST(ProtectionCheck, NoFigureIsInfiniteOrNaN) {
  for (const char* rated : {"1e-200", "1e-150", "1e-300"}) {
    SCOPED_TRACE(rated);
    const ProtectionCheckResult r = CheckProtection(Calculate(Worked("120")), Breaker(rated, "10", "1.1"));
    for (const CheckFigure* f : {&r.iokzMin, &r.lengthMax, &r.lengthMaxHot, &r.sectionMin.section,
                                 &r.sectionMinHot.section, &r.ik3Device, &r.ik3Point}) {
      EXPECT_TRUE(std::isfinite(f->value));
    }
    EXPECT_EQ(r.lengthMax.state, FigureState::Undefined);
    EXPECT_EQ(r.lengthMax.reason, check_texts::kWhyOutOfRange);
    const ProtectionCheckTexts t = FormatProtectionCheck(r, kRussian);
    EXPECT_EQ(t.lengthMax.text, "—");
    EXPECT_EQ(t.lengthMaxHot.text, "—");
  }
}

TEST(ProtectionCheck, NothingCalculatedYet) {
  const ProtectionCheckTexts t = FormatProtectionCheck(CheckProtection(SchemeState{}, Breaker16()), kRussian);
  for (const FigureText* f :
       {&t.iokzMin, &t.lengthMax, &t.lengthMaxHot, &t.sectionMin, &t.sectionMinHot, &t.ik3Device, &t.ik3Point}) {
    EXPECT_EQ(f->text, "—");
    EXPECT_EQ(f->reason, check_texts::kWhyNoCalculation);
  }
}

TEST(ProtectionCheck, BreakingCapacityVerdicts) {
  const CheckFigure ik3{FigureState::Value, 17361.6, {}};  // shown as 17,36 kA
  const std::pair<const char*, std::string_view> cases[] = {
      {"", ""},
      {"20", check_texts::kBreakingEnough},
      {"17.37", check_texts::kBreakingEnough},
      {"1e2", check_texts::kBreakingEnough},
      {" 17.4", check_texts::kBreakingEnough},
      {"17.36", check_texts::kBreakingShort},  // against the unrounded 17.3616 kA
      {"6", check_texts::kBreakingShort},
  };
  for (const auto& [typed, status] : cases) {
    SCOPED_TRACE(typed);
    const BreakingVerdict v = JudgeBreakingCapacity(typed, ik3);
    EXPECT_EQ(v.status, status);
    EXPECT_EQ(v.message, "");
  }
  for (const char* bad : {"17,5", "abc", "0", "-20", "  "}) {
    SCOPED_TRACE(bad);
    const BreakingVerdict v = JudgeBreakingCapacity(bad, ik3);
    EXPECT_EQ(v.status, "");
    EXPECT_EQ(v.message, check_texts::kBadBreakingCapacity);
  }
  const BreakingVerdict none = JudgeBreakingCapacity("20", {FigureState::Undefined, 0, "why"});
  EXPECT_EQ(none.status, "—");
  EXPECT_EQ(none.reason, "why");
}

}  // namespace
}  // namespace tesmir
