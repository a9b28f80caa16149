#include "journal/journal_calc.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>
#include <unordered_map>

#include "core/line_catalogue.h"
#include "core/loop_calc.h"
#include "core/number_text.h"
#include "device/device_check.h"
#include "device/fuse_characteristic.h"
#include "journal/cable_mark.h"

namespace tesmir {
namespace {

using namespace journal_texts;

constexpr std::string_view kDefaultArc = "15";
constexpr std::string_view kDefaultSafety = "1.1";
constexpr std::string_view kDefaultInstantTime = "0.1";
constexpr double kDefaultDuLimitTp = 5;
constexpr double kDefaultDuLimitVru = 4;
constexpr std::string_view kSinglePhaseScheme = "1/1-0";

// Nominal voltages of the voltage drop, V.
constexpr double kLineVolts = 400;
const double kPhaseVolts = kLineVolts / std::sqrt(3.0);
// Service temperature of the voltage drop: r × 1.25.
constexpr double kServiceResistance = 1.25;
// The required disconnection times, s, and the largest rated current of a
// final circuit that must clear within the shorter one, A.
constexpr double kFinalCircuitTime = 0.4;
constexpr double kDistributionTime = 5;
constexpr double kFinalCircuitLargestRating = 32;
// Voltage factors of the upstream grid, IEC 60909-0 Table 1.
constexpr double kGridCMax = 1.10;
constexpr double kGridCMin = 1.00;
// A fuse's fast zone, and its 5-s zone.
constexpr double kFuseFastTime = 0.4;
constexpr double kFuseSlowTime = 5;

// The verdict texts as the codes a line's record keeps.
constexpr ResultText kTripsCode{kStatusTrips};
constexpr ResultText kDoesNotTripCode{kStatusDoesNotTrip};
constexpr ResultText kDashCode{kDash};
constexpr ResultText kBreakingEnoughCode{check_texts::kBreakingEnough};
constexpr ResultText kBreakingShortCode{check_texts::kBreakingShort};
constexpr ResultText kWithstandsCode{kWithstands};
constexpr ResultText kFailsCode{kFails};
constexpr ResultText kNotConfirmedCode{kNotConfirmed};
constexpr ResultText kCasePhaseIk3Code{kCasePhaseIk3};
constexpr ResultText kCasePhaseIk1MaxCode{kCasePhaseIk1Max};
constexpr ResultText kCasePhaseIk1MinCode{kCasePhaseIk1Min};
constexpr ResultText kCaseNeutralIk1MaxCode{kCaseNeutralIk1Max};
constexpr ResultText kCaseNeutralIk1MinCode{kCaseNeutralIk1Min};

constexpr std::int32_t kRoot = -1;
constexpr std::int32_t kMissing = -2;

double Sq(double v) { return v * v; }

// ---- the transformer and the grid ------------------------------------------

struct Supply {
  std::string error;
  std::string scheme;
  std::string power;
  double rt = 0;
  double xt = 0;
  PositiveSequence z1;
  double rqMax = 0;  // mOhm, full grid impedance for maximum currents
  double xqMax = 0;
  double rqMin = 0;  // mOhm, for minimum currents
  double xqMin = 0;
  double duLimitTp = kDefaultDuLimitTp;
  double duLimitVru = kDefaultDuLimitVru;
  std::optional<double> loadIp;
  std::optional<double> loadCos;
};

// ZQ = c·Un²/Sk referred to 0.4 kV, in mOhm; XQ = 0.995·ZQ, RQ = 0.1·XQ.
void GridImpedance(double c, double skMva, double& r, double& x) {
  const double z = c * Sq(kLineVolts) / (skMva * 1e6) * 1000;
  x = 0.995 * z;
  r = 0.1 * x;
}

std::optional<double> PositiveNumber(std::string_view text) {
  const std::optional<double> v = ParseDecimal(text);
  if (!v || !(*v > 0) || !std::isfinite(*v)) return std::nullopt;
  return v;
}

// A power factor: 0 < cos φ ≤ 1.
std::optional<double> PowerFactor(std::string_view text) {
  const std::optional<double> v = ParseDecimal(text);
  if (!v || !(*v > 0) || *v > 1) return std::nullopt;
  return v;
}

Supply CheckSupply(const JournalNetwork& net) {
  Supply s;
  s.scheme = net.scheme;
  s.power = net.power;
  SchemeInput input = DefaultSchemeInput();
  input.windKind = net.scheme;
  input.transPower = net.power;
  input.rArc = "0";
  SchemeState state;
  const CalcOutcome outcome = RunLoopCalculation(input, state);
  const auto fail = [&s](std::string_view message) {
    s.error = "трансформатор: " + std::string(message);
    return s;
  };
  if (!outcome) return fail(outcome.error().message);
  s.rt = state.Rt;
  s.xt = state.Xt;
  s.z1 = TransformerPositiveSequence(state.WindKind, state.TransPower);
  if (!net.skMva.empty()) {
    const auto sk = PositiveNumber(net.skMva);
    const auto skMin = net.skMinMva.empty() ? sk : PositiveNumber(net.skMinMva);
    if (!sk || !skMin) return fail("неверная мощность короткого замыкания сети, МВА");
    if (net.scheme != kSinglePhaseScheme) {
      GridImpedance(kGridCMax, *sk, s.rqMax, s.xqMax);
      GridImpedance(kGridCMin, *skMin, s.rqMin, s.xqMin);
    }
  }
  if (!net.duLimitTpPct.empty()) {
    const auto v = PositiveNumber(net.duLimitTpPct);
    if (!v) return fail("неверное допустимое падение напряжения от ТП");
    s.duLimitTp = *v;
  }
  if (!net.duLimitVruPct.empty()) {
    const auto v = PositiveNumber(net.duLimitVruPct);
    if (!v) return fail("неверное допустимое падение напряжения от ВРУ");
    s.duLimitVru = *v;
  }
  if (net.load) {
    s.loadIp = ParseDecimal(net.load->ip);
    s.loadCos = PowerFactor(net.load->cosPhi);
    if (!s.loadIp || *s.loadIp < 0 || !std::isfinite(*s.loadIp) || !s.loadCos) {
      return fail("неверная нагрузка трансформатора (ip, cos_phi)");
    }
  }
  return s;
}

// ---- one line ---------------------------------------------------------------

// The device as the check reads it.
struct Device {
  std::string error;  // device_error
  DeviceSettings settings;
  bool breaker = true;
  double rated = 0;  // A; 0 when not known
  std::optional<double> i2t;
  double tInst = 0.1;
  double fastCurrent = 0;       // fuse: 0.4-s current × safety
  double slowCurrent = 0;       // fuse: 5-s current × safety
  std::optional<double> icuKa;  // breaking capacity, kA
};

// A line's section as the main window's calculation reads it: the kind,
// material or model and cross-section texts, checked once for every line
// that has the same ones.
struct SectionKind {
  std::string ff;  // the texts as merged, for the comparison
  std::string fn;
  std::string error;  // the calculation's message for the section, numbered 1
  SectionConductors conductors;
  // The kind, material and section texts of the calculated section; the
  // pass writes the length and the loop of the line being computed into it,
  // as only one line is computed at a time.
  mutable LineSegment proto;
  double phaseSection = 0;  // mm², as the thermal check reads the texts
  double neutralSection = 0;
  CatalogueColumn catalogue;  // the conductors of its material and kind, for the section search
};

// Everything a line needs besides its path.
struct PreparedLine {
  const SectionKind* section = nullptr;
  double length = 0;  // m
  std::int32_t quanPar = 1;
  SectionLoop loop;
  double arc = 0;
  int phases = 3;
  Insulation insulation = Insulation::Unknown;
  std::optional<double> ip;
  std::optional<double> cosPhi;
};

// A message of the main window that names section `section` names the line instead.
std::string NameTheLine(std::string message, int section, std::string_view id) {
  const std::string tail = "линии " + std::to_string(section);
  if (message.size() >= tail.size() && std::string_view(message).substr(message.size() - tail.size()) == tail) {
    message.replace(message.size() - tail.size() + std::string_view("линии ").size(), std::string::npos, id);
  }
  return message;
}

Insulation InsulationOf(std::string_view text) {
  if (text == "PVC") return Insulation::PVC;
  if (text == "XLPE") return Insulation::XLPE;
  if (text == "paper") return Insulation::Paper;
  return Insulation::NotDetermined;
}

// The texts of a line for the main window's checks, as views into the line
// or its mark.
struct MergedTexts {
  std::string_view kind;
  std::string_view stuff;
  std::string_view ff;
  std::string_view fn;
  std::string_view quanPar;
  std::string_view length;
  std::string_view arc;
};

// A switchboard has few cable marks: each is read once.
class MarkReader {
 public:
  // The mark read, or nullptr with `error` set to the refusal.
  const CableMark* read(std::string_view mark, std::string_view& error) {
    auto known = marks_.find(mark);
    if (known == marks_.end()) {
      Result<CableMark> read = ReadCableMark(mark);
      Read entry;
      if (read) {
        entry.mark = std::move(read).value();
      } else {
        entry.error = read.error();
      }
      known = marks_.emplace(mark, std::move(entry)).first;
    }
    error = known->second.error;
    return known->second.mark ? &*known->second.mark : nullptr;
  }

 private:
  struct Read {
    std::optional<CableMark> mark;
    std::string error;
  };
  std::unordered_map<std::string_view, Read> marks_;
};

// Reads the line's texts: the mark, the explicit fields over it. Returns the
// line's error, or fills `in` for the main window's checks.
std::string MergeLine(const JournalLine& line, const JournalNetwork& net, MarkReader& marks, MergedTexts& in,
                      PreparedLine& p, LineResult& r) {
  const CableMark* mark = nullptr;
  if (!line.mark.empty()) {
    std::string_view refusal;
    mark = marks.read(line.mark, refusal);
    if (mark == nullptr && line.kind.empty()) return std::string(refusal);
  }
  in.kind = !line.kind.empty() ? std::string_view(line.kind) : mark ? std::string_view(mark->kind) : std::string_view();
  if (in.kind.empty()) return std::string(kNoKind);
  const LineKindClass kind = ClassifyLineKind(in.kind);
  const std::string& explicitStuff = kind == LineKindClass::Tire ? line.model : line.material;
  in.stuff = !explicitStuff.empty() ? std::string_view(explicitStuff)
             : mark                 ? std::string_view(mark->stuff)
                                    : std::string_view();
  in.ff = !line.ff.empty() ? std::string_view(line.ff) : mark ? std::string_view(mark->ff) : std::string_view();
  in.fn = !line.fn.empty() ? std::string_view(line.fn) : mark ? std::string_view(mark->fn) : std::string_view();
  const std::string_view par = !line.par.empty() ? std::string_view(line.par)
                               : mark            ? std::string_view(mark->par)
                                                 : std::string_view(line.par);
  in.quanPar = par.empty() || par == "1" ? kSingleConductor : par;
  in.length = line.length;
  if (kind == LineKindClass::Cable && (in.ff.empty() || in.fn.empty())) return std::string(kNoSections);
  if (in.length.empty()) return std::string(kNoLength);
  in.arc = !line.arc.empty() ? std::string_view(line.arc) : !net.arc.empty() ? std::string_view(net.arc) : kDefaultArc;

  p.phases = line.phases != 0 ? line.phases : mark ? mark->phases : 3;
  p.insulation = !line.insulation.empty() ? InsulationOf(line.insulation)
                 : mark                   ? mark->insulation
                                          : Insulation::Unknown;
  if (!line.ip.empty() || !line.cosPhi.empty()) {
    p.ip = ParseDecimal(line.ip);
    p.cosPhi = PowerFactor(line.cosPhi);
    if (!p.ip || *p.ip < 0 || !std::isfinite(*p.ip) || !p.cosPhi) {
      if (!line.ip.empty() && !line.cosPhi.empty()) {
        r.addWarning("Iр = " + line.ip + ", cos φ = " + line.cosPhi +
                     " заданы неверно: падение напряжения не рассчитано");
      }
      p.ip.reset();
      p.cosPhi.reset();
    }
  }
  return {};
}

// The main window's checks of a line: its section as section 1 of a feeder
// whose other sections are empty, read by the calculation's own steps. The
// verdicts on section texts and on arc texts are kept, as there are few.
class LineChecker {
 public:
  LineChecker(const JournalNetwork& net, const SchemeInput& filler, double rt, double xt)
      : net_(net), filler_(filler), rt_(rt), xt_(xt) {}

  // The line's error, or the empty text with `p` filled.
  std::string check(std::size_t line, const MergedTexts& in, PreparedLine& p) {
    const SectionKind& section = sectionOf(in);
    const std::string_view id = net_.lines[line].id;
    if (!section.error.empty()) return NameTheLine(section.error, 1, id);
    const Result<double, CalcFailure> length = ReadSectionLength(in.length, section.conductors, 1);
    if (!length) return NameTheLine(length.error().message, 1, id);
    const Result<std::int32_t, CalcFailure> count = ReadParallelCount(in.quanPar, 1);
    if (!count) return NameTheLine(count.error().message, 1, id);
    p.section = &section;
    p.length = *length;
    p.quanPar = *count;
    p.loop = ComputeSectionLoop(section.conductors, p.length, p.quanPar);
    // The empty sections add nothing to the feeder's sums, and its arc is 0.
    if (!LoopIsFinite(SumLoop(rt_, xt_, p.loop.RLine, p.loop.XLine, 0)) || !std::isfinite(p.loop.ZLine)) {
      return std::string(calc_messages::kOutOfRange);
    }
    const ArcVerdict& arc = arcOf(in.arc);
    if (!arc.message.empty()) return arc.message;
    p.arc = arc.value;
    return {};
  }

 private:
  struct ArcVerdict {
    double value;
    std::string message;  // the main window's, for an arc it refuses
  };

  const SectionKind& sectionOf(const MergedTexts& in) {
    // A line mostly has the section of one of the lines computed just before
    // it: the way down the tree passes the same few boards again and again.
    for (const SectionKind* recent : recent_) {
      if (recent != nullptr && recent->ff == in.ff && recent->fn == in.fn && recent->proto.Stuff == in.stuff &&
          recent->proto.Kind == in.kind) {
        return *recent;
      }
    }
    key_.clear();
    for (const std::string_view text : {in.kind, in.stuff, in.ff, in.fn}) {
      key_ += text;
      key_ += '\x1f';
    }
    auto known = sections_.find(key_);
    if (known == sections_.end()) known = sections_.emplace(key_, ReadSection(in)).first;
    std::rotate(recent_.rbegin(), recent_.rbegin() + 1, recent_.rend());
    recent_[0] = &known->second;
    return known->second;
  }

  static SectionKind ReadSection(const MergedTexts& in) {
    SectionKind k;
    k.ff = std::string(in.ff);
    k.fn = std::string(in.fn);
    Result<SectionConductors, CalcFailure> read = ReadSectionConductors(in.kind, in.stuff, in.ff, in.fn, 1);
    if (!read) {
      k.error = read.error().message;
      return k;
    }
    k.conductors = *read;
    k.proto.Kind = std::string(in.kind);
    k.proto.Stuff = std::string(in.stuff);
    if (k.conductors.kind == LineKindClass::Cable) {
      k.proto.Ff = k.ff;
      k.proto.Fn = k.fn;
    }
    k.proto.RPhase = k.conductors.RPhase;
    k.proto.XPhase = k.conductors.XPhase;
    k.proto.RNeutral = k.conductors.RNeutral;
    k.proto.XNeutral = k.conductors.XNeutral;
    k.catalogue = CatalogueConductors(k.proto.Stuff, k.proto.Kind);
    k.phaseSection = ParseDecimal(k.proto.Ff).value_or(0);
    k.neutralSection = ParseDecimal(k.proto.Fn).value_or(0);
    return k;
  }

  const ArcVerdict& arcOf(std::string_view arc) {
    // Most lines take the network's arc: the same text as the line before.
    if (lastArc_ != nullptr && lastArcText_ == arc) return *lastArc_;
    auto known = arcs_.find(arc);
    if (known == arcs_.end()) {
      SchemeInput check = filler_;
      check.rArc = std::string(arc);
      SchemeState state;
      const CalcOutcome outcome = RunLoopCalculation(check, state);
      known = arcs_.emplace(arc, outcome ? ArcVerdict{state.RArc, {}} : ArcVerdict{0, outcome.error().message}).first;
    }
    lastArcText_ = known->first;
    lastArc_ = &known->second;
    return known->second;
  }

  const JournalNetwork& net_;
  const SchemeInput& filler_;
  double rt_;
  double xt_;
  std::string key_;
  std::array<const SectionKind*, 8> recent_{};  // the sections found last, the latest first
  std::unordered_map<std::string, SectionKind> sections_;
  std::unordered_map<std::string_view, ArcVerdict> arcs_;
  std::string_view lastArcText_;
  const ArcVerdict* lastArc_ = nullptr;
};

// The device of a line and the required disconnection time it is judged by.
Device PrepareDevice(const JournalLine& line, bool final, double& tNorm, std::vector<std::string>& warnings) {
  Device d;
  const auto fail = [&d](std::string_view message) {
    d.error = std::string(message);
    d.settings.TokSR = 0;
    return d;
  };
  if (!line.device) return fail(kNoDevice);
  const JournalDevice& dev = *line.device;
  if (dev.type != "breaker" && dev.type != "fuse") return fail(kUnknownDeviceType);
  d.breaker = dev.type == "breaker";
  const std::optional<double> rated = ParseDecimal(dev.in);
  d.rated = rated && std::isfinite(*rated) ? *rated : 0;

  tNorm = final && d.rated > 0 && d.rated <= kFinalCircuitLargestRating ? kFinalCircuitTime : kDistributionTime;
  if (!line.tNorm.empty()) {
    const std::optional<double> t = ParseDecimal(line.tNorm);
    if (!t || (*t != kFinalCircuitTime && *t != kDistributionTime)) {
      return fail("неверное нормативное время отключения: 0.4 или 5 с");
    }
    tNorm = *t;
  }

  DeviceDialogInput input;
  input.breaker = d.breaker;
  const std::string safety = dev.safety.empty() ? std::string(kDefaultSafety) : dev.safety;
  if (d.breaker) {
    input.releaseCurrentGiven = !dev.releaseCurrent.empty();
    input.tokAVnom = dev.in.empty() && input.releaseCurrentGiven ? std::string("0") : dev.in;
    input.tokNR = input.releaseCurrentGiven ? dev.releaseCurrent : dev.multiple;
    input.kzAV = safety;
  } else {
    input.typePP = dev.fuseType;
    input.tokPP = dev.in;
    input.kzPP = safety;
    const std::string_view required = tNorm == kFinalCircuitTime ? kTime04s : kTime5s;
    if (dev.time.empty()) {
      input.timePP = std::string(required);
    } else if (dev.time == kTime5s && required == kTime04s) {
      input.timePP = std::string(kTime04s);
      warnings.emplace_back("класс времени предохранителя 5 с больше нормативного 0.4 с: проверка по 0.4 с");
    } else {
      input.timePP = dev.time;
    }
  }
  const AcceptOutcome accepted = AcceptDevice(input, d.settings, NumberSeparators{});
  if (!accepted) return fail(accepted.error());
  if (!std::isfinite(d.settings.TokSR) || !(d.settings.TokSR > 0)) {
    return fail(d.breaker ? kMsgBadBreakerRatedCurrent : kMsgBadFuseRatedCurrent);
  }
  if (!d.breaker) {
    const FuseRating* rating =
        FindFuseRating(d.settings.TypePP, static_cast<std::int32_t>(std::trunc(d.settings.TokPP)));
    const double factor = ParseDecimal(safety).value_or(1);
    if (rating != nullptr) {
      d.fastCurrent = rating->current04s * factor;
      d.slowCurrent = rating->current5s * factor;
    }
  }
  if (!dev.i2t.empty()) {
    d.i2t = PositiveNumber(dev.i2t);
    if (!d.i2t) return fail("неверная величина I²t аппарата защиты");
  }
  if (d.breaker) {
    const auto t = PositiveNumber(dev.tInst.empty() ? kDefaultInstantTime : dev.tInst);
    if (!t) return fail("неверное время отключения без выдержки (t_inst)");
    d.tInst = *t;
  }
  if (!dev.icuKa.empty()) {
    d.icuKa = PositiveNumber(dev.icuKa);
    if (!d.icuKa) return fail(check_texts::kBadBreakingCapacity);
  }
  return d;
}

// A switchboard has few kinds of device: each is read once.
struct DeviceMemo {
  Device device;
  double tNorm = kDistributionTime;
  std::vector<std::string> warnings;
};

class DeviceReader {
 public:
  const DeviceMemo& read(const JournalLine& line, bool final) {
    // Neighbouring lines mostly have one of the few devices used last.
    for (const Entry* recent : recent_) {
      if (recent != nullptr && final == recent->final && line.tNorm == recent->tNormText &&
          line.device.has_value() == recent->source.has_value() && (!line.device || *line.device == *recent->source)) {
        return recent->memo;
      }
    }
    key_.clear();
    const auto field = [this](const std::string& text) {
      key_ += text;
      key_ += '\x1f';
    };
    key_ += final ? 'F' : 'D';
    field(line.tNorm);
    if (line.device) {
      const JournalDevice& d = *line.device;
      for (const std::string* text : {&d.type, &d.in, &d.multiple, &d.releaseCurrent, &d.safety, &d.fuseType, &d.time,
                                      &d.icuKa, &d.i2t, &d.tInst}) {
        field(*text);
      }
    }
    auto known = memo_.find(key_);
    if (known == memo_.end()) {
      Entry entry;
      entry.source = line.device;
      entry.tNormText = line.tNorm;
      entry.final = final;
      entry.memo.device = PrepareDevice(line, final, entry.memo.tNorm, entry.memo.warnings);
      known = memo_.emplace(key_, std::move(entry)).first;
    }
    std::rotate(recent_.rbegin(), recent_.rbegin() + 1, recent_.rend());
    recent_[0] = &known->second;
    return known->second.memo;
  }

 private:
  struct Entry {
    std::optional<JournalDevice> source;  // the texts it was read from
    std::string tNormText;
    bool final = false;
    DeviceMemo memo;
  };
  std::string key_;
  std::unordered_map<std::string, Entry> memo_;
  std::array<const Entry*, 16> recent_{};  // the devices read last, the latest first
};

// ---- the thermal withstand ----------------------------------------------------

// k of the adiabatic check; 0 when it is not determined.
double ThermalFactor(std::string_view material, Insulation insulation) {
  const bool copper = material == "Медь";
  switch (insulation) {
    case Insulation::PVC:
      return copper ? 115 : 76;
    case Insulation::XLPE:
      return copper ? 143 : 94;
    case Insulation::Paper: {
      // k = √(Qc(β+20)/ρ20 · ln(1 + (θf − θi)/(β + θi))), 80 → 200 °C.
      const double beta = copper ? 234.5 : 228;
      const double qc = copper ? 3.45e-3 : 2.5e-3;
      const double rho20 = copper ? 17.241e-6 : 28.264e-6;
      constexpr double kInitial = 80;
      constexpr double kFinal = 200;
      return std::round(std::sqrt(qc * (beta + 20) / rho20 * std::log(1 + (kFinal - kInitial) / (beta + kInitial))));
    }
    case Insulation::Unknown:
    case Insulation::NotDetermined:
      break;
  }
  return 0;
}

enum class EnergyKind { Unknown, Maker, Bound };

// The let-through energy at current I: the maker's I²t in the fast zone,
// else the bound I²·t of the zone; unknown below the zones.
EnergyKind Energy(const Device& d, double current, double& energy) {
  if (!d.error.empty()) return EnergyKind::Unknown;
  if (d.breaker) {
    if (!(current >= d.settings.TokSR)) return EnergyKind::Unknown;
    if (d.i2t) {
      energy = *d.i2t;
      return EnergyKind::Maker;
    }
    energy = Sq(current) * d.tInst;
    return EnergyKind::Bound;
  }
  if (d.fastCurrent > 0 && current >= d.fastCurrent) {
    if (d.i2t) {
      energy = *d.i2t;
      return EnergyKind::Maker;
    }
    energy = Sq(current) * kFuseFastTime;
    return EnergyKind::Bound;
  }
  if (d.slowCurrent > 0 && current >= d.slowCurrent) {
    energy = Sq(current) * kFuseSlowTime;
    return EnergyKind::Bound;
  }
  return EnergyKind::Unknown;
}

void JudgeThermal(const PreparedLine& p, const Device& d, LineResult& r) {
  const SectionKind& section = *p.section;
  if (section.conductors.kind == LineKindClass::Tire) {
    r.thermalVerdict = kDashCode;
    r.thermalCase = ResultText(kBusbarThermal);
    return;
  }
  const double k = ThermalFactor(section.proto.Stuff, p.insulation);
  if (k == 0) {
    r.thermalVerdict = kDashCode;
    r.thermalCase = ResultText(kNoK);
    return;
  }
  r.set(Fig::ThermalK, k);
  const double n = p.quanPar;
  const double phase = n * section.phaseSection;
  const double neutral = n * section.neutralSection;
  struct Case {
    ResultText name;
    std::optional<double> current;
    double section;
  };
  const bool singlePhase = p.phases == 1;
  const Case cases[] = {
      {singlePhase ? kCasePhaseIk1MaxCode : kCasePhaseIk3Code, r.get(singlePhase ? Fig::Ik1MaxStart : Fig::Ik3Start),
       phase},
      {kCasePhaseIk1MinCode, r.get(Fig::Ik1Min), phase},
      {kCaseNeutralIk1MaxCode, r.get(Fig::Ik1MaxStart), neutral},
      {kCaseNeutralIk1MinCode, r.get(Fig::Ik1Min), neutral},
  };
  bool makerFails = false;
  bool boundFails = false;
  const Case* unknown = nullptr;
  const Case* decisive = nullptr;
  double decisiveRatio = 0;
  double decisiveEnergy = 0;
  for (const Case& c : cases) {
    if (!c.current) continue;  // no Iк3: the case is left out
    double energy = 0;
    const EnergyKind kind = Energy(d, *c.current, energy);
    if (kind == EnergyKind::Unknown) {
      if (unknown == nullptr) unknown = &c;
      continue;
    }
    const double withstand = Sq(k * c.section);
    const double ratio = withstand / energy;
    if (withstand < energy) (kind == EnergyKind::Maker ? makerFails : boundFails) = true;
    if (decisive == nullptr || ratio < decisiveRatio) {
      decisive = &c;
      decisiveRatio = ratio;
      decisiveEnergy = energy;
    }
  }
  r.thermalVerdict = makerFails           ? kFailsCode
                     : boundFails         ? kNotConfirmedCode
                     : unknown != nullptr ? kDashCode
                                          : kWithstandsCode;
  const Case* shown = r.thermalVerdict == kDashCode ? unknown : decisive;
  if (shown == nullptr) {
    r.thermalVerdict = kDashCode;
    return;
  }
  r.thermalCase = shown->name;
  r.set(Fig::ThermalCurrent, *shown->current);
  r.set(Fig::ThermalWithstand, Sq(k * shown->section));
  if (shown == decisive) r.set(Fig::ThermalEnergy, decisiveEnergy);
}

// ---- the tree -------------------------------------------------------------

// The drop of one line, %; r × `rFactor`.
double LineDrop(const PreparedLine& p, const LineSegment& s, double rFactor) {
  const double cosPhi = *p.cosPhi;
  const double sinPhi = std::sqrt(std::max(0.0, 1 - cosPhi * cosPhi));
  if (p.phases == 1) {
    return 100 * *p.ip * s.Length * (rFactor * (s.RPhase + s.RNeutral) * cosPhi + (s.XPhase + s.XNeutral) * sinPhi) /
           s.QuanPar / (1000 * kPhaseVolts);
  }
  return 100 * std::sqrt(3.0) * *p.ip * s.Length * (rFactor * s.RPhase * cosPhi + s.XPhase * sinPhi) / s.QuanPar /
         (1000 * kLineVolts);
}

// The cycle through `start`, written from it: "B8 → B7 → B8"; long cycles
// are shortened in the middle. `length` is the number of lines on it.
std::string CycleText(const JournalNetwork& net, const std::vector<std::int32_t>& parent, std::int32_t start,
                      std::size_t length) {
  constexpr std::size_t kShown = 8;
  constexpr std::string_view kArrow = " → ";
  const std::string& first = net.lines[static_cast<std::size_t>(start)].id;
  std::string text = "цикл в ссылках на родителя: ";
  text.reserve(text.size() + (kShown + 1) * (kArrow.size() + first.size() + 8) + 64);
  text += first;
  std::int32_t at = parent[static_cast<std::size_t>(start)];
  for (std::size_t steps = 1; at != start && steps < kShown; ++steps) {
    text += kArrow;
    text += net.lines[static_cast<std::size_t>(at)].id;
    at = parent[static_cast<std::size_t>(at)];
  }
  if (at != start) {
    text += " → … (всего линий в цикле: ";
    text += std::to_string(length);
    text += ')';
  }
  text += kArrow;
  text += first;
  return text;
}

// Whatever overflowed is not shown as a number.
void ClearOverflow(LineResult& r) {
  for (std::size_t i = 0; i < static_cast<std::size_t>(Fig::Count); ++i) {
    const auto figure = static_cast<Fig>(i);
    const std::optional<double> value = r.get(figure);
    if (value && !std::isfinite(*value)) r.clear(figure);
  }
}

// The lines by id: an open-addressed table of line numbers.
class IdIndex {
 public:
  explicit IdIndex(const std::vector<JournalLine>& lines) : lines_(lines) {
    std::size_t size = 16;
    while (size < 2 * lines.size()) size *= 2;
    slots_.assign(size, kEmpty);
  }

  // Adds line `i`; false when its id is already taken.
  bool add(std::int32_t i) {
    const std::string_view id = lines_[static_cast<std::size_t>(i)].id;
    for (std::size_t at = Hash(id) & mask();; at = (at + 1) & mask()) {
      std::int32_t& slot = slots_[at];
      if (slot == kEmpty) {
        slot = i;
        return true;
      }
      if (lines_[static_cast<std::size_t>(slot)].id == id) return false;
    }
  }

  // The first line with the id, or kMissing.
  std::int32_t find(std::string_view id) const {
    for (std::size_t at = Hash(id) & mask();; at = (at + 1) & mask()) {
      const std::int32_t slot = slots_[at];
      if (slot == kEmpty) return kMissing;
      if (lines_[static_cast<std::size_t>(slot)].id == id) return slot;
    }
  }

 private:
  static constexpr std::int32_t kEmpty = -1;
  static std::size_t Hash(std::string_view id) { return std::hash<std::string_view>{}(id); }
  std::size_t mask() const { return slots_.size() - 1; }

  const std::vector<JournalLine>& lines_;
  std::vector<std::int32_t> slots_;
};

// What a line knows of its place in the tree.
enum LineFlag : std::uint8_t {
  kRepeated = 1,  // its id is an earlier line's
  kPlaced = 2,    // reached by the pass
  kOnCycle = 4,   // on a cycle of parent links
};

// The pass down the tree: each line computed from its parent's sums.
class TreePass {
 public:
  // Links the lines; the index by id is gone before the results are made.
  TreePass(const JournalNetwork& net, const Supply& supply, std::optional<double> transformerDrop)
      : net_(net), supply_(supply), transformerDrop_(transformerDrop) {
    const std::size_t n = net.lines.size();
    flags_.assign(n, 0);
    parent_.assign(n, kRoot);
    childStart_.assign(n + 1, 0);
    {
      IdIndex index(net.lines);
      for (std::size_t i = 0; i < n; ++i) {
        if (!index.add(static_cast<std::int32_t>(i))) flags_[i] |= kRepeated;
      }
      for (std::size_t i = 0; i < n; ++i) {
        const auto& link = net.lines[i].parent;
        if (link) parent_[i] = index.find(*link);
      }
    }
    for (std::size_t i = 0; i < n; ++i) {
      if (parent_[i] >= 0) ++childStart_[static_cast<std::size_t>(parent_[i]) + 1];
    }
    for (std::size_t i = 0; i < n; ++i) childStart_[i + 1] += childStart_[i];
    children_.resize(childStart_[n]);
    std::vector<std::uint32_t> fill(childStart_.begin(), childStart_.end() - 1);
    for (std::size_t i = 0; i < n; ++i) {
      if (parent_[i] >= 0) children_[fill[static_cast<std::size_t>(parent_[i])]++] = static_cast<std::int32_t>(i);
    }
    filler_ = DefaultSchemeInput();
    filler_.windKind = supply.scheme;
    filler_.transPower = supply.power;
    top_.rPhase = supply.z1.r1 + supply.rqMax;
    top_.xPhase = supply.z1.x1 + supply.xqMax;
  }

  // Computes every line into `results`, one per line.
  void run(std::vector<LineResult>& results) {
    results_ = &results;
    const std::size_t n = net_.lines.size();
    LineChecker checker(net_, filler_, supply_.rt, supply_.xt);
    checker_ = &checker;
    for (std::size_t i = 0; i < n; ++i) {
      if (parent_[i] < 0) descend(static_cast<std::int32_t>(i));
    }
    // Lines that no root reaches lie on a cycle of parent links or below one.
    std::vector<std::int32_t> cycleStarts;
    std::vector<std::uint32_t> walk;
    std::uint32_t walkId = 0;
    for (std::size_t i = 0; i < n; ++i) {
      if ((flags_[i] & kPlaced) != 0 || (!walk.empty() && walk[i] != 0)) continue;
      if (walk.empty()) walk.assign(n, 0);
      // Walk up from the line; a walk that meets itself has found a cycle.
      ++walkId;
      auto at = static_cast<std::int32_t>(i);
      while (at >= 0 && (flags_[static_cast<std::size_t>(at)] & kPlaced) == 0 &&
             walk[static_cast<std::size_t>(at)] == 0) {
        walk[static_cast<std::size_t>(at)] = walkId;
        at = parent_[static_cast<std::size_t>(at)];
      }
      if (at >= 0 && walk[static_cast<std::size_t>(at)] == walkId) {
        // Every line of a cycle is told its length: counted once, not once
        // per line (a cycle of 100,000 lines would take minutes).
        const std::size_t first = cycleStarts.size();
        for (std::int32_t c = at;;) {
          flags_[static_cast<std::size_t>(c)] |= kOnCycle;
          cycleStarts.push_back(c);
          c = parent_[static_cast<std::size_t>(c)];
          if (c == at) break;
        }
        const auto length = static_cast<std::uint32_t>(cycleStarts.size() - first);
        if (cycleLength_.empty()) cycleLength_.assign(n, 0);
        for (std::size_t k = first; k < cycleStarts.size(); ++k) {
          cycleLength_[static_cast<std::size_t>(cycleStarts[k])] = length;
        }
      }
    }
    for (const std::int32_t start : cycleStarts) descend(start);
    checker_ = nullptr;
  }

 private:
  // The sums at the end of a line that the lines it feeds start from.
  struct PathSums {
    double rLine = 0;  // Σ RLine, Σ XLine in path order
    double xLine = 0;
    double rPhase = 0;  // the three-phase loop at the end
    double xPhase = 0;
    double du = 0;  // Σ of the line drops from the root line, %
    double du125 = 0;
    double duVru = 0;  // the same without the root line
    double du125Vru = 0;
    bool duKnown = true;
  };
  // A line on the way down and the next of the lines it feeds.
  struct Frame {
    std::int32_t line = 0;
    std::uint32_t next = 0;
    std::int32_t stop = -1;  // the line whose own error stops this one: -1 for none
    PathSums sums;
  };

  // Computes `start` and everything below it, depth first, without recursion.
  void descend(std::int32_t start) {
    stack_.clear();
    stack_.push_back(visit(start, nullptr));
    while (!stack_.empty()) {
      Frame& top = stack_.back();
      const auto line = static_cast<std::size_t>(top.line);
      if (top.next == childStart_[line + 1]) {
        stack_.pop_back();
        continue;
      }
      const std::int32_t child = children_[top.next++];
      if ((flags_[static_cast<std::size_t>(child)] & (kPlaced | kOnCycle)) != 0) continue;
      Frame next = visit(child, &stack_.back());
      stack_.push_back(next);
    }
  }

  // The line's own texts and the main window's checks of it.
  void prepare(std::size_t i, PreparedLine& p) {
    const JournalLine& line = net_.lines[i];
    LineResult& r = (*results_)[i];
    if ((flags_[i] & kRepeated) != 0) {
      r.setError("повторное обозначение линии " + line.id);
      return;
    }
    MergedTexts in;
    std::string error = MergeLine(line, net_, marks_, in, p, r);
    if (error.empty()) error = checker_->check(i, in, p);
    r.setError(std::move(error));
  }

  Frame visit(std::int32_t at, const Frame* up);

  const JournalNetwork& net_;
  const Supply& supply_;
  std::optional<double> transformerDrop_;
  std::vector<LineResult>* results_ = nullptr;
  std::vector<std::uint8_t> flags_;
  std::vector<std::int32_t> parent_;
  std::vector<std::uint32_t> childStart_;
  std::vector<std::int32_t> children_;
  std::vector<Frame> stack_;
  std::vector<std::uint32_t> cycleLength_;  // a cycle's length for each line on it; empty without cycles
  SchemeInput filler_;                      // the feeder the one-line checks run in
  PathSums top_;
  LineChecker* checker_ = nullptr;
  MarkReader marks_;
  DeviceReader devices_;
};

TreePass::Frame TreePass::visit(std::int32_t at, const Frame* up) {
  const auto i = static_cast<std::size_t>(at);
  flags_[i] |= kPlaced;
  Frame frame;
  frame.line = at;
  frame.next = childStart_[i];
  const JournalLine& line = net_.lines[i];
  LineResult& r = (*results_)[i];
  const bool onCycle = (flags_[i] & kOnCycle) != 0;
  if (onCycle) up = nullptr;

  // The line's own errors, in their order.
  PreparedLine p;
  prepare(i, p);
  if (r.error().empty() && parent_[i] == kMissing) r.setError("родительская линия " + *line.parent + " не найдена");
  if (r.error().empty() && onCycle) r.setError(CycleText(net_, parent_, at, cycleLength_[i]));
  if (!r.error().empty()) {
    frame.stop = at;
    return frame;
  }
  if (up != nullptr && up->stop >= 0) {
    const std::int32_t origin = up->stop;
    const LineResult& bad = (*results_)[static_cast<std::size_t>(origin)];
    r.setError("ошибка в линии " + net_.lines[static_cast<std::size_t>(origin)].id + " выше по цепи: " + bad.error());
    frame.stop = origin;
    return frame;
  }
  const PathSums& from = up != nullptr ? up->sums : top_;
  PathSums& end = frame.sums;
  LineSegment& seg = p.section->proto;
  seg.Length = p.length;
  seg.QuanPar = p.quanPar;
  seg.RLine = p.loop.RLine;
  seg.XLine = p.loop.XLine;
  seg.ZLine = p.loop.ZLine;

  // The main window's loop with the path as its sections.
  end.rLine = from.rLine + seg.RLine;
  end.xLine = from.xLine + seg.XLine;
  const LoopTotals loop = SumLoop(supply_.rt, supply_.xt, end.rLine, end.xLine, p.arc);
  end.rPhase = from.rPhase + seg.RPhase * seg.Length / seg.QuanPar;
  end.xPhase = from.xPhase + seg.XPhase * seg.Length / seg.QuanPar;

  const bool final = line.final ? *line.final : childStart_[i] == childStart_[i + 1];
  const DeviceMemo& memo = devices_.read(line, final);
  const Device& device = memo.device;
  const double tNorm = memo.tNorm;
  for (const std::string& warning : memo.warnings) r.addWarning(warning);
  r.setDeviceError(device.error);

  CheckedLoop checked;
  checked.Rt = supply_.rt;
  checked.Xt = supply_.xt;
  checked.RArc = p.arc;
  checked.RLineSum = end.rLine;
  checked.XLineSum = end.xLine;
  checked.Rsum = loop.Rsum;
  checked.Xsum = loop.Xsum;
  checked.Zsum = loop.Zsum;
  checked.RRestSum = from.rLine;
  checked.XRestSum = from.xLine;
  checked.last = &seg;
  checked.lastLine = 1;
  checked.RGridMin = 2.0 / 3.0 * supply_.rqMin;
  checked.XGridMin = 2.0 / 3.0 * supply_.xqMin;
  checked.threePhase.reason = supply_.z1.reason;
  checked.threePhase.rDevice = from.rPhase;
  checked.threePhase.xDevice = from.xPhase;
  checked.threePhase.rPoint = end.rPhase;
  checked.threePhase.xPoint = end.xPhase;
  checked.lastConductors = &p.section->catalogue;
  checked.heatedOnly = true;
  const ProtectionCheckResult check = CheckProtectionLoop(checked, device.settings);

  const LoopTotals before = SumLoop(supply_.rt, supply_.xt, from.rLine, from.xLine, 0);
  const double ik1MaxStart =
      check_factors::kCMax * kPhaseVoltageMillivolts /
      std::hypot(before.Rsum + 2.0 / 3.0 * supply_.rqMax, before.Xsum + 2.0 / 3.0 * supply_.xqMax);

  if (!LoopIsFinite(loop) || !std::isfinite(end.rPhase) || !std::isfinite(end.xPhase) || !std::isfinite(ik1MaxStart)) {
    r.setError(std::string(calc_messages::kOutOfRange));
    frame.stop = at;
    return frame;
  }
  r.set(Fig::Ik1, loop.Iokz);
  if (check.iokzMin.state == FigureState::Value) r.set(Fig::Ik1Min, check.iokzMin.value);
  if (check.ik3Device.state == FigureState::Value) r.set(Fig::Ik3Start, check.ik3Device.value);
  if (check.ik3Point.state == FigureState::Value) r.set(Fig::Ik3End, check.ik3Point.value);
  r.set(Fig::Ik1MaxStart, ik1MaxStart);

  if (device.error.empty()) {
    r.set(Fig::TripCurrent, device.settings.TokSR);
    r.set(Fig::TNorm, tNorm);
    r.verdict = loop.Iokz >= device.settings.TokSR ? kTripsCode : kDoesNotTripCode;
    r.verdictMin = check.iokzMin.value >= device.settings.TokSR ? kTripsCode : kDoesNotTripCode;
    r.lmaxHotState = check.lengthMaxHot.state;
    if (check.lengthMaxHot.state == FigureState::Value) r.set(Fig::LmaxHot, check.lengthMaxHot.value);
    r.sminHotState = check.sectionMinHot.section.state;
    if (r.sminHotState == FigureState::Value) r.set(Fig::SminHot, check.sectionMinHot.section.value);
    if (!device.icuKa) {
      r.breaking = kDashCode;
    } else {
      r.breaking = check.ik3Device.state != FigureState::Value ? kDashCode
                   : BreakingStatus(*device.icuKa, check.ik3Device.value) == check_texts::kBreakingEnough
                       ? kBreakingEnoughCode
                       : kBreakingShortCode;
    }
    if (p.ip && device.rated > 0 && *p.ip > device.rated) {
      r.addWarning("Iр = " + line.ip + " А больше Iном аппарата " + line.device->in + " А");
    }
  }

  // The voltage drop along the path.
  const bool rootLine = up == nullptr;
  end.duKnown = from.duKnown && p.ip.has_value();
  if (p.ip) {
    const double drop = LineDrop(p, seg, 1);
    const double drop125 = LineDrop(p, seg, kServiceResistance);
    r.set(Fig::DuLine, drop);
    r.set(Fig::Du125Line, drop125);
    end.du = from.du + drop;
    end.du125 = from.du125 + drop125;
    end.duVru = rootLine ? 0 : from.duVru + drop;
    end.du125Vru = rootLine ? 0 : from.du125Vru + drop125;
    if (end.duKnown) {
      r.set(Fig::DuVru, end.duVru);
      r.set(Fig::Du125Vru, end.du125Vru);
      r.duOkVru = end.duVru <= supply_.duLimitVru;
      if (transformerDrop_) {
        r.set(Fig::DuTp, *transformerDrop_ + end.du);
        r.set(Fig::Du125Tp, *transformerDrop_ + end.du125);
        r.duOkTp = *transformerDrop_ + end.du <= supply_.duLimitTp;
      }
    }
  }

  JudgeThermal(p, device, r);
  ClearOverflow(r);
  return frame;
}

// The transformer's drop, %, from its load or from the root lines'.
std::optional<double> TransformerDrop(const JournalNetwork& net, const Supply& supply) {
  if (!supply.z1.reason.empty()) return std::nullopt;
  std::optional<double> current = supply.loadIp;
  std::optional<double> cosPhi = supply.loadCos;
  if (!net.load) {
    double active = 0;
    double reactive = 0;
    bool known = true;
    for (std::size_t i = 0; i < net.lines.size() && known; ++i) {
      if (net.lines[i].parent) continue;
      const auto ip = ParseDecimal(net.lines[i].ip);
      const auto cp = PowerFactor(net.lines[i].cosPhi);
      known = ip && *ip >= 0 && std::isfinite(*ip) && cp;
      if (known) {
        active += *ip * *cp;
        reactive += *ip * std::sqrt(std::max(0.0, 1 - *cp * *cp));
      }
    }
    if (known) {
      current = std::hypot(active, reactive);
      cosPhi = *current > 0 ? active / *current : 1;
    }
  }
  if (!current || !cosPhi) return std::nullopt;
  const double sinPhi = std::sqrt(std::max(0.0, 1 - *cosPhi * *cosPhi));
  const double drop =
      100 * std::sqrt(3.0) * *current * (supply.z1.r1 * *cosPhi + supply.z1.x1 * sinPhi) / (1000 * kLineVolts);
  if (!std::isfinite(drop)) return std::nullopt;
  return drop;
}

}  // namespace

// ---- the result record ------------------------------------------------------

const std::string LineResult::kNoText;
const std::vector<std::string> LineResult::kNoTexts;

LineResult::LineResult() { values_.fill(std::numeric_limits<double>::quiet_NaN()); }

LineResult::LineResult(const LineResult& other)
    : verdict(other.verdict),
      verdictMin(other.verdictMin),
      breaking(other.breaking),
      lmaxHotState(other.lmaxHotState),
      sminHotState(other.sminHotState),
      thermalVerdict(other.thermalVerdict),
      thermalCase(other.thermalCase),
      duOkTp(other.duOkTp),
      duOkVru(other.duOkVru),
      values_(other.values_),
      notes_(other.notes_ ? std::make_unique<LineNotes>(*other.notes_) : nullptr) {}

LineResult& LineResult::operator=(const LineResult& other) {
  if (this != &other) *this = LineResult(other);
  return *this;
}

LineNotes& LineResult::notes() {
  if (!notes_) notes_ = std::make_unique<LineNotes>();
  return *notes_;
}

void LineResult::setError(std::string text) {
  if (text.empty() && !notes_) return;
  notes().error = std::move(text);
}

void LineResult::setDeviceError(std::string text) {
  if (text.empty() && !notes_) return;
  notes().deviceError = std::move(text);
}

void LineResult::addWarning(std::string text) { notes().warnings.push_back(std::move(text)); }

void LineResult::clear(Fig f) { values_[static_cast<std::size_t>(f)] = std::numeric_limits<double>::quiet_NaN(); }

JournalResult ComputeJournal(const JournalNetwork& net) {
  JournalResult out;
  const Supply supply = CheckSupply(net);
  if (!supply.error.empty()) {
    out.lines.resize(net.lines.size());
    out.transformerError = supply.error;
    for (LineResult& r : out.lines) r.setError(supply.error);
    return out;
  }
  out.transformerDrop = TransformerDrop(net, supply);
  TreePass pass(net, supply, out.transformerDrop);
  out.lines.resize(net.lines.size());
  pass.run(out.lines);
  return out;
}

bool LineFailsAVerdict(const LineResult& line) {
  return !line.error().empty() || !line.deviceError().empty() || line.verdict == kStatusDoesNotTrip ||
         line.verdictMin == kStatusDoesNotTrip || line.breaking == check_texts::kBreakingShort ||
         line.duOkTp == false || line.duOkVru == false || line.thermalVerdict == kFails ||
         line.thermalVerdict == kNotConfirmed;
}

}  // namespace tesmir
