#pragma once
// A large switchboard journal for the benchmarks: 100,000 lines in a radial
// tree of depth 8 (four lines from the transformer, five lines from each
// board below), every line with a device, a design current and a power factor.

#include <string>

#include "journal/journal_network.h"

namespace tesmir::bench {

inline constexpr int kSwitchboardLines = 100000;

inline JournalNetwork SwitchboardJournal(int lines = kSwitchboardLines) {
  JournalNetwork net;
  net.name = "Большой щит";
  net.scheme = "T/Y-0";
  net.power = "1000";
  net.skMva = "250";
  const char* const sections[] = {"240", "185", "120", "95", "50", "25", "10", "2.5"};
  const char* const ratings[] = {"1000", "630", "400", "250", "160", "63", "32", "16"};
  std::vector<int> depth(static_cast<std::size_t>(lines), 0);
  net.lines.reserve(static_cast<std::size_t>(lines));
  for (int i = 0; i < lines; ++i) {
    JournalLine line;
    line.id = "W" + std::to_string(i + 1);
    const int parent = i < 4 ? -1 : (i - 4) / 5;
    const auto level = static_cast<std::size_t>(parent < 0 ? 0 : depth[static_cast<std::size_t>(parent)] + 1);
    depth[static_cast<std::size_t>(i)] = static_cast<int>(level);
    if (parent >= 0) line.parent = "W" + std::to_string(parent + 1);
    line.from = "Щ" + std::to_string(parent + 1);
    line.to = "Щ" + std::to_string(i + 1);
    line.kind = level % 3 == 1 ? "Кабель с бумажной изоляцией" : "Кабель с ПВХ изоляцией";
    line.material = level < 4 ? "Алюминий" : "Медь";
    line.ff = sections[level];
    line.fn = sections[level];
    line.par = level == 0 ? "2" : "1";
    line.length = std::to_string(5 + i % 40);
    line.insulation = level % 2 == 0 ? "PVC" : "XLPE";
    line.ip = std::to_string(10 + i % 7);
    line.cosPhi = "0.9";
    JournalDevice device;
    if (level == 7 && i % 2 == 0) {
      device.type = "fuse";
      device.fuseType = "ППН";
      device.in = "16";
      device.safety = "1.0";
    } else {
      device.type = "breaker";
      device.in = ratings[level];
      device.multiple = "10 (\"C\")";
      device.icuKa = "50";
    }
    line.device = device;
    net.lines.push_back(std::move(line));
  }
  return net;
}

}  // namespace tesmir::bench
