#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <ostream>
#include <string>

#include "core/loop_calc.h"

namespace tesmir {
namespace {

SchemeInput Zeroed(const std::string& wind, const std::string& power, const std::string& arc) {
  SchemeInput in = DefaultSchemeInput();
  in.windKind = wind;
  in.transPower = power;
  in.rArc = arc;
  return in;
}

struct WorkedExample {
  const char* name;
  std::function<SchemeInput()> input;
  double rsum;
  double xsum;
  double zsum;
  double iokz;
  const char* resultLine;
};

// Printed by name, never as the struct's bytes.
void PrintTo(const WorkedExample& c, std::ostream* os) { *os << c.name; }

class WorkedExampleTest : public ::testing::TestWithParam<WorkedExample> {};

TEST_P(WorkedExampleTest, ComputesTheLoop) {
  const WorkedExample& ex = GetParam();
  SchemeState state;
  const CalcOutcome out = RunLoopCalculation(ex.input(), state);
  ASSERT_TRUE(out.ok()) << out.error().message;
  EXPECT_NEAR(state.Rsum, ex.rsum, 1e-3);
  EXPECT_NEAR(state.Xsum, ex.xsum, 1e-3);
  EXPECT_NEAR(state.Zsum, ex.zsum, 1e-3);
  EXPECT_NEAR(state.Iokz, ex.iokz, 1e-3);
  EXPECT_EQ(*out, ex.resultLine);
  EXPECT_DOUBLE_EQ(state.Iokz, 231000 / state.Zsum);
}

SchemeInput OneCableSection(const std::string& count) {
  SchemeInput in = Zeroed("Y/Y-0", "400", "15");
  in.lines[0].kind = "Кабель с бумажной изоляцией";
  in.lines[0].stuff = "Алюминий";
  in.lines[0].ff = "16";  // r 1.95, x 0.0675
  in.lines[0].fn = "16";
  in.lines[0].length = "100";
  in.lines[0].quanPar = count;
  return in;
}

// The feeder of the README: a phase conductor of 240 mm² with a neutral of
// 120 mm², so every per-metre value of the phase differs from the neutral's.
//   T/Y-0 630: Rt/3 = 3.426667, Xt/3 = 13.54 mOhm.
//   85 m paper Al 240/120: R = (0.13 + 0.261) × 85 = 33.235, X = (0.0587 + 0.0602) × 85 = 10.1065.
//   40 m Gersan GSC 2500A (loop 0.048 + j0.011): R = 1.92, X = 0.44.
//   Rsum = 3.426667 + 33.235 + 1.92 + 15 = 53.581667, Xsum = 24.0865,
//   Zsum = 58.746527, Iokz = 3932.147 A.
SchemeInput ReadmeFeeder() {
  SchemeInput in = Zeroed("T/Y-0", "630", "15");
  in.lines[0] = {"Кабель с бумажной изоляцией", "Алюминий", "240", "120", "85", "нет"};
  in.lines[1] = {"Шинопровод Gersan", "GSC, 2500A", "0", "0", "40", "нет"};
  return in;
}

INSTANTIATE_TEST_SUITE_P(
    All, WorkedExampleTest,
    ::testing::Values(WorkedExample{"StartWindow", [] { return DefaultSchemeInput(); }, 692.4, 805.746667, 1062.377,
                                    217.437, "Ток однофазного короткого замыкания равен 217 А"},
                      WorkedExample{"TriangleStar630", [] { return Zeroed("T/Y-0", "630", "15"); }, 18.426667, 13.54,
                                    22.866431, 10102.145, "Ток однофазного короткого замыкания равен 10102 А"},
                      WorkedExample{"SinglePhase", [] { return Zeroed("1/1-0", "1.25", "40"); }, 2071.333333,
                                    1136.333333, 2362.557, 97.775, "Ток однофазного короткого замыкания равен 98 А"},
                      WorkedExample{"OneCable", [] { return OneCableSection("нет"); }, 427.2, 74.593333, 433.663,
                                    532.672, "Ток однофазного короткого замыкания равен 533 А"},
                      WorkedExample{"OneCableTwice", [] { return OneCableSection("2"); }, 232.2, 67.843333, 241.908,
                                    954.908, "Ток однофазного короткого замыкания равен 955 А"},
                      WorkedExample{"OneCableCountOne", [] { return OneCableSection("1"); }, 427.2, 74.593333, 433.663,
                                    532.672, "Ток однофазного короткого замыкания равен 533 А"},
                      WorkedExample{"ReadmeFeeder", ReadmeFeeder, 53.581667, 24.0865, 58.746527, 3932.147,
                                    "Ток однофазного короткого замыкания равен 3932 А"},
                      WorkedExample{"OneCableHexCount", [] { return OneCableSection("$2"); }, 232.2, 67.843333, 241.908,
                                    954.908, "Ток однофазного короткого замыкания равен 955 А"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(LoopCalc, SectionValuesAndSums) {
  SchemeInput in = OneCableSection("нет");
  in.lines[3].kind = "Шинопровод Canalis";
  in.lines[3].stuff = "KS, 250A";  // loop R 1.183, X 0.41 per metre
  in.lines[3].length = "10";
  in.lines[3].quanPar = "2";
  SchemeState s;
  ASSERT_TRUE(RunLoopCalculation(in, s).ok());
  EXPECT_DOUBLE_EQ(s.Lines[0].RLine, 390);
  EXPECT_DOUBLE_EQ(s.Lines[0].XLine, 13.5);
  // The busbar's loop values are split evenly between phase and neutral.
  EXPECT_DOUBLE_EQ(s.Lines[3].RPhase, 1.183 / 2);
  EXPECT_DOUBLE_EQ(s.Lines[3].RNeutral, 1.183 / 2);
  EXPECT_NEAR(s.Lines[3].RLine, 1.183 * 10 / 2, 1e-12);
  EXPECT_NEAR(s.Lines[3].XLine, 0.41 * 10 / 2, 1e-12);
  EXPECT_NEAR(s.RLineSum, 390 + 5.915, 1e-9);
  EXPECT_NEAR(s.XLineSum, 13.5 + 2.05, 1e-9);
  // The line impedance is that of the sums, not the sum of the section impedances.
  EXPECT_DOUBLE_EQ(s.ZLineSum, std::sqrt(s.RLineSum * s.RLineSum + s.XLineSum * s.XLineSum));
  EXPECT_EQ(s.Lines[3].QuanPar, 2);
  EXPECT_EQ(s.Lines[0].Kind, "Кабель с бумажной изоляцией");
  EXPECT_EQ(s.WindKind, "Y/Y-0");
  EXPECT_DOUBLE_EQ(s.TransPower, 400);
  EXPECT_DOUBLE_EQ(s.Rt, 66.6);
  EXPECT_DOUBLE_EQ(s.RArc, 15);
}

struct FailureCase {
  const char* name;
  std::function<void(SchemeInput&)> edit;
  std::string message;
  bool labelsBefore = false;
};

// Printed by name, never as the struct's bytes.
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class LoopFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(LoopFailureTest, ReportsTheFirstFaultAndKeepsTheState) {
  SchemeState state;
  ASSERT_TRUE(RunLoopCalculation(OneCableSection("нет"), state).ok());
  const SchemeState before = state;

  SchemeInput in = DefaultSchemeInput();
  GetParam().edit(in);
  const CalcOutcome out = RunLoopCalculation(in, state);
  ASSERT_FALSE(out.ok());
  EXPECT_EQ(out.error().message, GetParam().message);
  EXPECT_EQ(out.error().labels == LabelsReset::BeforeMessage, GetParam().labelsBefore);
  // A failed run leaves the last successful state untouched.
  EXPECT_TRUE(state == before);
}

INSTANTIATE_TEST_SUITE_P(
    All, LoopFailureTest,
    ::testing::Values(
        FailureCase{"PowerNotANumber", [](SchemeInput& in) { in.transPower = "abc"; },
                    "Неверная мощность трансформатора", true},
        FailureCase{"PowerWithComma", [](SchemeInput& in) { in.transPower = "1,25"; },
                    "Неверная мощность трансформатора", true},
        // Nothing else is read once the power is invalid.
        FailureCase{"PowerBeforeEverything",
                    [](SchemeInput& in) {
                      in.transPower = "";
                      in.windKind = "bad";
                      in.rArc = "-1";
                    },
                    "Неверная мощность трансформатора", true},
        FailureCase{"PowerNotInCatalogue", [](SchemeInput& in) { in.transPower = "30"; },
                    "Трансформатор выбранной мощности не заложен в программу"},
        FailureCase{"PowerBeforeScheme",
                    [](SchemeInput& in) {
                      in.transPower = "30";
                      in.windKind = "y/y-0";
                    },
                    "Трансформатор выбранной мощности не заложен в программу"},
        FailureCase{"SchemeMisspelt", [](SchemeInput& in) { in.windKind = "Y/Y-0 "; },
                    "Неправильная схема соединения обмоток трансформатора"},
        FailureCase{"NoSuchTransformer", [](SchemeInput& in) { in.transPower = "800"; },
                    "Неизвестная марка трансформатора. Попробуйте выбрать трансформатор другой мощности или "
                    "изменить схему соединения обмоток"},
        FailureCase{"NeutralMissing",
                    [](SchemeInput& in) {
                      in.lines[1].ff = "16";
                      in.lines[1].fn = "0";
                    },
                    "Выберите сечение жилы нулевого провода линии 2"},
        FailureCase{"PhaseMissing",
                    [](SchemeInput& in) {
                      in.lines[1].ff = "0";
                      in.lines[1].fn = "16";
                    },
                    "Выберите сечение жилы фазного провода линии 2"},
        FailureCase{"CableCatalogueFault", [](SchemeInput& in) { in.lines[4].ff = "3"; }, "Неизвестное сечение жилы"},
        // A typed section is never rounded down to a catalogue row.
        FailureCase{"SectionBelowTheSmallest",
                    [](SchemeInput& in) {
                      in.lines[0].ff = "0.75";
                      in.lines[0].fn = "0.75";
                      in.lines[0].length = "30";
                    },
                    "Неизвестное сечение жилы"},
        FailureCase{"SectionOne", [](SchemeInput& in) { in.lines[1].ff = "1"; }, "Неизвестное сечение жилы"},
        FailureCase{"SectionTwo", [](SchemeInput& in) { in.lines[2].fn = "2"; }, "Неизвестное сечение жилы"},
        FailureCase{"SectionTwoNine", [](SchemeInput& in) { in.lines[3].ff = "2.9"; }, "Неизвестное сечение жилы"},
        FailureCase{"SectionOneNine", [](SchemeInput& in) { in.lines[5].fn = "1.9"; }, "Неизвестное сечение жилы"},
        FailureCase{"MaterialFault", [](SchemeInput& in) { in.lines[2].stuff = "Сталь"; },
                    "Неизвестный материал жилы проводника"},
        FailureCase{"BusbarModelFault",
                    [](SchemeInput& in) {
                      in.lines[5].kind = "Шинопровод Canalis";
                      in.lines[5].stuff = "GSA, 800A";
                    },
                    "Неизвестная марка шинопровода"},
        FailureCase{"UnknownLineKind", [](SchemeInput& in) { in.lines[3].kind = "Кабель"; }, "Неизвестный тип линии"},
        // Section 1's pairing fault wins over section 3's invalid length.
        FailureCase{"PairingBeforeLength",
                    [](SchemeInput& in) {
                      in.lines[0].ff = "16";
                      in.lines[2].length = "x";
                    },
                    "Выберите сечение жилы нулевого провода линии 1"},
        // Every lookup fault of every section comes before any length fault.
        FailureCase{"LookupOfSixBeforeLengthOfOne",
                    [](SchemeInput& in) {
                      in.lines[0].length = "-1";
                      in.lines[5].fn = "300";
                    },
                    "Неизвестное сечение жилы"},
        // A cable or overhead run of no conductor with a length is refused at
        // its length, before the next section's length is read.
        FailureCase{"NoConductorWithLength", [](SchemeInput& in) { in.lines[1].length = "500"; },
                    "Выберите сечение жилы фазного провода линии 2"},
        FailureCase{"NoConductorOverheadWithLength",
                    [](SchemeInput& in) {
                      in.lines[4].kind = "Воздушная";
                      in.lines[4].stuff = "Алюминий";
                      in.lines[4].length = "100";
                      in.lines[5].length = "x";
                    },
                    "Выберите сечение жилы фазного провода линии 5"},
        FailureCase{"NoConductorAfterEarlierLength",
                    [](SchemeInput& in) {
                      in.lines[0].length = "x";
                      in.lines[1].length = "500";
                    },
                    "Неверная длина линии 1"},
        FailureCase{"LengthWithComma", [](SchemeInput& in) { in.lines[0].length = "1,5"; }, "Неверная длина линии 1"},
        FailureCase{"LengthEmpty", [](SchemeInput& in) { in.lines[0].length = ""; }, "Неверная длина линии 1"},
        FailureCase{"LengthNegative", [](SchemeInput& in) { in.lines[5].length = "-1"; }, "Неверная длина линии 6"},
        FailureCase{"LengthBeforeCount",
                    [](SchemeInput& in) {
                      in.lines[4].length = "a";
                      in.lines[0].quanPar = "0";
                    },
                    "Неверная длина линии 5"},
        FailureCase{"CountCapitalised", [](SchemeInput& in) { in.lines[2].quanPar = "Нет"; },
                    "Неверное количество параллельных проводов линии 3"},
        FailureCase{"CountZero", [](SchemeInput& in) { in.lines[2].quanPar = "0"; },
                    "Неверное количество параллельных проводов линии 3"},
        FailureCase{"CountFraction", [](SchemeInput& in) { in.lines[2].quanPar = "1.5"; },
                    "Неверное количество параллельных проводов линии 3"},
        FailureCase{"CountEmpty", [](SchemeInput& in) { in.lines[0].quanPar = ""; },
                    "Неверное количество параллельных проводов линии 1"},
        FailureCase{"ArcNegative", [](SchemeInput& in) { in.rArc = "-1"; },
                    "Неправильно введено сопротивление электрической дуги. Рекомендуемый диапазон значений 0..40 мОм"},
        FailureCase{"ArcText", [](SchemeInput& in) { in.rArc = "сорок"; },
                    "Неправильно введено сопротивление электрической дуги. Рекомендуемый диапазон значений 0..40 мОм"},
        // Absurd inputs never give an infinite or zero current.
        // A length past 100 km is refused as a length (lengths from 1e17 m
        // gave "0 А"), so a huge arc resistance stands in for absurd inputs.
        FailureCase{"LengthAbove100km", [](SchemeInput& in) { in.lines[2].length = "100000.5"; },
                    "Неверная длина линии 3"},
        FailureCase{"HugeLength", [](SchemeInput& in) { in.lines[0].length = "1e17"; }, "Неверная длина линии 1"},
        FailureCase{"HugeArcAfterALine",
                    [](SchemeInput& in) {
                      in.lines[0].ff = "16";
                      in.lines[0].fn = "16";
                      in.lines[0].length = "100";
                      in.rArc = "1e306";
                    },
                    "Результат расчета выходит за пределы допустимых значений. Проверьте длины линий и "
                    "сопротивление дуги."},
        FailureCase{"HugeSumOfFiniteSections",
                    [](SchemeInput& in) {
                      for (LineInput& l : in.lines) {
                        l.ff = "240";
                        l.fn = "240";
                        l.length = "1e200";
                      }
                    },
                    "Неверная длина линии 1"},
        FailureCase{"HugeArc", [](SchemeInput& in) { in.rArc = "1e300"; },
                    "Результат расчета выходит за пределы допустимых значений. Проверьте длины линий и "
                    "сопротивление дуги."}),
    [](const auto& test) { return std::string(test.param.name); });

struct AcceptedCase {
  const char* name;
  std::function<void(SchemeInput&)> edit;
};

// Printed by name, never as the struct's bytes.
void PrintTo(const AcceptedCase& c, std::ostream* os) { *os << c.name; }

// A length is read only for a run with a conductor.
void WithConductor(LineInput& line, const std::string& length) {
  line.ff = "16";
  line.fn = "16";
  line.length = length;
}

class LoopAcceptsTest : public ::testing::TestWithParam<AcceptedCase> {};

TEST_P(LoopAcceptsTest, Succeeds) {
  SchemeInput in = DefaultSchemeInput();
  GetParam().edit(in);
  SchemeState state;
  const CalcOutcome out = RunLoopCalculation(in, state);
  EXPECT_TRUE(out.ok()) << out.error().message;
}

INSTANTIATE_TEST_SUITE_P(
    All, LoopAcceptsTest,
    ::testing::Values(AcceptedCase{"LengthFraction", [](SchemeInput& in) { WithConductor(in.lines[0], "1.5"); }},
                      AcceptedCase{"LengthLeadingBlank", [](SchemeInput& in) { WithConductor(in.lines[0], " 2"); }},
                      AcceptedCase{"LengthExponent", [](SchemeInput& in) { WithConductor(in.lines[0], "1e2"); }},
                      AcceptedCase{"LengthOf100km", [](SchemeInput& in) { WithConductor(in.lines[0], "100000"); }},
                      AcceptedCase{"PowerWithDecimals", [](SchemeInput& in) { in.transPower = "25.0"; }},
                      AcceptedCase{"PowerWithLeadingZero", [](SchemeInput& in) { in.transPower = "025"; }},
                      AcceptedCase{"ArcAboveRecommended", [](SchemeInput& in) { in.rArc = "100"; }},
                      AcceptedCase{"ArcZero", [](SchemeInput& in) { in.rArc = "0"; }},
                      AcceptedCase{"BothSectionsZeroWithoutLength", [](SchemeInput& in) { in.lines[1].length = "0"; }},
                      AcceptedCase{"SectionWithTrailingZero",
                                   [](SchemeInput& in) {
                                     in.lines[0].ff = "4.0";
                                     in.lines[0].fn = "04";
                                     in.lines[0].length = "10";
                                   }},
                      AcceptedCase{"SectionWrittenOtherwise",
                                   [](SchemeInput& in) {
                                     in.lines[1].ff = "1.50";
                                     in.lines[1].fn = "25e-1";
                                     in.lines[1].length = "10";
                                   }},
                      // Cross-section lists play no part for busbar kinds.
                      AcceptedCase{"BusbarIgnoresSections",
                                   [](SchemeInput& in) {
                                     in.lines[0].kind = "Шинопровод ШМА, ШРА";
                                     in.lines[0].stuff = "ШМА4, 1250A";
                                     in.lines[0].ff = "nonsense";
                                     in.lines[0].fn = "";
                                   }}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(LoopCalc, LineKindClasses) {
  EXPECT_EQ(ClassifyLineKind("Воздушная"), LineKindClass::Cable);
  EXPECT_EQ(ClassifyLineKind("Шинопровод LS Cable"), LineKindClass::Tire);
  EXPECT_EQ(ClassifyLineKind("воздушная"), LineKindClass::Unknown);
  EXPECT_EQ(ClassifyLineKind(""), LineKindClass::Unknown);
}

TEST(LoopCalc, DefaultInputIsTheStartingWindow) {
  const SchemeInput in = DefaultSchemeInput();
  EXPECT_EQ(in.windKind, "Y/Y-0");
  EXPECT_EQ(in.transPower, "25");
  EXPECT_EQ(in.rArc, "40");
  EXPECT_EQ(in.lines[0].kind, "Кабель с бумажной изоляцией");
  EXPECT_EQ(in.lines[0].stuff, "Алюминий");
  for (std::size_t i = 1; i < in.lines.size(); ++i) {
    EXPECT_EQ(in.lines[i].kind, "Кабель с ПВХ изоляцией");
    EXPECT_EQ(in.lines[i].stuff, "Медь");
    EXPECT_EQ(in.lines[i].quanPar, "нет");
  }
}

}  // namespace
}  // namespace tesmir
