#pragma once
// A line journal as typed: one transformer and a radial tree of lines, each
// with one section and the protective device at its start. Every value is
// kept as the text the designer wrote; an empty text means "not given".

#include <optional>
#include <string>
#include <vector>

namespace tesmir {

struct JournalDevice {
  std::string type;            // "breaker" or "fuse"
  std::string in;              // rated current, A
  std::string multiple;        // breaker: instantaneous multiple text ("10 (\"C\")")
  std::string releaseCurrent;  // breaker: trip current in A instead of a multiple
  std::string safety;          // safety factor; default "1.1"
  std::string fuseType;        // fuse: "ППН", "ПН2", "НПН"
  std::string time;            // fuse: "Тср < 5 с" or "Тср < 0,4 с"
  std::string icuKa;           // breaking capacity, kA
  std::string i2t;             // maker's let-through energy, A²s
  std::string tInst;           // instantaneous clearing time, s; default "0.1"
  bool operator==(const JournalDevice&) const = default;
};

struct JournalLine {
  std::string id;
  std::optional<std::string> parent;  // nullopt: fed from the transformer's busbars
  std::string from;
  std::string to;
  std::string mark;
  std::string kind;
  std::string material;  // conductor material
  std::string model;     // busbar model
  std::string ff;
  std::string fn;
  std::string par;
  std::string length;
  std::string insulation;  // "PVC", "XLPE", "paper"
  int phases = 0;          // 3 or 1; 0 when not given
  std::string ip;
  std::string cosPhi;
  std::string arc;
  std::optional<bool> final;
  std::string tNorm;
  std::optional<JournalDevice> device;
  bool operator==(const JournalLine&) const = default;
};

struct JournalLoad {
  std::string ip;
  std::string cosPhi;
  bool operator==(const JournalLoad&) const = default;
};

struct JournalNetwork {
  std::string name;
  std::string scheme;  // transformer winding scheme
  std::string power;   // kVA
  std::string skMva;
  std::string skMinMva;
  std::optional<JournalLoad> load;
  std::string arc;
  std::string duLimitTpPct;
  std::string duLimitVruPct;
  std::vector<JournalLine> lines;
  bool operator==(const JournalNetwork&) const = default;
};

}  // namespace tesmir
