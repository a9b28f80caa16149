#include "core/line_catalogue.h"

#include <array>
#include <cstddef>

#include "core/number_text.h"

namespace tesmir {
namespace {

constexpr double kNotUsed = -1;  // combination absent from the catalogue

// One row per cross-section key: r by material (kMaterials order), x by line
// kind (kCableKinds order), all in mOhm per metre of one conductor.
struct LineRow {
  int key;  // integer part of the section text (checked against kSections)
  double r[2];
  double x[3];
};

constexpr LineRow kLineTable[] = {
    //  key   Al       Cu          paper    PVC     overhead
    {0, {0, 0}, {0, 0, 0}},  // no conductor
    {1, {kNotUsed, 12.3}, {0, 0.126, kNotUsed}},
    {2, {12.5, 7.4}, {0.104, 0.116, kNotUsed}},
    {4, {7.81, 4.63}, {0.095, 0.107, 0.37}},
    {6, {5.21, 3.09}, {0.09, 0.1, 0.36}},
    {10, {3.12, 1.84}, {0.073, 0.099, 0.34}},
    {16, {1.95, 1.16}, {0.0675, 0.095, 0.33}},
    {25, {1.25, 0.74}, {0.0662, 0.091, 0.31}},
    {35, {0.894, 0.53}, {0.0637, 0.088, 0.3}},
    {50, {0.625, 0.37}, {0.0625, 0.085, 0.29}},
    {70, {0.447, 0.265}, {0.0612, 0.082, 0.28}},
    {95, {0.329, 0.195}, {0.0602, 0.081, 0.27}},
    {120, {0.261, 0.154}, {0.0602, 0.08, 0.26}},
    {150, {0.208, 0.124}, {0.0596, 0.079, 0.25}},
    {185, {0.169, 0.1}, {0.0596, 0.078, 0.25}},
    {240, {0.13, 0.077}, {0.0587, 0.077, 0.25}},
};

// Every row of the table is offered, in table order, by the section lists.
constexpr bool RowsMatchSections() {
  if (std::size(kLineTable) != std::size(kSections)) return false;
  for (std::size_t i = 0; i < std::size(kLineTable); ++i) {
    int whole = 0;
    for (char c : kSections[i]) {
      if (c == '.') break;
      whole = whole * 10 + (c - '0');
    }
    if (whole != kLineTable[i].key) return false;
  }
  return true;
}
static_assert(RowsMatchSections(), "the section texts are the catalogue's rows");

template <std::size_t N>
int IndexOf(const std::string_view (&texts)[N], std::string_view text) {
  for (std::size_t i = 0; i < N; ++i) {
    if (texts[i] == text) return static_cast<int>(i);
  }
  return -1;
}

// The row whose section is exactly the value ("4", "4.0" and "04" are the
// 4 mm² row; "1.9" or "0.75" is none). A typed value is never rounded to a
// neighbouring row: a smaller catalogue section would give an optimistic
// current.
// The numbers of kSections as their texts read, read once.
const std::array<double, std::size(kSections)>& SectionNumbers() {
  static const std::array<double, std::size(kSections)> numbers = [] {
    std::array<double, std::size(kSections)> read{};
    for (std::size_t i = 0; i < read.size(); ++i) read[i] = ParseDecimal(kSections[i]).value_or(-1);
    return read;
  }();
  return numbers;
}

const LineRow* FindRow(double section) {
  const auto& numbers = SectionNumbers();
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    if (numbers[i] == section) return &kLineTable[i];
  }
  return nullptr;
}

}  // namespace

Result<LineImpedance> CalcLineImpedance(std::string_view section, std::string_view stuff, std::string_view kind) {
  const std::optional<double> value = ParseDecimal(section);
  if (!value) return Fail(line_messages::kBadSection);

  const LineRow* row = FindRow(*value);
  if (row == nullptr) return Fail(line_messages::kUnknownSection);

  const int material = IndexOf(kMaterials, stuff);
  if (material < 0) return Fail(line_messages::kUnknownMaterial);

  const int lineKind = IndexOf(kCableKinds, kind);
  if (lineKind < 0) return Fail(line_messages::kWrongKind);

  const double r = row->r[material];
  const double x = row->x[lineKind];
  if (r < 0 || x < 0) return Fail(line_messages::kNotUsed);
  return LineImpedance{r, x};
}

CatalogueColumn CatalogueConductors(std::string_view stuff, std::string_view kind) {
  CatalogueColumn column;
  const int material = IndexOf(kMaterials, stuff);
  const int lineKind = IndexOf(kCableKinds, kind);
  if (material < 0 || lineKind < 0) return column;
  const auto& numbers = SectionNumbers();
  for (std::size_t i = 0; i < std::size(kLineTable); ++i) {
    const double r = kLineTable[i].r[material];
    const double x = kLineTable[i].x[lineKind];
    if (r < 0 || x < 0) continue;
    column.rows[column.count++] = {kSections[i], numbers[i], {r, x}};
  }
  return column;
}

}  // namespace tesmir
