#include "device/protection_check.h"

#include <cmath>
#include <cstddef>
#include <optional>

#include "core/line_catalogue.h"
#include "core/number_text.h"
#include "core/trans_catalogue.h"

namespace tesmir {
namespace {

using namespace check_factors;

constexpr std::string_view kSinglePhaseScheme = "1/1-0";
// The scheme whose catalogue values give the positive-sequence impedance.
constexpr std::string_view kTriangleStarScheme = "T/Y-0";

CheckFigure Undefined(std::string_view reason) { return {FigureState::Undefined, 0, std::string(reason)}; }
CheckFigure Unreachable() { return {FigureState::Unreachable, 0, {}}; }
// A figure is never inf or NaN: a value past the range of numbers is "—".
CheckFigure Value(double value) {
  if (!std::isfinite(value)) return Undefined(check_texts::kWhyOutOfRange);
  return {FigureState::Value, value, {}};
}

// One convention of the single-phase loop: the phase voltage (times c) and
// the factor on every line resistance.
struct Convention {
  double voltage;
  double lineFactor;
};

constexpr Convention kNormal{kPhaseVoltageMillivolts, 1};
constexpr Convention kHeated{kCMin * kPhaseVoltageMillivolts, kHeatedFactor};

// The loop without the last section, under a convention.
struct LoopPart {
  double r;
  double x;
};

// Summed over the other sections, not as the whole loop less the last one:
// a very long last section would cancel every other term.
LoopPart LoopWithout(const CheckedLoop& s, const Convention& c) {
  if (c.lineFactor == 1) return {s.Rt / 3 + s.RRestSum + s.RArc, s.Xt / 3 + s.XRestSum};
  return {s.Rt / 3 + c.lineFactor * s.RRestSum + s.RArc + s.RGridMin, s.Xt / 3 + s.XRestSum + s.XGridMin};
}

// The largest length L of the last section, per-metre loop values r and x,
// for which voltage / |(R0 + rL) + j(X0 + xL)| >= trip. Solved in closed form:
// (r² + x²) L² + 2 (R0 r + X0 x) L + (R0² + X0² − Z²) <= 0 with Z = voltage / trip.
CheckFigure MaxLength(LoopPart without, double r, double x, double voltage, double trip) {
  const double zLimit = voltage / trip;
  // A trip current so small that the impedance it allows is past the range
  // of numbers gives no length to compute.
  if (!std::isfinite(zLimit * zLimit)) return Undefined(check_texts::kWhyOutOfRange);
  const double a = r * r + x * x;
  const double b = 2 * (without.r * r + without.x * x);
  const double c = without.r * without.r + without.x * without.x - zLimit * zLimit;
  if (c > 0) return Unreachable();  // even a section of length 0 leaves too little current
  if (a == 0) return Undefined(check_texts::kWhyNoConductor);
  // The larger root, written without the cancellation of −b + √(b² − 4ac).
  const double denominator = b + std::sqrt(b * b - 4 * a * c);
  return Value(denominator > 0 ? -2 * c / denominator : 0);
}

double LoopCurrent(double r, double x, double voltage) { return voltage / std::hypot(r, x); }

// Whether voltage / |r + jx| is certainly below `trip`, decided without the
// root: the squares differ by far more than the rounding of either side.
// Only a clear miss is decided here; everything near the limit, or outside
// the range where the squares are safe, is left to the exact current.
bool ClearlyBelow(double r, double x, double voltage, double trip) {
  constexpr double kMargin = 1 - 1e-9;
  const double z2 = r * r + x * x;
  const double limit = trip * trip * z2;
  if (!(z2 > 1e-200) || !(trip > 0) || !std::isfinite(limit) || !(limit > 1e-200)) return false;
  return voltage * voltage < limit * kMargin;
}

// The first catalogue section, smallest first, with which the last section
// (same kind, material, length and parallel count, phase and neutral of that
// section) gives at least `trip` under each convention.
void SmallestSections(const CheckedLoop& s, const LineSegment& last, double trip, ProtectionCheckResult& out) {
  const LoopPart normalRest = LoopWithout(s, kNormal);
  const LoopPart heatedRest = LoopWithout(s, kHeated);
  const double perMetre = last.Length / last.QuanPar;
  bool normalFound = s.heatedOnly;  // not searched
  bool heatedFound = false;
  std::optional<CatalogueColumn> looked;
  const CatalogueColumn* column = s.lastConductors;
  if (column == nullptr) column = &looked.emplace(CatalogueConductors(last.Stuff, last.Kind));
  for (std::size_t row = 0; row < column->count; ++row) {
    const CatalogueConductor& conductor = column->rows[row];
    if (conductor.impedance.r == 0) continue;  // no conductor at all
    const double rLine = 2 * conductor.impedance.r * perMetre;
    const double xLine = 2 * conductor.impedance.x * perMetre;
    if (!normalFound) {
      const double r = normalRest.r + rLine;
      const double x = normalRest.x + xLine;
      if (!ClearlyBelow(r, x, kNormal.voltage, trip)) {
        const double current = LoopCurrent(r, x, kNormal.voltage);
        if (current >= trip) {
          out.sectionMin = {Value(conductor.number), std::string(conductor.section), current};
          normalFound = true;
        }
      }
    }
    if (!heatedFound) {
      const double r = heatedRest.r + kHeated.lineFactor * rLine;
      const double x = heatedRest.x + xLine;
      if (!ClearlyBelow(r, x, kHeated.voltage, trip)) {
        const double current = LoopCurrent(r, x, kHeated.voltage);
        if (current >= trip) {
          out.sectionMinHot = {Value(conductor.number), std::string(conductor.section), current};
          heatedFound = true;
        }
      }
    }
    if (normalFound && heatedFound) return;
  }
  if (!normalFound) out.sectionMin.section = Unreachable();
  if (!heatedFound) out.sectionMinHot.section = Unreachable();
}

// The three-phase loop of the six sections of the last calculation.
ThreePhaseLoop SixSectionThreePhaseLoop(const SchemeState& s) {
  const PositiveSequence z1 = TransformerPositiveSequence(s.WindKind, s.TransPower);
  ThreePhaseLoop loop;
  loop.reason = z1.reason;
  if (!loop.reason.empty()) return loop;
  loop.rDevice = z1.r1;
  loop.xDevice = z1.x1;
  double rPoint = z1.r1;
  double xPoint = z1.x1;
  for (const LineSegment& line : s.Lines) {
    rPoint += line.RPhase * line.Length / line.QuanPar;
    xPoint += line.XPhase * line.Length / line.QuanPar;
  }
  loop.rPoint = rPoint;
  loop.xPoint = xPoint;
  return loop;
}

// Maximum three-phase currents, IEC 60909-0: Ik3 = c_max Un / (√3 |Z1|).
void ThreePhaseCurrents(const ThreePhaseLoop& loop, ProtectionCheckResult& out) {
  if (!loop.reason.empty()) {
    out.ik3Device = out.ik3Point = Undefined(loop.reason);
    return;
  }
  const double numerator = kCMax * kLineVoltage / std::sqrt(3.0);
  out.ik3Device = Value(numerator / std::hypot(loop.rDevice, loop.xDevice));
  out.ik3Point = Value(numerator / std::hypot(loop.rPoint, loop.xPoint));
}

std::string Join(std::string number, std::string_view unit) {
  number += ' ';
  number += unit;
  return number;
}

// The shown text of a figure: `format` writes a value, `unreachable` is the
// word for a figure that no length or section reaches.
template <class Format>
FigureText Text(const CheckFigure& figure, std::string_view unreachable, Format format) {
  switch (figure.state) {
    case FigureState::Value:
      return {format(figure.value), {}};
    case FigureState::Unreachable:
      return {std::string(unreachable), {}};
    case FigureState::Undefined:
      break;
  }
  return {std::string(check_texts::kDash), figure.reason};
}

FigureText LengthText(const CheckFigure& figure) {
  // Whole metres, rounded down: the safe side. The small allowance keeps an
  // exact whole length from losing a metre to the last bit of the root.
  return Text(figure, check_texts::kNoLength,
              [](double metres) { return Join(FormatCurrent(std::floor(metres * (1 + 1e-12))), "м"); });
}

FigureText SectionText(const SectionFigure& figure, const NumberSeparators& seps) {
  return Text(figure.section, check_texts::kNoSection,
              [&seps](double section) { return Join(FormatG(section, seps), "кв.мм."); });
}

FigureText KiloampereText(const CheckFigure& figure, const NumberSeparators& seps) {
  return Text(figure, {}, [&seps](double amperes) { return Join(FormatF2(amperes / 1000, seps), "кА"); });
}

}  // namespace

PositiveSequence TransformerPositiveSequence(std::string_view windKind, double power) {
  if (windKind == kSinglePhaseScheme) return {check_texts::kWhySinglePhase};
  const Result<TransImpedance> trans = CalcTransImpedance(kTriangleStarScheme, power);
  if (!trans.ok()) return {check_texts::kWhyNoTriangleStar};
  return {{}, trans->rt / 3, trans->xt / 3};
}

ProtectionCheckResult CheckProtection(const SchemeState& s, const DeviceSettings& device) {
  CheckedLoop loop;
  loop.Rt = s.Rt;
  loop.Xt = s.Xt;
  loop.RArc = s.RArc;
  loop.RLineSum = s.RLineSum;
  loop.XLineSum = s.XLineSum;
  loop.Rsum = s.Rsum;
  loop.Xsum = s.Xsum;
  loop.Zsum = s.Zsum;
  for (int i = kLineCount; i >= 1; --i) {
    if (s.Lines[static_cast<std::size_t>(i - 1)].Length > 0) {
      loop.lastLine = i;
      loop.last = &s.Lines[static_cast<std::size_t>(i - 1)];
      break;
    }
  }
  for (const LineSegment& seg : s.Lines) {
    if (&seg == loop.last) continue;
    loop.RRestSum += seg.RLine;
    loop.XRestSum += seg.XLine;
  }
  if (s.Zsum > 0) loop.threePhase = SixSectionThreePhaseLoop(s);
  return CheckProtectionLoop(loop, device);
}

ProtectionCheckResult CheckProtectionLoop(const CheckedLoop& s, const DeviceSettings& device) {
  ProtectionCheckResult out;
  out.tripCurrent = device.TokSR;
  if (!(s.Zsum > 0)) {
    // Nothing has been calculated yet.
    out.iokzMin = out.lengthMax = out.lengthMaxHot = Undefined(check_texts::kWhyNoCalculation);
    out.sectionMin.section = out.sectionMinHot.section = out.iokzMin;
    out.ik3Device = out.ik3Point = out.iokzMin;
    out.iokzMinStatus = check_texts::kWhyNoCalculation;
    return out;
  }
  const bool deviceDefined = device.TokSR > 0;

  // Minimum current: every line resistance at 80 °C, voltage factor c_min.
  const double rMin = s.Rt / 3 + kHeatedFactor * s.RLineSum + s.RArc + s.RGridMin;
  out.iokzMin = Value(LoopCurrent(rMin, s.Xsum + s.XGridMin, kHeated.voltage));
  if (!deviceDefined) {
    out.iokzMinStatus = check_texts::kNoDevice;
  } else {
    out.iokzMinStatus = out.iokzMin.value >= device.TokSR ? check_texts::kTrips : check_texts::kDoesNotTrip;
  }

  out.lastLine = s.lastLine;
  if (!deviceDefined || s.last == nullptr) {
    const CheckFigure none = Undefined(!deviceDefined ? check_texts::kWhyNoDevice : check_texts::kWhyNoLine);
    out.lengthMax = out.lengthMaxHot = out.sectionMin.section = out.sectionMinHot.section = none;
  } else {
    const LineSegment& last = *s.last;
    const double r = (last.RPhase + last.RNeutral) / last.QuanPar;
    const double x = (last.XPhase + last.XNeutral) / last.QuanPar;
    if (!s.heatedOnly) out.lengthMax = MaxLength(LoopWithout(s, kNormal), r, x, kNormal.voltage, device.TokSR);
    out.lengthMaxHot = MaxLength(LoopWithout(s, kHeated), kHeatedFactor * r, x, kHeated.voltage, device.TokSR);
    if (ClassifyLineKind(last.Kind) == LineKindClass::Cable) {
      SmallestSections(s, last, device.TokSR, out);
    } else {
      out.sectionMin.section = out.sectionMinHot.section = Undefined(check_texts::kWhyBusbar);
    }
  }

  ThreePhaseCurrents(s.threePhase, out);
  return out;
}

ProtectionCheckTexts FormatProtectionCheck(const ProtectionCheckResult& result, const NumberSeparators& seps) {
  ProtectionCheckTexts texts;
  texts.iokzMin = Text(result.iokzMin, {}, [](double amperes) { return Join(FormatCurrent(amperes), "А"); });
  texts.iokzMinStatus = std::string(result.iokzMinStatus);
  texts.lengthMax = LengthText(result.lengthMax);
  texts.lengthMaxHot = LengthText(result.lengthMaxHot);
  texts.sectionMin = SectionText(result.sectionMin, seps);
  texts.sectionMinHot = SectionText(result.sectionMinHot, seps);
  texts.ik3Device = KiloampereText(result.ik3Device, seps);
  texts.ik3Point = KiloampereText(result.ik3Point, seps);
  return texts;
}

std::string_view BreakingStatus(double capacityKa, double ik3Device) {
  return capacityKa * 1000 >= ik3Device ? check_texts::kBreakingEnough : check_texts::kBreakingShort;
}

BreakingVerdict JudgeBreakingCapacity(std::string_view text, const CheckFigure& ik3Device) {
  BreakingVerdict verdict;
  if (text.empty()) return verdict;  // nothing typed yet
  const std::optional<double> capacity = ParseDecimal(text);
  if (!capacity || !(*capacity > 0)) {
    verdict.message = std::string(check_texts::kBadBreakingCapacity);
    return verdict;
  }
  if (ik3Device.state != FigureState::Value) {
    verdict.status = std::string(check_texts::kDash);
    verdict.reason = ik3Device.reason.empty() ? std::string(check_texts::kWhyNoIk3) : ik3Device.reason;
    return verdict;
  }
  verdict.status = std::string(BreakingStatus(*capacity, ik3Device.value));
  return verdict;
}

}  // namespace tesmir
