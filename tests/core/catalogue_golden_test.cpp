// Every catalogue value compared with the golden file tests/data/catalogue.csv,
// so that a changed digit anywhere in a table fails.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/line_catalogue.h"
#include "core/number_text.h"
#include "core/tire_catalogue.h"
#include "core/trans_catalogue.h"

namespace tesmir {
namespace {

using Row = std::vector<std::string>;

// The golden file is a few hundred short lines; anything far larger is not it.
constexpr std::uintmax_t kMaxGoldenBytes = 1024 * 1024;

// The fields after the table name of every line of one table.
std::vector<Row> GoldenRows(const std::string& table) {
  const char* path = TESMIR_SOURCE_DIR "/tests/data/catalogue.csv";
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  EXPECT_FALSE(error) << path << ": " << error.message();
  EXPECT_LE(size, kMaxGoldenBytes) << path;
  if (error || size > kMaxGoldenBytes) return {};
  std::ifstream in(path);
  EXPECT_TRUE(in.is_open());
  std::vector<Row> rows;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string name;
    if (!std::getline(fields, name, ';') || name != table) continue;
    Row row;
    for (std::string field; std::getline(fields, field, ';');) row.push_back(field);
    rows.push_back(row);
  }
  return rows;
}

double Number(const std::string& text) {
  const std::optional<double> value = ParseDecimal(text);
  EXPECT_TRUE(value.has_value()) << text;
  return value.value_or(-1);
}

std::vector<std::string> Texts(std::span<const std::string_view> items) { return {items.begin(), items.end()}; }

TEST(CatalogueGolden, EveryTransformerCell) {
  const std::vector<Row> rows = GoldenRows("trans");  // power, scheme, R, X
  ASSERT_EQ(rows.size(), 18u * std::size(kWindKinds));
  std::map<std::string, std::vector<std::string>> offered;
  for (const Row& row : rows) {
    ASSERT_EQ(row.size(), 4u);
    const Result<TransImpedance> got = CalcTransImpedance(row[1], Number(row[0]));
    if (row[2] == "-") {
      ASSERT_FALSE(got.ok()) << row[0] << " " << row[1];
      EXPECT_EQ(got.error(), trans_messages::kNoEntry);
      continue;
    }
    ASSERT_TRUE(got.ok()) << row[0] << " " << row[1] << ": " << got.error();
    EXPECT_EQ(got->rt, Number(row[2])) << row[0] << " " << row[1];
    EXPECT_EQ(got->xt, Number(row[3])) << row[0] << " " << row[1];
    offered[row[1]].push_back(row[0]);
  }
  // Each scheme's power list offers exactly the powers with an entry.
  for (std::string_view scheme : kWindKinds) {
    const Result<TransPowerList> list = TransPowerListFor(scheme);
    ASSERT_TRUE(list.ok());
    EXPECT_EQ(Texts(list->items), offered[std::string(scheme)]) << scheme;
  }
}

TEST(CatalogueGolden, EveryCableAndOverheadRow) {
  const std::vector<Row> rows = GoldenRows("line");  // section, r by material, x by kind
  ASSERT_EQ(rows.size(), std::size(kSections));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Row& row = rows[i];
    ASSERT_EQ(row.size(), 1 + std::size(kMaterials) + std::size(kCableKinds));
    EXPECT_EQ(row[0], kSections[i]);
    for (std::size_t m = 0; m < std::size(kMaterials); ++m) {
      for (std::size_t k = 0; k < std::size(kCableKinds); ++k) {
        const std::string& r = row[1 + m];
        const std::string& x = row[1 + std::size(kMaterials) + k];
        const Result<LineImpedance> got = CalcLineImpedance(row[0], kMaterials[m], kCableKinds[k]);
        if (r == "-" || x == "-") {
          ASSERT_FALSE(got.ok()) << row[0] << " " << kMaterials[m] << " " << kCableKinds[k];
          EXPECT_EQ(got.error(), line_messages::kNotUsed);
          continue;
        }
        ASSERT_TRUE(got.ok()) << row[0] << " " << kMaterials[m] << " " << kCableKinds[k] << ": " << got.error();
        EXPECT_EQ(got->r, Number(r)) << row[0] << " " << kMaterials[m];
        EXPECT_EQ(got->x, Number(x)) << row[0] << " " << kCableKinds[k];
      }
    }
  }
}

// The column the section search walks holds exactly the golden rows in use
// for its material and kind, smallest first; an unknown material or kind has none.
TEST(CatalogueGolden, ConductorColumnsAreTheRowsInUse) {
  const std::vector<Row> rows = GoldenRows("line");
  for (std::size_t m = 0; m < std::size(kMaterials); ++m) {
    for (std::size_t k = 0; k < std::size(kCableKinds); ++k) {
      const CatalogueColumn column = CatalogueConductors(kMaterials[m], kCableKinds[k]);
      std::size_t next = 0;
      for (const Row& row : rows) {
        const std::string& r = row[1 + m];
        const std::string& x = row[1 + std::size(kMaterials) + k];
        if (r == "-" || x == "-") continue;
        ASSERT_LT(next, column.count) << kMaterials[m] << " " << kCableKinds[k];
        const CatalogueConductor& got = column.rows[next++];
        EXPECT_EQ(got.section, row[0]);
        EXPECT_EQ(got.number, Number(row[0])) << row[0];
        EXPECT_EQ(got.impedance, (LineImpedance{Number(r), Number(x)})) << row[0];
      }
      EXPECT_EQ(column.count, next) << kMaterials[m] << " " << kCableKinds[k];
    }
  }
  EXPECT_EQ(CatalogueConductors("Сталь", kCableKinds[0]).count, 0U);
  EXPECT_EQ(CatalogueConductors(kMaterials[0], "Шинопровод Gersan").count, 0U);
}

// A section text selects a row only when its value is exactly that row's
// section; nothing is rounded to a neighbouring row.
TEST(CatalogueGolden, SectionValueMustBeACatalogueSection) {
  struct Case {
    const char* text;
    std::string_view error;  // empty: the row's r for copper in a PVC cable
    double r = 0;
  };
  const Case cases[] = {
      {"4", {}, 4.63},
      {"4.0", {}, 4.63},
      {"04", {}, 4.63},
      {"1.50", {}, 12.3},
      {"0", {}, 0},
      {"0.0", {}, 0},
      {"1.9", line_messages::kUnknownSection},
      {"1", line_messages::kUnknownSection},
      {"2", line_messages::kUnknownSection},
      {"2.9", line_messages::kUnknownSection},
      {"0.75", line_messages::kUnknownSection},
      {"4.7", line_messages::kUnknownSection},
      {"-0.5", line_messages::kUnknownSection},
      {"240.1", line_messages::kUnknownSection},
  };
  for (const Case& c : cases) {
    const Result<LineImpedance> got = CalcLineImpedance(c.text, "Медь", "Кабель с ПВХ изоляцией");
    if (c.error.empty()) {
      ASSERT_TRUE(got.ok()) << c.text << ": " << got.error();
      EXPECT_EQ(got->r, c.r) << c.text;
    } else {
      ASSERT_FALSE(got.ok()) << c.text;
      EXPECT_EQ(got.error(), c.error) << c.text;
    }
  }
}

TEST(CatalogueGolden, EveryBusbarModel) {
  const std::vector<Row> rows = GoldenRows("tire");  // family, model, R, X
  std::vector<std::string> families;
  std::map<std::string, std::vector<std::string>> models;
  for (const Row& row : rows) {
    ASSERT_EQ(row.size(), 4u);
    if (families.empty() || families.back() != row[0]) families.push_back(row[0]);
    models[row[0]].push_back(row[1]);
    const Result<TireImpedance> got = CalcTireLineImpedance(row[1], row[0]);
    ASSERT_TRUE(got.ok()) << row[0] << " " << row[1];
    EXPECT_EQ(got->r, Number(row[2])) << row[0] << " " << row[1];
    EXPECT_EQ(got->x, Number(row[3])) << row[0] << " " << row[1];
  }
  // The families and each family's model list, in order, hold nothing else.
  EXPECT_EQ(families, Texts(kTireFamilies));
  for (std::string_view family : kTireFamilies) {
    EXPECT_EQ(Texts(TireLineModels(family)), models[std::string(family)]) << family;
  }
}

}  // namespace
}  // namespace tesmir
