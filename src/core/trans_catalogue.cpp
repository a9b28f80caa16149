#include "core/trans_catalogue.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace tesmir {
namespace {

struct RX {
  double r = 0;
  double x = 0;
};

// The number a power text stands for: digits with at most one '.'. Integer
// digits divided by a power of ten round exactly as the typed text is read.
constexpr double PowerOf(std::string_view text) {
  double digits = 0;
  double scale = 1;
  bool fraction = false;
  for (char c : text) {
    if (c == '.') {
      fraction = true;
      continue;
    }
    digits = digits * 10 + (c - '0');
    if (fraction) scale *= 10;
  }
  return digits / scale;
}

// One row per rated power; columns follow kWindKinds. {0, 0} marks a
// transformer that does not exist.
struct TransRow {
  std::string_view text;  // kVA, as the power list shows it
  RX cells[std::size(kWindKinds)];
  double power = PowerOf(text);
};

constexpr TransRow kTransTable[] = {
    //  kVA     Y/Y-0                 T/Y-0                Y/Z-0               1/1-0
    {"1.25", {{0, 0}, {0, 0}, {0, 0}, {6094, 3409}}},
    {"2.5", {{0, 0}, {0, 0}, {0, 0}, {2285, 2639}}},
    {"4", {{0, 0}, {0, 0}, {0, 0}, {1388, 1245}}},
    {"10", {{0, 0}, {0, 0}, {0, 0}, {428.5, 667.9}}},
    {"25", {{1957.2, 2417.24}, {460.8, 730.86}, {426.28, 522.35}, {0, 0}}},
    {"40", {{1128, 1583.04}, {264, 471.07}, {244, 331.8}, {0, 0}}},
    {"63", {{607.2, 1076.95}, {154.8, 305.92}, {146.52, 219.23}, {0, 0}}},
    {"100", {{318, 711}, {96, 193.49}, {88.24, 142.3}, {0, 0}}},
    {"160", {{183.5, 450.93}, {48.75, 125.89}, {47.08, 92.49}, {0, 0}}},
    {"250", {{115.44, 289.4}, {32.26, 80.15}, {26.13, 60.68}, {0, 0}}},
    {"320", {{92.65, 239.88}, {0, 0}, {0, 0}, {0, 0}}},
    {"400", {{66.6, 183.28}, {17.7, 51.02}, {0, 0}, {0, 0}}},
    {"630", {{36.33, 123.06}, {10.28, 40.62}, {0, 0}, {0, 0}}},
    {"800", {{0, 0}, {7.2, 32.2}, {0, 0}, {0, 0}}},
    {"1000", {{23.06, 77.86}, {5.18, 25.89}, {0, 0}, {0, 0}}},
    {"1250", {{0, 0}, {4.15, 20.71}, {0, 0}, {0, 0}}},
    {"1600", {{18.36, 61.82}, {3.09, 17.73}, {0, 0}, {0, 0}}},
    {"2500", {{0, 0}, {1.92, 10.38}, {0, 0}, {0, 0}}},
};

constexpr bool Exists(const RX& cell) { return cell.r != 0 && cell.x != 0; }

// The powers offered for a scheme: exactly the rows with an entry in its
// column, in table order.
struct PowerItems {
  std::array<std::string_view, std::size(kTransTable)> texts{};
  std::size_t count = 0;
};

constexpr PowerItems PowersOf(std::size_t scheme) {
  PowerItems items;
  for (const TransRow& row : kTransTable) {
    if (Exists(row.cells[scheme])) items.texts[items.count++] = row.text;
  }
  return items;
}

constexpr PowerItems kPowers[] = {PowersOf(0), PowersOf(1), PowersOf(2), PowersOf(3)};
static_assert(std::size(kPowers) == std::size(kWindKinds));

// The power each scheme's list shows after a change of scheme.
constexpr std::string_view kShownPower[] = {"25", "25", "25", "10"};
static_assert(std::size(kShownPower) == std::size(kWindKinds));

constexpr bool OffersShownPowers() {
  for (std::size_t scheme = 0; scheme < std::size(kPowers); ++scheme) {
    bool found = false;
    for (std::size_t i = 0; i < kPowers[scheme].count; ++i) {
      found = found || kPowers[scheme].texts[i] == kShownPower[scheme];
    }
    if (!found) return false;
  }
  return true;
}
static_assert(OffersShownPowers(), "every scheme shows one of its own powers");

// Index of the scheme within kWindKinds, or -1.
int SchemeIndex(std::string_view windKind) {
  for (std::size_t i = 0; i < std::size(kWindKinds); ++i) {
    if (kWindKinds[i] == windKind) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

Result<TransImpedance> CalcTransImpedance(std::string_view windKind, double power) {
  const TransRow* row = nullptr;
  for (const TransRow& candidate : kTransTable) {
    if (candidate.power == power) {
      row = &candidate;
      break;
    }
  }
  if (row == nullptr) return Fail(trans_messages::kUnknownPower);

  const int scheme = SchemeIndex(windKind);
  if (scheme < 0) return Fail(trans_messages::kWrongScheme);

  const RX cell = row->cells[scheme];
  if (!Exists(cell)) return Fail(trans_messages::kNoEntry);
  return TransImpedance{cell.r, cell.x, std::sqrt(cell.r * cell.r + cell.x * cell.x)};
}

Result<TransPowerList> TransPowerListFor(std::string_view windKind) {
  const int scheme = SchemeIndex(windKind);
  if (scheme < 0) return Fail(trans_messages::kUnknownSchemeInList);
  const PowerItems& items = kPowers[scheme];
  return TransPowerList{{items.texts.data(), items.count}, kShownPower[scheme]};
}

}  // namespace tesmir
