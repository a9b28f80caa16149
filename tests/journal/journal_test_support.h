#pragma once
// Small hand-made journals for the tests.

#include <optional>
#include <string>

#include "journal/journal_network.h"

namespace tesmir::journal_test {

inline JournalNetwork Network(const char* scheme = "T/Y-0", const char* power = "630") {
  JournalNetwork net;
  net.scheme = scheme;
  net.power = power;
  return net;
}

inline JournalDevice Breaker(const char* rated, const char* multiple = "10 (\"C\")", const char* safety = "1.1") {
  JournalDevice d;
  d.type = "breaker";
  d.in = rated;
  d.multiple = multiple;
  d.safety = safety;
  return d;
}

inline JournalDevice Fuse(const char* type, const char* rated, const char* safety = "1.0") {
  JournalDevice d;
  d.type = "fuse";
  d.fuseType = type;
  d.in = rated;
  d.safety = safety;
  return d;
}

// A line of the given kind and material with equal phase and neutral sections.
inline JournalLine Line(const char* id, std::optional<std::string> parent, const char* kind, const char* material,
                        const char* section, const char* length, const char* par = "1") {
  JournalLine line;
  line.id = id;
  line.parent = std::move(parent);
  line.kind = kind;
  line.material = material;
  line.ff = section;
  line.fn = section;
  line.length = length;
  line.par = par;
  line.device = Breaker("16");
  return line;
}

inline JournalLine Copper(const char* id, std::optional<std::string> parent, const char* section, const char* length) {
  return Line(id, std::move(parent), "Кабель с ПВХ изоляцией", "Медь", section, length);
}

}  // namespace tesmir::journal_test
