#include "core/loop_calc.h"

#include <algorithm>
#include <cmath>

#include "core/display_format.h"
#include "core/line_catalogue.h"
#include "core/number_text.h"
#include "core/tire_catalogue.h"
#include "core/trans_catalogue.h"

namespace tesmir {
namespace {

template <std::size_t N>
bool OneOf(std::string_view text, const std::string_view (&list)[N]) {
  return std::find(std::begin(list), std::end(list), text) != std::end(list);
}

Failure<CalcFailure> FailCalc(std::string_view message, LabelsReset labels = LabelsReset::AfterMessage) {
  return FailWith(CalcFailure{std::string(message), labels});
}

Failure<CalcFailure> FailSection(std::string_view message, int section) {
  return FailCalc(std::string(message) + std::to_string(section));
}

}  // namespace

SchemeInput DefaultSchemeInput() {
  SchemeInput in;
  in.transPower = "25";
  in.windKind = "Y/Y-0";
  for (int i = 0; i < kLineCount; ++i) {
    LineInput& line = in.lines[static_cast<std::size_t>(i)];
    line.kind = std::string(i == 0 ? kCableKinds[0] : kCableKinds[1]);
    line.stuff = std::string(i == 0 ? kMaterials[0] : kMaterials[1]);
    line.ff = "0";
    line.fn = "0";
    line.length = "0";
    line.quanPar = std::string(kSingleConductor);
  }
  in.rArc = "40";
  return in;
}

LineKindClass ClassifyLineKind(std::string_view kind) {
  if (OneOf(kind, kCableKinds)) return LineKindClass::Cable;
  if (OneOf(kind, kTireFamilies)) return LineKindClass::Tire;
  return LineKindClass::Unknown;
}

LoopTotals SumLoop(double rt, double xt, double rLineSum, double xLineSum, double rArc) {
  LoopTotals t;
  t.ZLineSum = std::sqrt(rLineSum * rLineSum + xLineSum * xLineSum);
  t.Rsum = rt / 3 + rLineSum + rArc;
  t.Xsum = xt / 3 + xLineSum;
  t.Zsum = std::sqrt(t.Rsum * t.Rsum + t.Xsum * t.Xsum);
  t.Iokz = kPhaseVoltageMillivolts / t.Zsum;
  return t;
}

bool LoopIsFinite(const LoopTotals& t) {
  return std::isfinite(t.ZLineSum) && std::isfinite(t.Zsum) && std::isfinite(t.Iokz) && t.Iokz > 0;
}

CalcOutcome RunLoopCalculation(const SchemeInput& input, SchemeState& state) {
  // Everything is computed into a copy; the shared state changes only when the
  // whole calculation has succeeded.
  SchemeState s = state;

  const std::optional<double> power = ParseDecimal(input.transPower);
  if (!power) return FailCalc(calc_messages::kBadPower, LabelsReset::BeforeMessage);
  s.TransPower = *power;

  s.WindKind = input.windKind;
  const Result<TransImpedance> trans = CalcTransImpedance(s.WindKind, s.TransPower);
  if (!trans) return FailCalc(trans.error());
  s.Rt = trans->rt;
  s.Xt = trans->xt;
  s.Zt = trans->zt;

  for (int i = 0; i < kLineCount; ++i) {
    const LineInput& in = input.lines[static_cast<std::size_t>(i)];
    LineSegment& seg = s.Lines[static_cast<std::size_t>(i)];
    const int section = i + 1;
    seg.Stuff = in.stuff;
    seg.Kind = in.kind;
    switch (ClassifyLineKind(seg.Kind)) {
      case LineKindClass::Cable: {
        seg.Ff = in.ff;
        seg.Fn = in.fn;
        const Result<LineImpedance> phase = CalcLineImpedance(seg.Ff, seg.Stuff, seg.Kind);
        if (!phase) return FailCalc(phase.error());
        seg.RPhase = phase->r;
        seg.XPhase = phase->x;
        const Result<LineImpedance> neutral = CalcLineImpedance(seg.Fn, seg.Stuff, seg.Kind);
        if (!neutral) return FailCalc(neutral.error());
        seg.RNeutral = neutral->r;
        seg.XNeutral = neutral->x;
        break;
      }
      case LineKindClass::Tire: {
        // The catalogue gives the whole loop; it is split evenly between the
        // phase and the neutral conductor.
        const Result<TireImpedance> tire = CalcTireLineImpedance(seg.Stuff, seg.Kind);
        if (!tire) return FailCalc(tire.error());
        seg.RPhase = tire->r / 2;
        seg.XPhase = tire->x / 2;
        seg.RNeutral = tire->r / 2;
        seg.XNeutral = tire->x / 2;
        break;
      }
      case LineKindClass::Unknown:
        // Never reuse catalogue values of an earlier run for a text that names
        // no line kind.
        return FailCalc(calc_messages::kUnknownLineKind);
    }
    if (seg.RPhase != 0 && seg.RNeutral == 0) return FailSection(calc_messages::kSelectNeutral, section);
    if (seg.RPhase == 0 && seg.RNeutral != 0) return FailSection(calc_messages::kSelectPhase, section);
  }

  for (int i = 0; i < kLineCount; ++i) {
    const std::optional<double> length = ParseDecimal(input.lines[static_cast<std::size_t>(i)].length);
    if (!length || *length < 0 || *length > kMaxLineLength) return FailSection(calc_messages::kBadLength, i + 1);
    LineSegment& seg = s.Lines[static_cast<std::size_t>(i)];
    seg.Length = *length;
    // A cable or overhead run with a length but no conductor ("0"/"0") would
    // silently drop out of the loop.
    if (seg.Length > 0 && ClassifyLineKind(seg.Kind) == LineKindClass::Cable && seg.RPhase == 0 && seg.RNeutral == 0) {
      return FailSection(calc_messages::kSelectPhase, i + 1);
    }
  }

  for (int i = 0; i < kLineCount; ++i) {
    const std::string& text = input.lines[static_cast<std::size_t>(i)].quanPar;
    std::optional<std::int32_t> count =
        text == kSingleConductor ? std::optional<std::int32_t>(1) : ParseWholeNumber(text);
    if (!count || *count < 1) return FailSection(calc_messages::kBadQuanPar, i + 1);
    s.Lines[static_cast<std::size_t>(i)].QuanPar = *count;
  }

  const std::optional<double> arc = ParseDecimal(input.rArc);
  if (!arc || *arc < 0) return FailCalc(calc_messages::kBadArc);
  s.RArc = *arc;

  s.RLineSum = 0;
  s.XLineSum = 0;
  for (LineSegment& seg : s.Lines) {
    seg.RLine = (seg.RPhase + seg.RNeutral) * seg.Length / seg.QuanPar;
    seg.XLine = seg.Length * (seg.XPhase + seg.XNeutral) / seg.QuanPar;
    seg.ZLine = std::sqrt(seg.RLine * seg.RLine + seg.XLine * seg.XLine);
    s.RLineSum += seg.RLine;
    s.XLineSum += seg.XLine;
  }
  const LoopTotals totals = SumLoop(s.Rt, s.Xt, s.RLineSum, s.XLineSum, s.RArc);
  s.ZLineSum = totals.ZLineSum;
  s.Rsum = totals.Rsum;
  s.Xsum = totals.Xsum;
  s.Zsum = totals.Zsum;
  s.Iokz = totals.Iokz;

  bool finite = LoopIsFinite(totals);
  for (const LineSegment& seg : s.Lines) finite = finite && std::isfinite(seg.ZLine);
  if (!finite) return FailCalc(calc_messages::kOutOfRange);

  state = std::move(s);
  return std::string(calc_messages::kResultPrefix) + FormatCurrent(state.Iokz) +
         std::string(calc_messages::kResultSuffix);
}

}  // namespace tesmir
