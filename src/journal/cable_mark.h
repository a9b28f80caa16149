#pragma once
// Cable marks as designers write them in a cable journal ("АВВГ 4х95",
// "АВБбШв 2х(4х240)", "СИП-2 3х70+1х95", "ШМА4-1250"): the line kind,
// material or busbar model, insulation, phases and sections they give.
// A mark that is not understood is refused with the reason; nothing is guessed.

#include <string>
#include <string_view>

#include "core/result.h"

namespace tesmir {

// What the thermal check knows of a line's insulation.
enum class Insulation {
  Unknown,        // not given
  PVC,            // "PVC"
  XLPE,           // "XLPE"
  Paper,          // "paper"
  NotDetermined,  // rubber, polymer or bare conductors: no k for them
};

struct CableMark {
  std::string kind;   // line kind text of the main window
  std::string stuff;  // material, or busbar model
  std::string ff;     // phase section text ("2.5"); empty for busbars
  std::string fn;     // neutral section text
  std::string par;    // parallel count text ("1", "2")
  int phases = 3;
  Insulation insulation = Insulation::Unknown;
  bool operator==(const CableMark&) const = default;
};

// Reads a mark; fails with the refusal text.
Result<CableMark> ReadCableMark(std::string_view mark);

}  // namespace tesmir
