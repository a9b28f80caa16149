#pragma once
// The phase-neutral loop of one feeder and its single-phase fault current,
// computed from the input texts as the user typed or picked them.
//
// Glossary of the short names the program keeps throughout (records, fields,
// window controls and their handlers):
//   Scheme    the feeder: transformer, line sections, contact and arc resistance
//   Trans     the supply transformer; WindKind its winding connection scheme
//   Tire      busbar trunking (a "Tire" kind is a busbar family, "TireLine" a busbar run)
//   Stuff     a section's conductor material, or for busbars its model
//   Ff, Fn    phase and neutral cross-section texts, mm²
//   QuanPar   the number of parallel conductors (or runs) of a section
//   RArc      the contact-plus-arc resistance at the fault point, mOhm
//   Rt, Xt    transformer resistance and reactance, held three-fold (one third enters the loop)
//   Iokz      the single-phase short-circuit current (Iокз), A
//   TokSR     the protective device's trip current (Iср), A; 0 or below: no device
//   DD        protective device ("аппарат защиты"); AV a circuit breaker, PP a fuse

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/result.h"

namespace tesmir {

inline constexpr int kLineCount = 6;
// The longest line section, m (100 km): no 0.4 kV feeder is longer, and
// lengths far beyond it lose every other term of the loop to rounding.
inline constexpr double kMaxLineLength = 100000;
// Line sections are numbered 0..kLineCount-1 as ints (they go into names,
// grid rows and texts); the same number as an index into the line arrays.
constexpr std::size_t LineIndex(int line) { return static_cast<std::size_t>(line); }

// The phase voltage, 231 V, in millivolts: divided by a loop impedance in
// milliohms it gives the fault current in amperes.
inline constexpr double kPhaseVoltageMillivolts = 231000;

// The parallel-count text that means a single conductor.
inline constexpr std::string_view kSingleConductor = "нет";

// One series line section.
struct LineSegment {
  std::string Kind;   // line kind text
  std::string Stuff;  // conductor material or busbar model
  std::string Ff;     // phase cross-section text (cable and overhead kinds)
  std::string Fn;     // neutral cross-section text (cable and overhead kinds)
  double RPhase = 0;  // mOhm per metre
  double XPhase = 0;
  double RNeutral = 0;
  double XNeutral = 0;
  double Length = 0;         // m
  std::int32_t QuanPar = 0;  // parallel conductors, >= 1 after a calculation
  double RLine = 0;          // mOhm
  double XLine = 0;
  double ZLine = 0;
  bool operator==(const LineSegment&) const = default;
};

// Inputs read by the last successful calculation and everything it computed.
// All zero and empty at start.
struct SchemeState {
  double TransPower = 0;  // kVA
  std::string WindKind;
  double Rt = 0;  // mOhm, three-fold
  double Xt = 0;
  double Zt = 0;
  std::array<LineSegment, kLineCount> Lines{};
  double RArc = 0;  // mOhm
  double RLineSum = 0;
  double XLineSum = 0;
  double ZLineSum = 0;
  double Rsum = 0;
  double Xsum = 0;
  double Zsum = 0;
  double Iokz = 0;  // A, not rounded
  bool operator==(const SchemeState&) const = default;
};

// The input texts of one line section.
struct LineInput {
  std::string kind;
  std::string stuff;
  std::string ff;
  std::string fn;
  std::string length;
  std::string quanPar;
  bool operator==(const LineInput&) const = default;
};

// The input texts that the calculation reads.
struct SchemeInput {
  std::string transPower;
  std::string windKind;
  std::array<LineInput, kLineCount> lines{};
  std::string rArc;
  bool operator==(const SchemeInput&) const = default;
};

// The inputs as the program starts.
SchemeInput DefaultSchemeInput();

// When a failed calculation's reset result and device-status texts are shown
// relative to its message: after it for every failure but the power check,
// whose texts change before the message appears.
enum class LabelsReset { AfterMessage, BeforeMessage };

struct CalcFailure {
  std::string message;  // the text of the one message to show
  LabelsReset labels = LabelsReset::AfterMessage;
  bool operator==(const CalcFailure&) const = default;
};

// Success: the result line ("Ток однофазного короткого замыкания равен ... А").
using CalcOutcome = Result<std::string, CalcFailure>;

// Classification of a line-kind text.
enum class LineKindClass { Cable, Tire, Unknown };
LineKindClass ClassifyLineKind(std::string_view kind);

// The totals of a loop from the transformer's three-fold values, the sums of
// the sections' RLine and XLine (added in section order) and the arc, for a
// feeder of any number of sections.
struct LoopTotals {
  double ZLineSum = 0;
  double Rsum = 0;
  double Xsum = 0;
  double Zsum = 0;
  double Iokz = 0;  // A, not rounded
};
LoopTotals SumLoop(double rt, double xt, double rLineSum, double xLineSum, double rArc);

// Whether a loop's totals are a result: an overflow anywhere (a length of
// 1e306, say) gives an infinite impedance and a current of 0 that only looks
// like one.
bool LoopIsFinite(const LoopTotals& totals);

// Runs the whole calculation. On success `state` receives every input and
// computed value; on failure it is left exactly as it was.
CalcOutcome RunLoopCalculation(const SchemeInput& input, SchemeState& state);

// The steps of the calculation for one section, in the order it takes them
// (every section's conductors, then every length, then every parallel
// count); `section` is the 1-based number the messages name. A single
// section read and computed through them gives exactly the values of the
// whole calculation.
struct SectionConductors {
  LineKindClass kind = LineKindClass::Unknown;
  double RPhase = 0;  // mOhm per metre
  double XPhase = 0;
  double RNeutral = 0;
  double XNeutral = 0;
};
// The kind, the catalogue's conductors (for busbars the catalogue's loop
// split evenly between phase and neutral), and a phase without a neutral or
// the reverse.
Result<SectionConductors, CalcFailure> ReadSectionConductors(std::string_view kind, std::string_view stuff,
                                                             std::string_view ff, std::string_view fn, int section);
// The length, m, 0..kMaxLineLength; a cable or overhead run with a length
// but no conductor is refused.
Result<double, CalcFailure> ReadSectionLength(std::string_view text, const SectionConductors& conductors, int section);
// The parallel count: kSingleConductor or a whole number from 1.
Result<std::int32_t, CalcFailure> ReadParallelCount(std::string_view text, int section);

// A section's own loop, mOhm: (r_ph + r_n)·L/n, (x_ph + x_n)·L/n and its modulus.
struct SectionLoop {
  double RLine = 0;
  double XLine = 0;
  double ZLine = 0;
};
SectionLoop ComputeSectionLoop(const SectionConductors& conductors, double length, std::int32_t quanPar);

namespace calc_messages {
inline constexpr std::string_view kNotEnoughData = "Не хватает данных для расчета!";
inline constexpr std::string_view kEnterData = "Введите исходные данные для расчета";
inline constexpr std::string_view kBadPower = "Неверная мощность трансформатора";
inline constexpr std::string_view kUnknownLineKind = "Неизвестный тип линии";
inline constexpr std::string_view kBadArc =
    "Неправильно введено сопротивление электрической дуги. Рекомендуемый диапазон значений 0..40 мОм";
inline constexpr std::string_view kOutOfRange =
    "Результат расчета выходит за пределы допустимых значений. Проверьте длины линий и сопротивление дуги.";
inline constexpr std::string_view kResultPrefix = "Ток однофазного короткого замыкания равен ";
inline constexpr std::string_view kResultSuffix = " А";
// Section-numbered messages: the section number (1..6) is appended.
inline constexpr std::string_view kSelectNeutral = "Выберите сечение жилы нулевого провода линии ";
inline constexpr std::string_view kSelectPhase = "Выберите сечение жилы фазного провода линии ";
inline constexpr std::string_view kBadLength = "Неверная длина линии ";
inline constexpr std::string_view kBadQuanPar = "Неверное количество параллельных проводов линии ";
}  // namespace calc_messages

}  // namespace tesmir
