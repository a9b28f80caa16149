#include "journal/journal_feeder.h"

#include <vector>

#include "core/number_text.h"
#include "device/device_lists.h"
#include "device/fuse_characteristic.h"
#include "journal/cable_mark.h"

namespace tesmir {
namespace {

// The lines from the transformer down to `index`, or nothing for a broken path.
std::optional<std::vector<int>> PathOf(const JournalNetwork& network, int index) {
  std::vector<int> path;
  int at = index;
  const std::size_t n = network.lines.size();
  while (at >= 0) {
    if (path.size() > n) return std::nullopt;  // a cycle
    path.push_back(at);
    const JournalLine& line = network.lines[static_cast<std::size_t>(at)];
    if (!line.parent) break;
    int up = -1;
    for (std::size_t i = 0; i < n; ++i) {
      if (network.lines[i].id == *line.parent) {
        up = static_cast<int>(i);
        break;
      }
    }
    if (up < 0) return std::nullopt;
    at = up;
  }
  return std::vector<int>(path.rbegin(), path.rend());
}

std::string Or(const std::string& text, std::string_view fallback) {
  return text.empty() ? std::string(fallback) : text;
}

// The section texts the line gives: explicit cells, else its mark's.
LineInput SectionOf(const JournalLine& line) {
  CableMark mark;
  if (!line.mark.empty()) {
    if (const Result<CableMark> read = ReadCableMark(line.mark)) mark = read.value();
  }
  const bool busbar = !line.model.empty() || line.kind.rfind("Шинопровод", 0) == 0;
  LineInput in;
  in.kind = Or(line.kind, mark.kind);
  in.stuff = Or(busbar ? line.model : line.material, mark.stuff);
  in.ff = Or(line.ff, mark.ff);
  in.fn = Or(line.fn, mark.fn);
  in.length = line.length;
  std::string par = Or(line.par, mark.par);
  in.quanPar = par.empty() || par == "1" ? std::string(kSingleConductor) : par;
  return in;
}

// A final line whose device is rated at most 32 A must disconnect in 0.4 s.
bool RequiresFastDisconnection(const JournalNetwork& network, const JournalLine& line) {
  if (!line.tNorm.empty()) return line.tNorm == "0.4";
  bool final = true;
  if (line.final) {
    final = *line.final;
  } else {
    for (const JournalLine& other : network.lines) {
      if (other.parent && *other.parent == line.id) final = false;
    }
  }
  const std::optional<double> rating = line.device ? ParseDecimal(line.device->in) : std::nullopt;
  return final && rating && *rating <= 32;
}

}  // namespace

Result<JournalFeeder> FeederOfLine(const JournalNetwork& network, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= network.lines.size()) {
    return Fail(journal_feeder_texts::kNoLine);
  }
  const std::optional<std::vector<int>> path = PathOf(network, index);
  if (!path) return Fail(journal_feeder_texts::kBrokenPath);
  if (path->size() > static_cast<std::size_t>(kLineCount)) return Fail(journal_feeder_texts::kTooLong);
  JournalFeeder feeder;
  feeder.input = DefaultSchemeInput();
  feeder.input.windKind = network.scheme;
  feeder.input.transPower = network.power;
  // The sections past the path stay as the main window starts them: empty.
  for (std::size_t k = 0; k < path->size(); ++k) {
    feeder.input.lines[k] = SectionOf(network.lines[static_cast<std::size_t>((*path)[k])]);
  }
  const JournalLine& line = network.lines[static_cast<std::size_t>(index)];
  feeder.input.rArc = Or(Or(line.arc, network.arc), "15");
  if (line.device && (line.device->type == "breaker" || line.device->type == "fuse")) {
    const JournalDevice& d = *line.device;
    // The other kind's controls keep the dialog's own start texts.
    DeviceDialogInput dev;
    dev.tokAVnom = kDefaultBreakerRating;
    dev.tokNR = kDefaultMultiple;
    dev.kzAV = kDefaultSafetyFactor;
    dev.typePP = kFuseTypePPN;
    dev.tokPP = kDefaultFuseRating;
    dev.kzPP = kDefaultSafetyFactor;
    dev.timePP = kTime5s;
    dev.breaker = d.type == "breaker";
    if (dev.breaker) {
      dev.releaseCurrentGiven = !d.releaseCurrent.empty();
      dev.tokAVnom = d.in;
      dev.tokNR = dev.releaseCurrentGiven ? d.releaseCurrent : d.multiple;
      dev.kzAV = Or(d.safety, "1.1");
    } else {
      dev.typePP = d.fuseType;
      dev.tokPP = d.in;
      dev.kzPP = Or(d.safety, "1.1");
      // Without its own class the fuse is judged at the line's required time.
      dev.timePP = d.time.empty() ? std::string(RequiresFastDisconnection(network, line) ? kTime04s : kTime5s) : d.time;
    }
    feeder.device = dev;
  }
  return feeder;
}

}  // namespace tesmir
