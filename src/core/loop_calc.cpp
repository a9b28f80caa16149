#include "core/loop_calc.h"

#include <algorithm>
#include <array>
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

Result<SectionConductors, CalcFailure> ReadSectionConductors(std::string_view kind, std::string_view stuff,
                                                             std::string_view ff, std::string_view fn, int section) {
  SectionConductors c;
  c.kind = ClassifyLineKind(kind);
  switch (c.kind) {
    case LineKindClass::Cable: {
      const Result<LineImpedance> phase = CalcLineImpedance(ff, stuff, kind);
      if (!phase) return FailCalc(phase.error());
      c.RPhase = phase->r;
      c.XPhase = phase->x;
      const Result<LineImpedance> neutral = CalcLineImpedance(fn, stuff, kind);
      if (!neutral) return FailCalc(neutral.error());
      c.RNeutral = neutral->r;
      c.XNeutral = neutral->x;
      break;
    }
    case LineKindClass::Tire: {
      // The catalogue gives the whole loop; it is split evenly between the
      // phase and the neutral conductor.
      const Result<TireImpedance> tire = CalcTireLineImpedance(stuff, kind);
      if (!tire) return FailCalc(tire.error());
      c.RPhase = tire->r / 2;
      c.XPhase = tire->x / 2;
      c.RNeutral = tire->r / 2;
      c.XNeutral = tire->x / 2;
      break;
    }
    case LineKindClass::Unknown:
      // Never reuse catalogue values of an earlier run for a text that names
      // no line kind.
      return FailCalc(calc_messages::kUnknownLineKind);
  }
  if (c.RPhase != 0 && c.RNeutral == 0) return FailSection(calc_messages::kSelectNeutral, section);
  if (c.RPhase == 0 && c.RNeutral != 0) return FailSection(calc_messages::kSelectPhase, section);
  return c;
}

Result<double, CalcFailure> ReadSectionLength(std::string_view text, const SectionConductors& conductors, int section) {
  const std::optional<double> length = ParseDecimal(text);
  if (!length || *length < 0 || *length > kMaxLineLength) return FailSection(calc_messages::kBadLength, section);
  // A cable or overhead run with a length but no conductor ("0"/"0") would
  // silently drop out of the loop.
  if (*length > 0 && conductors.kind == LineKindClass::Cable && conductors.RPhase == 0 && conductors.RNeutral == 0) {
    return FailSection(calc_messages::kSelectPhase, section);
  }
  return *length;
}

Result<std::int32_t, CalcFailure> ReadParallelCount(std::string_view text, int section) {
  const std::optional<std::int32_t> count =
      text == kSingleConductor ? std::optional<std::int32_t>(1) : ParseWholeNumber(text);
  if (!count || *count < 1) return FailSection(calc_messages::kBadQuanPar, section);
  return *count;
}

SectionLoop ComputeSectionLoop(const SectionConductors& c, double length, std::int32_t quanPar) {
  SectionLoop loop;
  loop.RLine = (c.RPhase + c.RNeutral) * length / quanPar;
  loop.XLine = length * (c.XPhase + c.XNeutral) / quanPar;
  loop.ZLine = std::sqrt(loop.RLine * loop.RLine + loop.XLine * loop.XLine);
  return loop;
}

namespace {

// Every number the calculation reads from its texts.
struct SchemeNumbers {
  double transPower = 0;
  TransImpedance trans;
  std::array<SectionConductors, kLineCount> conductors{};
  std::array<double, kLineCount> lengths{};
  std::array<std::int32_t, kLineCount> counts{};
  double arc = 0;
};

// Reads the texts in the calculation's order; the first refusal is the message.
Result<SchemeNumbers, CalcFailure> ReadScheme(const SchemeInput& input) {
  SchemeNumbers n;
  const std::optional<double> power = ParseDecimal(input.transPower);
  if (!power) return FailCalc(calc_messages::kBadPower, LabelsReset::BeforeMessage);
  n.transPower = *power;
  Result<TransImpedance> trans = CalcTransImpedance(input.windKind, n.transPower);
  if (!trans) return FailCalc(trans.error());
  n.trans = *trans;
  for (int i = 0; i < kLineCount; ++i) {
    const LineInput& in = input.lines[LineIndex(i)];
    Result<SectionConductors, CalcFailure> c = ReadSectionConductors(in.kind, in.stuff, in.ff, in.fn, i + 1);
    if (!c) return FailWith(c.error());
    n.conductors[LineIndex(i)] = *c;
  }
  for (int i = 0; i < kLineCount; ++i) {
    Result<double, CalcFailure> length =
        ReadSectionLength(input.lines[LineIndex(i)].length, n.conductors[LineIndex(i)], i + 1);
    if (!length) return FailWith(length.error());
    n.lengths[LineIndex(i)] = *length;
  }
  for (int i = 0; i < kLineCount; ++i) {
    Result<std::int32_t, CalcFailure> count = ReadParallelCount(input.lines[LineIndex(i)].quanPar, i + 1);
    if (!count) return FailWith(count.error());
    n.counts[LineIndex(i)] = *count;
  }
  const std::optional<double> arc = ParseDecimal(input.rArc);
  if (!arc || *arc < 0) return FailCalc(calc_messages::kBadArc);
  n.arc = *arc;
  return n;
}

}  // namespace

CalcOutcome RunLoopCalculation(const SchemeInput& input, SchemeState& state) {
  const Result<SchemeNumbers, CalcFailure> read = ReadScheme(input);
  if (!read) return FailWith(read.error());
  const SchemeNumbers& n = *read;

  // Everything is computed before the shared state changes: it changes only
  // when the whole calculation has succeeded.
  std::array<SectionLoop, kLineCount> loops{};
  double rLineSum = 0;
  double xLineSum = 0;
  for (std::size_t i = 0; i < LineIndex(kLineCount); ++i) {
    loops[i] = ComputeSectionLoop(n.conductors[i], n.lengths[i], n.counts[i]);
    rLineSum += loops[i].RLine;
    xLineSum += loops[i].XLine;
  }
  const LoopTotals totals = SumLoop(n.trans.rt, n.trans.xt, rLineSum, xLineSum, n.arc);
  bool finite = LoopIsFinite(totals);
  for (const SectionLoop& loop : loops) finite = finite && std::isfinite(loop.ZLine);
  if (!finite) return FailCalc(calc_messages::kOutOfRange);

  state.TransPower = n.transPower;
  state.WindKind = input.windKind;
  state.Rt = n.trans.rt;
  state.Xt = n.trans.xt;
  state.Zt = n.trans.zt;
  for (std::size_t i = 0; i < LineIndex(kLineCount); ++i) {
    const LineInput& in = input.lines[i];
    const SectionConductors& c = n.conductors[i];
    LineSegment& seg = state.Lines[i];
    seg.Kind = in.kind;
    seg.Stuff = in.stuff;
    // A busbar keeps the cross-section texts of the last cable calculated in
    // its place: they are not read for it.
    if (c.kind == LineKindClass::Cable) {
      seg.Ff = in.ff;
      seg.Fn = in.fn;
    }
    seg.RPhase = c.RPhase;
    seg.XPhase = c.XPhase;
    seg.RNeutral = c.RNeutral;
    seg.XNeutral = c.XNeutral;
    seg.Length = n.lengths[i];
    seg.QuanPar = n.counts[i];
    seg.RLine = loops[i].RLine;
    seg.XLine = loops[i].XLine;
    seg.ZLine = loops[i].ZLine;
  }
  state.RArc = n.arc;
  state.RLineSum = rLineSum;
  state.XLineSum = xLineSum;
  state.ZLineSum = totals.ZLineSum;
  state.Rsum = totals.Rsum;
  state.Xsum = totals.Xsum;
  state.Zsum = totals.Zsum;
  state.Iokz = totals.Iokz;
  const std::string current = FormatCurrent(state.Iokz);
  std::string line;
  line.reserve(calc_messages::kResultPrefix.size() + current.size() + calc_messages::kResultSuffix.size());
  line += calc_messages::kResultPrefix;
  line += current;
  line += calc_messages::kResultSuffix;
  return line;
}

}  // namespace tesmir
