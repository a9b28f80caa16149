#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "core/display_format.h"

namespace tesmir {
namespace {

const NumberSeparators kEnglish{".", ","};
const NumberSeparators kRussian{",", " "};
const NumberSeparators kRussianNbsp{",", "\u00A0"};

struct FormatCase {
  double value;
  std::string english;
  std::string russian;
};

// gtest would otherwise print the struct byte by byte, padding included.
void PrintTo(const FormatCase& c, std::ostream* os) {
  *os << c.value << " -> \"" << c.english << "\" / \"" << c.russian << '"';
}

TEST(FormatCasePrinting, ShowsTheValueAndBothTexts) {
  EXPECT_EQ(::testing::PrintToString(FormatCase{692.4, "692.40", "692,40"}), "692.4 -> \"692.40\" / \"692,40\"");
}

class FormatF2Test : public ::testing::TestWithParam<FormatCase> {};
TEST_P(FormatF2Test, BothLocales) {
  EXPECT_EQ(FormatF2(GetParam().value, kEnglish), GetParam().english);
  EXPECT_EQ(FormatF2(GetParam().value, kRussian), GetParam().russian);
}
INSTANTIATE_TEST_SUITE_P(
    All, FormatF2Test,
    ::testing::Values(FormatCase{1062.377, "1,062.38", "1 062,38"}, FormatCase{0, "0.00", "0,00"},
                      FormatCase{-0.0, "0.00", "0,00"}, FormatCase{3110.254, "3,110.25", "3 110,25"},
                      FormatCase{692.4, "692.40", "692,40"}, FormatCase{805.7466666666667, "805.75", "805,75"},
                      FormatCase{2.675, "2.68", "2,68"}, FormatCase{1.005, "1.01", "1,01"},
                      FormatCase{0.004, "0.00", "0,00"}, FormatCase{0.005, "0.01", "0,01"},
                      FormatCase{1234.567, "1,234.57", "1 234,57"}, FormatCase{12345.678, "12,345.68", "12 345,68"},
                      // No more than 7 significant digits: the decimals give way.
                      FormatCase{123456.789, "123,456.80", "123 456,80"},
                      FormatCase{1234567.89, "1,234,568.00", "1 234 568,00"},
                      FormatCase{9999.995, "10,000.00", "10 000,00"},
                      // More than 7 integer digits: exponent form.
                      FormatCase{123456789, "1.234568E+8", "1,234568E+8"},
                      FormatCase{12345678, "1.234568E+7", "1,234568E+7"}, FormatCase{9999999.6, "1E+7", "1E+7"},
                      FormatCase{-1234.567, "-1,234.57", "-1 234,57"}, FormatCase{-0.001, "0.00", "0,00"}));

class FormatF0Test : public ::testing::TestWithParam<FormatCase> {};
TEST_P(FormatF0Test, BothLocales) {
  EXPECT_EQ(FormatF0(GetParam().value, kEnglish), GetParam().english);
  EXPECT_EQ(FormatF0(GetParam().value, kRussian), GetParam().russian);
}
INSTANTIATE_TEST_SUITE_P(All, FormatF0Test,
                         ::testing::Values(FormatCase{40, "40", "40"}, FormatCase{12.6, "13", "13"},
                                           FormatCase{12.5, "13", "13"}, FormatCase{13.5, "14", "14"},
                                           FormatCase{0.4, "0", "0"}, FormatCase{0, "0", "0"},
                                           FormatCase{1234567, "1,234,567", "1 234 567"},
                                           FormatCase{1234567.5, "1,234,568", "1 234 568"},
                                           FormatCase{12345678, "1.234568E+7", "1,234568E+7"}));

class FormatGTest : public ::testing::TestWithParam<FormatCase> {};
TEST_P(FormatGTest, BothLocales) {
  EXPECT_EQ(FormatG(GetParam().value, kEnglish), GetParam().english);
  EXPECT_EQ(FormatG(GetParam().value, kRussian), GetParam().russian);
}
INSTANTIATE_TEST_SUITE_P(All, FormatGTest,
                         ::testing::Values(FormatCase{318, "318", "318"}, FormatCase{1957.2, "1957.2", "1957,2"},
                                           FormatCase{2417.24, "2417.24", "2417,24"}, FormatCase{176, "176", "176"},
                                           FormatCase{1.1 * 16 * 10, "176", "176"},
                                           FormatCase{363.00000000000006, "363", "363"},
                                           FormatCase{0.1 + 0.2, "0.3", "0,3"}, FormatCase{0, "0", "0"},
                                           FormatCase{-2.5, "-2.5", "-2,5"},
                                           FormatCase{123456789012345, "123456789012345", "123456789012345"},
                                           FormatCase{1234567890123456, "1.23456789012346E+15", "1,23456789012346E+15"},
                                           FormatCase{0.00001, "0.00001", "0,00001"},
                                           FormatCase{0.000001, "1E-6", "1E-6"}, FormatCase{1e20, "1E+20", "1E+20"}));

TEST(FormatThousands, NoBreakSpaceSeparator) {
  EXPECT_EQ(FormatF2(1062.377, kRussianNbsp), "1\u00A0062,38");
  EXPECT_EQ(FormatF0(1234567, kRussianNbsp), "1\u00A0234\u00A0567");
}

struct CurrentCase {
  double amperes;
  std::string text;
};
void PrintTo(const CurrentCase& c, std::ostream* os) { *os << c.amperes << " -> \"" << c.text << '"'; }

class FormatCurrentTest : public ::testing::TestWithParam<CurrentCase> {};
TEST_P(FormatCurrentTest, TiesToEven) { EXPECT_EQ(FormatCurrent(GetParam().amperes), GetParam().text); }
INSTANTIATE_TEST_SUITE_P(All, FormatCurrentTest,
                         ::testing::Values(CurrentCase{217.437, "217"}, CurrentCase{217.5, "218"},
                                           CurrentCase{218.5, "218"}, CurrentCase{10102.145, "10102"},
                                           CurrentCase{97.775, "98"}, CurrentCase{0.4, "0"},
                                           CurrentCase{1234567.5, "1234568"}, CurrentCase{0.5, "0"}));

}  // namespace
}  // namespace tesmir
