// The line journal's calculation over small hand-made networks: a path of up
// to six lines against the main window's calculation and the protection
// check (equal doubles), the worked example, long paths, the grid, each
// verdict at its boundary and each error with the lines below it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "core/line_catalogue.h"
#include "core/loop_calc.h"
#include "core/tire_catalogue.h"
#include "core/trans_catalogue.h"
#include "device/device_check.h"
#include "device/device_lists.h"
#include "device/protection_check.h"
#include "journal/journal_calc.h"
#include "journal_test_support.h"

namespace tesmir {
namespace {

using namespace journal_test;

// A double written so that it reads back to the same double.
std::string Exact(double v) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", v);
  return text;
}

template <class T, std::size_t N>
const T& Pick(std::mt19937& random, const T (&list)[N]) {
  return list[std::uniform_int_distribution<std::size_t>(0, N - 1)(random)];
}

// A random section text that the kind and material are made in.
std::string MadeSection(std::mt19937& random, const std::string& kind, const std::string& material) {
  for (;;) {
    const std::string_view section = kSections[std::uniform_int_distribution<std::size_t>(1, 15)(random)];
    const Result<LineImpedance> z = CalcLineImpedance(section, material, kind);
    if (z.ok() && z->r > 0) return std::string(section);
  }
}

TEST(JournalPath, EveryRandomFeederOfOneToSixSectionsGivesTheWindowsFiguresExactly) {
  std::mt19937 random(2121);
  const char* const kinds[] = {"Кабель с бумажной изоляцией", "Кабель с ПВХ изоляцией", "Воздушная",
                               "Шинопровод Canalis", "Шинопровод ШМА, ШРА"};
  const char* const arcs[] = {"0", "15", "40", "7.5"};
  const char* const counts[] = {"нет", "2", "3"};
  int compared = 0;
  for (int draw = 0; draw < 400; ++draw) {
    const std::string scheme(Pick(random, kWindKinds));
    const auto powers = TransPowerListFor(scheme)->items;
    const std::string power(powers[std::uniform_int_distribution<std::size_t>(0, powers.size() - 1)(random)]);
    const std::string arc = Pick(random, arcs);
    const int sections = std::uniform_int_distribution<int>(1, kLineCount)(random);

    SchemeInput feeder = DefaultSchemeInput();
    feeder.windKind = scheme;
    feeder.transPower = power;
    feeder.rArc = arc;
    JournalNetwork net = Network(scheme.c_str(), power.c_str());
    net.arc = arc;
    DeviceDialogInput device;
    device.tokAVnom = std::string(Pick(random, kBreakerRatings));
    device.tokNR = std::string(Pick(random, kMultiples));
    device.kzAV = std::string(Pick(random, kSafetyFactors));
    for (int s = 0; s < sections; ++s) {
      LineInput& in = feeder.lines[LineIndex(s)];
      JournalLine line;
      line.id = "L" + std::to_string(s + 1);
      if (s > 0) line.parent = "L" + std::to_string(s);
      in.kind = Pick(random, kinds);
      line.kind = in.kind;
      if (ClassifyLineKind(in.kind) == LineKindClass::Tire) {
        const auto models = TireLineModels(in.kind);
        in.stuff = std::string(models[std::uniform_int_distribution<std::size_t>(0, models.size() - 1)(random)]);
        line.model = in.stuff;
      } else {
        in.stuff = std::string(Pick(random, kMaterials));
        in.ff = MadeSection(random, in.kind, in.stuff);
        in.fn = MadeSection(random, in.kind, in.stuff);
        line.material = in.stuff;
        line.ff = in.ff;
        line.fn = in.fn;
      }
      in.length = std::to_string(std::uniform_int_distribution<int>(1, 400)(random)) + (random() % 2 == 0 ? "" : ".5");
      line.length = in.length;
      in.quanPar = Pick(random, counts);
      line.par = in.quanPar == "нет" ? "1" : in.quanPar;
      line.device = Breaker(device.tokAVnom.c_str(), device.tokNR.c_str(), device.kzAV.c_str());
      net.lines.push_back(line);
    }
    SchemeState state;
    ASSERT_TRUE(RunLoopCalculation(feeder, state).ok()) << draw;
    DeviceSettings settings;
    ASSERT_TRUE(AcceptDevice(device, settings, {}).ok());
    const ProtectionCheckResult check = CheckProtection(state, settings);

    const JournalResult journal = ComputeJournal(net);
    const LineResult& end = journal.lines.back();
    ASSERT_EQ(end.error(), "") << draw;
    ASSERT_EQ(end.deviceError(), "") << draw;
    SCOPED_TRACE(draw);
    EXPECT_EQ(end.get(Fig::Ik1), state.Iokz);
    EXPECT_EQ(end.get(Fig::TripCurrent), settings.TokSR);
    EXPECT_EQ(end.verdict, JudgeDevice(state.Iokz, settings).status);
    EXPECT_EQ(end.get(Fig::Ik1Min), check.iokzMin.value);
    EXPECT_EQ(end.verdictMin, check.iokzMinStatus);
    EXPECT_EQ(end.lmaxHotState, check.lengthMaxHot.state);
    EXPECT_EQ(end.get(Fig::LmaxHot).value_or(-1),
              check.lengthMaxHot.state == FigureState::Value ? check.lengthMaxHot.value : -1);
    EXPECT_EQ(end.sminHotState, check.sectionMinHot.section.state);
    EXPECT_EQ(end.get(Fig::SminHot).value_or(-1),
              check.sectionMinHot.section.state == FigureState::Value ? check.sectionMinHot.section.value : -1);
    const auto ik3 = [](const CheckFigure& f) { return f.state == FigureState::Value ? f.value : -1; };
    EXPECT_EQ(end.get(Fig::Ik3End).value_or(-1), ik3(check.ik3Point));
    EXPECT_EQ(journal.lines.front().get(Fig::Ik3Start).value_or(-1), ik3(check.ik3Device));
    ++compared;
  }
  EXPECT_EQ(compared, 400);
}

// The worked example. T/Y-0 630 kVA: Rт = 10.28, Xт = 40.62 mOhm (three-fold),
// so Rт/3 = 3.42667, Xт/3 = 13.54; R1 = 3.42667, X1 = 13.54 as well (one third
// of the T/Y-0 values). Arc 15 mOhm, no grid.
// A: PVC Al 240/240 (r 0.13, x 0.077 mOhm/m), 2 in parallel, 100 m:
//    RLine = (0.13 + 0.13)·100/2 = 13, XLine = 100·(0.077 + 0.077)/2 = 7.7.
// B: PVC Cu 2.5/2.5 (r 7.4, x 0.116), 40 m: RLine = 14.8·40 = 592, XLine = 9.28.
// At B's end: ΣR = 605, ΣX = 16.98; Rф-н = 3.42667 + 605 + 15 = 623.42667,
//    Xф-н = 13.54 + 16.98 = 30.52, Iк1 = 231000 / 624.17 = 370.09 A.
// S = 16 · 10 · 1.1 = 176 A: trips. B feeds nothing and is rated 16 A ≤ 32 A: tн 0.4 s;
//    A feeds B: 5 s.
// Iк1 мин = 0.95 · 231000 / |3.42667 + 1.24·605 + 15 + j30.52| = 219450 / 769.23 = 285.29 A: trips.
// Iк3 at B's device = Iк3 at A's end = 1.05·400000/√3 / |(3.42667 + 0.13·100/2) + j(13.54 + 0.077·100/2)|
//    = 242487.11 / |9.92667 + j17.39| = 12110.1 A; at B's end add 7.4·40 = 296 and 0.116·40 = 4.64.
// Iк1 макс at B's start = 1.05·231000 / |3.42667 + 13 + j(13.54 + 7.7)| = 9033.4 A.
// ΔU of A (three-phase, 300 A, cos 0.9, sin 0.43589):
//    100·√3·300·100·(0.13·0.9 + 0.077·0.43589)/2/400000 = 0.97794 %.
// ΔU of B (single-phase, 10 A, cos 0.95, sin 0.31225):
//    100·10·40·((7.4 + 7.4)·0.95 + (0.116 + 0.116)·0.31225)/(1000·230.94) = 2.44783 %.
// ΔUт from the root line's 300 A at cos 0.9: 100·√3·300·(3.42667·0.9 + 13.54·0.43589)/400000 = 1.16729 %.
// B from ТП: 1.16729 + 0.97794 + 2.44783; from ВРУ: 2.44783 (the path without its root line).
// With B declared PVC: k 115, k²S² = (115·2.5)² = 82656.25 A²s; every case is in the breaker's
// instantaneous zone, bounded by I²·0.1 s; the largest current, 9033.4 A, gives 8.16e6 A²s:
// "не подтверждено", shown with that case.
TEST(JournalWorkedExample, TwoLinesComputedByHand) {
  JournalNetwork net = Network();
  JournalLine a = Line("A", std::nullopt, "Кабель с ПВХ изоляцией", "Алюминий", "240", "100", "2");
  a.device = Breaker("400");
  a.ip = "300";
  a.cosPhi = "0.9";
  JournalLine b = Copper("B", "A", "2.5", "40");
  b.ip = "10";
  b.cosPhi = "0.95";
  b.phases = 1;
  net.lines = {a, b};
  const double rt = 10.28 / 3;
  const double xt = 40.62 / 3;
  const double ik3Scale = 1.05 * 400000 / std::sqrt(3.0);
  const double sinA = std::sqrt(1 - 0.81);
  const double sinB = std::sqrt(1 - 0.9025);
  const double duA = 100 * std::sqrt(3.0) * 300 * 100 * (0.13 * 0.9 + 0.077 * sinA) / 2 / 400000;
  const double duB = 100 * 10 * 40 * (14.8 * 0.95 + 0.232 * sinB) / (1000 * 400 / std::sqrt(3.0));
  const double duT = 100 * std::sqrt(3.0) * 300 * (rt * 0.9 + xt * sinA) / 400000;

  JournalResult r = ComputeJournal(net);
  ASSERT_EQ(r.lines[1].error(), "");
  const LineResult& lb = r.lines[1];
  const double tolerance = 1e-9;
  EXPECT_NEAR(*lb.get(Fig::Ik1), 231000 / std::hypot(rt + 605 + 15, xt + 16.98), tolerance);
  EXPECT_NEAR(*lb.get(Fig::Ik1), 370.0895, 1e-3);
  EXPECT_EQ(*lb.get(Fig::TripCurrent), 16 * 10 * 1.1);
  EXPECT_EQ(lb.verdict, kStatusTrips);
  EXPECT_EQ(*lb.get(Fig::TNorm), 0.4);
  EXPECT_EQ(*r.lines[0].get(Fig::TNorm), 5);
  EXPECT_NEAR(*lb.get(Fig::Ik1Min), 0.95 * 231000 / std::hypot(rt + 1.24 * 605 + 15, xt + 16.98), tolerance);
  EXPECT_EQ(lb.verdictMin, kStatusTrips);
  EXPECT_EQ(*lb.get(Fig::Ik3Start), *r.lines[0].get(Fig::Ik3End));
  EXPECT_NEAR(*lb.get(Fig::Ik3Start), ik3Scale / std::hypot(rt + 6.5, xt + 3.85), 1e-7);
  EXPECT_NEAR(*lb.get(Fig::Ik3End), ik3Scale / std::hypot(rt + 6.5 + 296, xt + 3.85 + 4.64), 1e-9);
  EXPECT_NEAR(*lb.get(Fig::Ik1MaxStart), 1.05 * 231000 / std::hypot(rt + 13, xt + 7.7), 1e-8);
  EXPECT_NEAR(*r.lines[0].get(Fig::DuLine), duA, 1e-12);
  EXPECT_NEAR(*lb.get(Fig::DuLine), duB, 1e-12);
  EXPECT_NEAR(*r.transformerDrop, duT, 1e-12);
  EXPECT_NEAR(*lb.get(Fig::DuTp), duT + duA + duB, 1e-12);
  EXPECT_NEAR(*lb.get(Fig::DuVru), duB, 1e-12);
  EXPECT_NEAR(*lb.get(Fig::Du125Vru),
              100 * 10 * 40 * (1.25 * 14.8 * 0.95 + 0.232 * sinB) / (1000 * 400 / std::sqrt(3.0)), 1e-12);
  EXPECT_EQ(lb.duOkTp, true);
  EXPECT_EQ(lb.duOkVru, true);
  EXPECT_EQ(lb.thermalVerdict, journal_texts::kDash);
  EXPECT_EQ(lb.thermalCase, journal_texts::kNoK);
  EXPECT_EQ(lb.warnings(), std::vector<std::string>{});

  net.lines[1].insulation = "PVC";
  r = ComputeJournal(net);
  EXPECT_EQ(r.lines[1].thermalVerdict, journal_texts::kNotConfirmed);
  EXPECT_EQ(r.lines[1].thermalCase, journal_texts::kCasePhaseIk1Max);
  EXPECT_EQ(*r.lines[1].get(Fig::ThermalK), 115);
  EXPECT_EQ(*r.lines[1].get(Fig::ThermalWithstand), 82656.25);
  const double ik1Max = *r.lines[1].get(Fig::Ik1MaxStart);
  EXPECT_EQ(*r.lines[1].get(Fig::ThermalEnergy), ik1Max * ik1Max * 0.1);
}

TEST(JournalPath, LongerThanSixSectionsKeepsAddingLines) {
  // Twelve 10-m lines in a chain against one 120-m line; and six lines with
  // three more of length 0 below them against the six-section feeder.
  JournalNetwork chain = Network();
  for (int i = 1; i <= 12; ++i) {
    chain.lines.push_back(Copper(("C" + std::to_string(i)).c_str(),
                                 i == 1 ? std::nullopt : std::optional<std::string>("C" + std::to_string(i - 1)), "10",
                                 "10"));
  }
  JournalNetwork single = Network();
  single.lines.push_back(Copper("S", std::nullopt, "10", "120"));
  const double ik1Chain = *ComputeJournal(chain).lines.back().get(Fig::Ik1);
  const double ik1Single = *ComputeJournal(single).lines.back().get(Fig::Ik1);
  EXPECT_NEAR(ik1Chain, ik1Single, 1e-9 * ik1Single);
  EXPECT_LT(ik1Chain, *ComputeJournal(chain).lines[5].get(Fig::Ik1) * 0.9);

  SchemeInput feeder = DefaultSchemeInput();
  feeder.windKind = "T/Y-0";
  feeder.transPower = "630";
  feeder.rArc = "15";
  for (int i = 0; i < kLineCount; ++i)
    feeder.lines[LineIndex(i)] = {"Кабель с ПВХ изоляцией", "Медь", "10", "10", "10", "нет"};
  SchemeState state;
  ASSERT_TRUE(RunLoopCalculation(feeder, state).ok());
  for (std::size_t i = 6; i < 9; ++i) chain.lines[i].length = "0";
  chain.lines.resize(9);
  EXPECT_EQ(*ComputeJournal(chain).lines.back().get(Fig::Ik1), state.Iokz);
}

TEST(JournalGrid, TheUpstreamGridLowersTheMinimumAndThreePhaseCurrentsOnly) {
  JournalNetwork net = Network();
  net.lines.push_back(Copper("A", std::nullopt, "95", "0"));
  const LineResult without = ComputeJournal(net).lines[0];
  net.skMva = "200";
  const LineResult with = ComputeJournal(net).lines[0];
  EXPECT_EQ(with.get(Fig::Ik1), without.get(Fig::Ik1));
  // ZQ,max = 1.1·400²/200e6 Ω = 0.88 mOhm, XQ = 0.8756, RQ = 0.08756; at the
  // transformer terminals Iк3 = 1.05·400000/√3 / |Z1 + ZQ|.
  const double r1 = 10.28 / 3;
  const double x1 = 40.62 / 3;
  EXPECT_NEAR(*with.get(Fig::Ik3Start), 1.05 * 400000 / std::sqrt(3.0) / std::hypot(r1 + 0.08756, x1 + 0.8756), 1e-7);
  // ZQ,min = 1.0·400²/150e6 Ω = 1.06667 mOhm enters the single-phase loop as ⅔.
  net.skMinMva = "150";
  const LineResult min = ComputeJournal(net).lines[0];
  const double xq = 0.995 * 1.0 * 160000 / 150e6 * 1000;
  EXPECT_NEAR(*min.get(Fig::Ik1Min), 0.95 * 231000 / std::hypot(r1 + 15 + 2.0 / 3 * 0.1 * xq, x1 + 2.0 / 3 * xq), 1e-8);
  EXPECT_LT(*min.get(Fig::Ik1Min), *without.get(Fig::Ik1Min));
  EXPECT_LT(*min.get(Fig::Ik1MaxStart), *without.get(Fig::Ik1MaxStart));
  EXPECT_LT(*min.get(Fig::LmaxHot), *without.get(Fig::LmaxHot));

  // No grid for a single-phase transformer.
  JournalNetwork single = Network("1/1-0", "10");
  single.lines.push_back(Copper("A", std::nullopt, "95", "10"));
  const LineResult singleWithout = ComputeJournal(single).lines[0];
  single.skMva = "200";
  EXPECT_EQ(ComputeJournal(single).lines[0].get(Fig::Ik1Min), singleWithout.get(Fig::Ik1Min));
  EXPECT_EQ(singleWithout.get(Fig::Ik3Start), std::nullopt);
}

TEST(JournalVerdicts, EqualityIsEnoughAtEveryBoundary) {
  JournalNetwork net = Network();
  net.lines.push_back(Copper("A", std::nullopt, "2.5", "30"));
  net.lines[0].ip = "20";
  net.lines[0].cosPhi = "0.9";
  const LineResult first = ComputeJournal(net).lines[0];
  const double ik1 = *first.get(Fig::Ik1);
  const double ik1Min = *first.get(Fig::Ik1Min);
  struct Row {
    double trip;
    std::string_view verdict;
    std::string_view verdictMin;
  };
  const Row rows[] = {
      {ik1, kStatusTrips, kStatusDoesNotTrip},
      {std::nextafter(ik1, 1e9), kStatusDoesNotTrip, kStatusDoesNotTrip},
      {ik1Min, kStatusTrips, kStatusTrips},
      {std::nextafter(ik1Min, 1e9), kStatusTrips, kStatusDoesNotTrip},
  };
  for (const Row& row : rows) {
    JournalDevice device = Breaker("16");
    device.releaseCurrent = Exact(row.trip);
    device.safety = "1.0";
    net.lines[0].device = device;
    const LineResult r = ComputeJournal(net).lines[0];
    EXPECT_EQ(r.verdict, row.verdict) << row.trip;
    EXPECT_EQ(r.verdictMin, row.verdictMin) << row.trip;
  }

  // Voltage drop limits: exactly the drop passes, the next double below fails.
  const double duTp = *first.get(Fig::DuTp);
  net.lines[0].device = Breaker("16");
  net.duLimitTpPct = Exact(duTp);
  EXPECT_EQ(ComputeJournal(net).lines[0].duOkTp, true);
  net.duLimitTpPct = Exact(std::nextafter(duTp, 0));
  EXPECT_EQ(ComputeJournal(net).lines[0].duOkTp, false);

  // Thermal: the maker's I²t equal to k²S² = (115·2.5)² withstands.
  net.lines[0].insulation = "PVC";
  net.lines[0].device->i2t = "82656.25";
  EXPECT_EQ(ComputeJournal(net).lines[0].thermalVerdict, journal_texts::kWithstands);
  net.lines[0].device->i2t = "82656.26";
  EXPECT_EQ(ComputeJournal(net).lines[0].thermalVerdict, journal_texts::kFails);

  // Breaking capacity around Iк3 at the device.
  const double ik3 = *first.get(Fig::Ik3Start);
  net.lines[0].device->icuKa = Exact(ik3 / 1000 * (1 + 1e-12));
  EXPECT_EQ(ComputeJournal(net).lines[0].breaking, check_texts::kBreakingEnough);
  net.lines[0].device->icuKa = Exact(ik3 / 1000 * (1 - 1e-12));
  EXPECT_EQ(ComputeJournal(net).lines[0].breaking, check_texts::kBreakingShort);
}

TEST(JournalVerdicts, FuseTimeClassAndRequiredTime) {
  JournalNetwork net = Network();
  net.lines.push_back(Copper("A", std::nullopt, "95", "20"));
  net.lines.push_back(Copper("B", "A", "2.5", "20"));
  net.lines[0].device = Fuse("ППН", "63");
  net.lines[1].device = Fuse("ППН", "16");
  net.lines[1].device->time = std::string(kTime5s);
  net.lines[1].ip = "20";
  net.lines[1].cosPhi = "1";
  JournalResult r = ComputeJournal(net);
  // A feeds B: 5 s; B is final and 16 A: 0.4 s, so its 5-s class is checked at 0.4 s.
  EXPECT_EQ(*r.lines[0].get(Fig::TNorm), 5);
  EXPECT_EQ(*r.lines[1].get(Fig::TNorm), 0.4);
  EXPECT_EQ(r.lines[1].warnings(),
            (std::vector<std::string>{"класс времени предохранителя 5 с больше нормативного 0.4 с: проверка по 0.4 с",
                                      "Iр = 20 А больше Iном аппарата 16 А"}));
  const double trip04 = *r.lines[1].get(Fig::TripCurrent);
  net.lines[1].tNorm = "5";
  r = ComputeJournal(net);
  EXPECT_EQ(*r.lines[1].get(Fig::TNorm), 5);
  EXPECT_LT(*r.lines[1].get(Fig::TripCurrent), trip04);
  net.lines[1].final = false;
  net.lines[1].tNorm.clear();
  net.lines[1].device->time.clear();
  EXPECT_EQ(*ComputeJournal(net).lines[1].get(Fig::TNorm), 5);
}

// Each error of a line, and what the line below it shows.
TEST(JournalErrors, EachErrorStaysWithItsLineAndStopsTheLinesBelow) {
  struct Row {
    const char* what;
    void (*spoil)(JournalNetwork&);
    std::string error;  // of line B
  };
  const Row rows[] = {
      {"repeated id", [](JournalNetwork& n) { n.lines[1].id = "A"; }, "повторное обозначение линии A"},
      {"mark not read",
       [](JournalNetwork& n) {
         n.lines[1].kind.clear();
         n.lines[1].mark = "NYM 3х2,5";
       },
       "марка «NYM» не распознана: задайте тип линии, материал и изоляцию явно"},
      {"no kind", [](JournalNetwork& n) { n.lines[1].kind.clear(); }, std::string(journal_texts::kNoKind)},
      {"no neutral", [](JournalNetwork& n) { n.lines[1].fn.clear(); }, std::string(journal_texts::kNoSections)},
      {"no length", [](JournalNetwork& n) { n.lines[1].length.clear(); }, std::string(journal_texts::kNoLength)},
      {"section", [](JournalNetwork& n) { n.lines[1].ff = "3"; }, "Неизвестное сечение жилы"},
      {"not made", [](JournalNetwork& n) { n.lines[1].kind = "Воздушная"; }, std::string(line_messages::kNotUsed)},
      {"length", [](JournalNetwork& n) { n.lines[1].length = "-1"; }, "Неверная длина линии B"},
      {"parallel 0", [](JournalNetwork& n) { n.lines[1].par = "0"; },
       "Неверное количество параллельных проводов линии B"},
      // Past the 100 km that any length may have: the main window's length message.
      {"absurd length", [](JournalNetwork& n) { n.lines[1].length = "1e308"; }, "Неверная длина линии B"},
      {"length over 100 km", [](JournalNetwork& n) { n.lines[1].length = "100000.001"; }, "Неверная длина линии B"},
      {"arc", [](JournalNetwork& n) { n.lines[1].arc = "-3"; }, std::string(calc_messages::kBadArc)},
      {"parent", [](JournalNetwork& n) { n.lines[1].parent = "B99"; }, "родительская линия B99 не найдена"},
      {"cycle", [](JournalNetwork& n) { n.lines[1].parent = "C"; }, "цикл в ссылках на родителя: B → C → B"},
  };
  for (const Row& row : rows) {
    JournalNetwork net = Network();
    net.lines = {Copper("A", std::nullopt, "95", "50"), Copper("B", "A", "2.5", "20"), Copper("C", "B", "2.5", "10"),
                 Copper("D", "A", "4", "10")};
    row.spoil(net);
    const JournalResult r = ComputeJournal(net);
    SCOPED_TRACE(row.what);
    EXPECT_EQ(r.lines[1].error(), row.error);
    EXPECT_FALSE(r.lines[1].get(Fig::Ik1).has_value());
    if (std::string_view(row.what) == "cycle") {
      EXPECT_EQ(r.lines[2].error(), "цикл в ссылках на родителя: C → B → C");
    } else if (std::string_view(row.what) != "repeated id") {
      EXPECT_EQ(r.lines[2].error(), "ошибка в линии B выше по цепи: " + row.error);
    }
    EXPECT_EQ(r.lines[0].error(), "");
    EXPECT_EQ(r.lines[3].error(), "");
    EXPECT_TRUE(r.lines[3].get(Fig::Ik1).has_value());
  }
}

TEST(JournalErrors, TheTransformerAndTheDeviceErrors) {
  JournalNetwork net = Network("T/Y-0", "17");
  net.lines = {Copper("A", std::nullopt, "95", "50"), Copper("B", "A", "2.5", "20")};
  JournalResult r = ComputeJournal(net);
  for (const LineResult& line : r.lines) {
    EXPECT_EQ(line.error(), "трансформатор: Трансформатор выбранной мощности не заложен в программу");
  }

  struct Row {
    std::optional<JournalDevice> device;
    std::string_view error;
  };
  JournalDevice other;
  other.type = "relay";
  const Row rows[] = {
      {std::nullopt, journal_texts::kNoDevice},         {other, journal_texts::kUnknownDeviceType},
      {Fuse("ППН", "17"), kMsgUnknownFuseRating},       {Fuse("ПП", "16"), kMsgBadFuseType},
      {Breaker("16", "много"), kMsgBadReleaseMultiple}, {Breaker("16", "10", "0.9"), kMsgBadBreakerSafetyFactor},
  };
  net.power = "630";
  for (const Row& row : rows) {
    net.lines[1].device = row.device;
    r = ComputeJournal(net);
    EXPECT_EQ(r.lines[1].deviceError(), row.error);
    EXPECT_TRUE(r.lines[1].get(Fig::Ik1).has_value());
    EXPECT_FALSE(r.lines[1].get(Fig::TripCurrent).has_value());
    EXPECT_EQ(r.lines[1].verdict, "");
    EXPECT_TRUE(LineFailsAVerdict(r.lines[1]));
  }
}

TEST(JournalErrors, DeepChainsCyclesAndMissingParentsAnswer) {
  constexpr int kLines = 10000;
  JournalNetwork chain = Network();
  JournalNetwork cycle = Network();
  JournalNetwork orphans = Network();
  for (int i = 0; i < kLines; ++i) {
    const std::string id = "L" + std::to_string(i);
    chain.lines.push_back(Copper(
        id.c_str(), i == 0 ? std::nullopt : std::optional<std::string>("L" + std::to_string(i - 1)), "240", "0.01"));
    cycle.lines.push_back(Copper(id.c_str(), "L" + std::to_string((i + 1) % kLines), "240", "1"));
    orphans.lines.push_back(Copper(id.c_str(), "X" + std::to_string(i), "240", "1"));
  }
  const JournalResult deep = ComputeJournal(chain);
  EXPECT_EQ(deep.lines.back().error(), "");
  EXPECT_LT(*deep.lines.back().get(Fig::Ik1), *deep.lines.front().get(Fig::Ik1));
  const JournalResult ring = ComputeJournal(cycle);
  EXPECT_EQ(ring.lines[0].error().rfind("цикл в ссылках на родителя: L0 → L1 → L2", 0), 0U);
  EXPECT_NE(ring.lines[0].error().find("(всего линий в цикле: 10000) → L0"), std::string::npos);
  const JournalResult lost = ComputeJournal(orphans);
  EXPECT_EQ(lost.lines[kLines - 1].error(), "родительская линия X9999 не найдена");
}

}  // namespace
}  // namespace tesmir
