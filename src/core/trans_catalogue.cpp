#include "core/trans_catalogue.h"

#include <cmath>
#include <cstddef>

namespace tesmir {
namespace {

struct RX {
  double r = 0;
  double x = 0;
};

// One row per rated power; columns follow kWindKinds. {0, 0} marks a
// transformer that does not exist.
struct TransRow {
  double power;  // kVA
  RX cells[4];
};

constexpr TransRow kTransTable[] = {
    //  kVA     Y/Y-0                 T/Y-0                Y/Z-0               1/1-0
    {1.25, {{0, 0}, {0, 0}, {0, 0}, {6094, 3409}}},
    {2.5, {{0, 0}, {0, 0}, {0, 0}, {2285, 2639}}},
    {4, {{0, 0}, {0, 0}, {0, 0}, {1388, 1245}}},
    {10, {{0, 0}, {0, 0}, {0, 0}, {428.5, 667.9}}},
    {25, {{1957.2, 2417.24}, {460.8, 730.86}, {426.28, 522.35}, {0, 0}}},
    {40, {{1128, 1583.04}, {264, 471.07}, {244, 331.8}, {0, 0}}},
    {63, {{607.2, 1076.95}, {154.8, 305.92}, {146.52, 219.23}, {0, 0}}},
    {100, {{318, 711}, {96, 193.49}, {88.24, 142.3}, {0, 0}}},
    {160, {{183.5, 450.93}, {48.75, 125.89}, {47.08, 92.49}, {0, 0}}},
    {250, {{115.44, 289.4}, {32.26, 80.15}, {26.13, 60.68}, {0, 0}}},
    {320, {{92.65, 239.88}, {0, 0}, {0, 0}, {0, 0}}},
    {400, {{66.6, 183.28}, {17.7, 51.02}, {0, 0}, {0, 0}}},
    {630, {{36.33, 123.06}, {10.28, 40.62}, {0, 0}, {0, 0}}},
    {800, {{0, 0}, {7.2, 32.2}, {0, 0}, {0, 0}}},
    {1000, {{23.06, 77.86}, {5.18, 25.89}, {0, 0}, {0, 0}}},
    {1250, {{0, 0}, {4.15, 20.71}, {0, 0}, {0, 0}}},
    {1600, {{18.36, 61.82}, {3.09, 17.73}, {0, 0}, {0, 0}}},
    {2500, {{0, 0}, {1.92, 10.38}, {0, 0}, {0, 0}}},
};

// The powers offered for each scheme: exactly those with an entry above.
constexpr std::string_view kPowersYY[] = {"25", "40", "63", "100", "160", "250", "320", "400", "630", "1000", "1600"};
constexpr std::string_view kPowersTY[] = {"25",  "40",  "63",   "100",  "160",  "250", "400",
                                          "630", "800", "1000", "1250", "1600", "2500"};
constexpr std::string_view kPowersYZ[] = {"25", "40", "63", "100", "160", "250"};
constexpr std::string_view kPowersSingle[] = {"1.25", "2.5", "4", "10"};

constexpr TransPowerList kPowerLists[] = {
    {kPowersYY, "25"},
    {kPowersTY, "25"},
    {kPowersYZ, "25"},
    {kPowersSingle, "10"},
};

// Index of the scheme within kWindKinds, or -1.
int SchemeIndex(std::string_view windKind) {
  for (std::size_t i = 0; i < std::size(kWindKinds); ++i) {
    if (kWindKinds[i] == windKind) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

Lookup<TransImpedance> CalcTransImpedance(std::string_view windKind, double power) {
  const TransRow* row = nullptr;
  for (const TransRow& candidate : kTransTable) {
    if (candidate.power == power) {
      row = &candidate;
      break;
    }
  }
  if (row == nullptr) return {{}, trans_messages::kUnknownPower};

  const int scheme = SchemeIndex(windKind);
  if (scheme < 0) return {{}, trans_messages::kWrongScheme};

  const RX cell = row->cells[scheme];
  if (cell.r == 0 || cell.x == 0) return {{}, trans_messages::kNoEntry};
  return {{cell.r, cell.x, std::sqrt(cell.r * cell.r + cell.x * cell.x)}, {}};
}

const TransPowerList* TransPowerListFor(std::string_view windKind) {
  const int scheme = SchemeIndex(windKind);
  return scheme < 0 ? nullptr : &kPowerLists[scheme];
}

}  // namespace tesmir
