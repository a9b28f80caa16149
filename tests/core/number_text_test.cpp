#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <ostream>
#include <string>

#include "core/number_text.h"

namespace tesmir {
namespace {

struct DecimalCase {
  std::string text;
  std::optional<double> expected;
};

// The cases print as their text, never as the struct's bytes.
void PrintTo(const DecimalCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class ParseDecimalTest : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(ParseDecimalTest, ReadsAsExpected) {
  const DecimalCase& c = GetParam();
  const std::optional<double> got = ParseDecimal(c.text);
  ASSERT_EQ(got.has_value(), c.expected.has_value()) << "text: [" << c.text << "]";
  if (got) {
    EXPECT_DOUBLE_EQ(*got, *c.expected) << "text: [" << c.text << "]";
  }
}

INSTANTIATE_TEST_SUITE_P(Valid, ParseDecimalTest,
                         ::testing::Values(DecimalCase{"25", 25}, DecimalCase{"025", 25}, DecimalCase{"25.0", 25},
                                           DecimalCase{"1.5", 1.5}, DecimalCase{"  2", 2}, DecimalCase{"1e2", 100},
                                           DecimalCase{"1E+2", 100}, DecimalCase{"2.5e-1", 0.25},
                                           DecimalCase{".5", 0.5}, DecimalCase{"5.", 5}, DecimalCase{"+3", 3},
                                           DecimalCase{"-1", -1}, DecimalCase{"-0", 0}, DecimalCase{"-.5e1", -5},
                                           DecimalCase{"1e-400", 0},
                                           DecimalCase{"1.7976931348623157e308", 1.7976931348623157e308}));

INSTANTIATE_TEST_SUITE_P(Invalid, ParseDecimalTest,
                         ::testing::Values(DecimalCase{"", std::nullopt}, DecimalCase{"   ", std::nullopt},
                                           DecimalCase{"1,5", std::nullopt}, DecimalCase{"2 ", std::nullopt},
                                           DecimalCase{".", std::nullopt}, DecimalCase{"-", std::nullopt},
                                           DecimalCase{"1e", std::nullopt}, DecimalCase{"1e+", std::nullopt},
                                           DecimalCase{"e5", std::nullopt}, DecimalCase{"1.2.3", std::nullopt},
                                           DecimalCase{"inf", std::nullopt}, DecimalCase{"nan", std::nullopt},
                                           DecimalCase{"0x1p3", std::nullopt}, DecimalCase{"1e999", std::nullopt},
                                           DecimalCase{"-1e309", std::nullopt}, DecimalCase{"+-1", std::nullopt},
                                           DecimalCase{"\t1", std::nullopt}, DecimalCase{"1a", std::nullopt},
                                           DecimalCase{"abc", std::nullopt}));

struct WholeCase {
  std::string text;
  std::optional<std::int32_t> expected;
};

void PrintTo(const WholeCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class ParseWholeNumberTest : public ::testing::TestWithParam<WholeCase> {};

TEST_P(ParseWholeNumberTest, ReadsAsExpected) {
  const WholeCase& c = GetParam();
  EXPECT_EQ(ParseWholeNumber(c.text), c.expected) << "text: [" << c.text << "]";
}

INSTANTIATE_TEST_SUITE_P(
    All, ParseWholeNumberTest,
    ::testing::Values(WholeCase{"1", 1}, WholeCase{"  2", 2}, WholeCase{"+3", 3}, WholeCase{"-4", -4},
                      WholeCase{"$2", 2}, WholeCase{"x1F", 31}, WholeCase{"X10", 16}, WholeCase{"0x10", 16},
                      WholeCase{"0XfF", 255}, WholeCase{"2147483647", 2147483647}, WholeCase{"-2147483648", INT32_MIN},
                      WholeCase{"0x7FFFFFFF", 2147483647}, WholeCase{"2147483648", std::nullopt},
                      WholeCase{"0x80000000", std::nullopt}, WholeCase{"99999999999999999999", std::nullopt},
                      WholeCase{"", std::nullopt}, WholeCase{" ", std::nullopt}, WholeCase{"$", std::nullopt},
                      WholeCase{"0x", std::nullopt}, WholeCase{"1.5", std::nullopt}, WholeCase{"2 ", std::nullopt},
                      WholeCase{"1e2", std::nullopt}, WholeCase{"Нет", std::nullopt}, WholeCase{"$G", std::nullopt}));

struct LeadingCase {
  std::string text;
  double expected;
};

void PrintTo(const LeadingCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class LeadingNumberTest : public ::testing::TestWithParam<LeadingCase> {};

TEST_P(LeadingNumberTest, ReadsAsExpected) {
  const LeadingCase& c = GetParam();
  EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.expected) << "text: [" << c.text << "]";
}

INSTANTIATE_TEST_SUITE_P(All, LeadingNumberTest,
                         ::testing::Values(LeadingCase{"10 (\"C\")", 10}, LeadingCase{"3 (\"А\")", 3},
                                           LeadingCase{"12", 12}, LeadingCase{"7.5", 7.5},
                                           LeadingCase{"  20 (\"D\")", 20}, LeadingCase{"7.5x", 7.5},
                                           LeadingCase{"8.", 8}, LeadingCase{"abc", 0}, LeadingCase{"", 0},
                                           LeadingCase{"-3", 0}, LeadingCase{".5", 0}, LeadingCase{"0", 0}));

}  // namespace
}  // namespace tesmir
