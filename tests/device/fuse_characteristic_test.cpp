#include "device/fuse_characteristic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/device_check.h"

namespace tesmir {
namespace {

TEST(FuseCharacteristic, TypeCodesAreExact) {
  EXPECT_EQ(FuseTypeCode("ППН"), 1);
  EXPECT_EQ(FuseTypeCode("ПН2"), 2);
  EXPECT_EQ(FuseTypeCode("НПН"), 3);
  for (const char* other : {"", "ПН", "ппн", " ППН", "ППН ", "PPN", "ПH2" /* Latin H */}) {
    EXPECT_FALSE(FuseTypeCode(other).has_value()) << other;
  }
}

TEST(FuseCharacteristic, RatingListsPerType) {
  const std::vector<std::string> ppn{"2",   "4",   "6",   "10",  "16",  "20",  "25",  "32",
                                     "40",  "50",  "63",  "80",  "100", "125", "160", "200",
                                     "250", "315", "400", "500", "630", "800", "1000", "1250"};
  const std::vector<std::string> pn2{"31.5", "40",  "50",  "63",  "80",  "100", "125", "160",
                                     "200",  "250", "315", "355", "400", "500", "630"};
  const std::vector<std::string> npn{"6.3", "10", "16", "20", "25", "31.5", "40", "63"};
  EXPECT_EQ(FuseRatingTexts("ППН"), ppn);
  EXPECT_EQ(FuseRatingTexts("ПН2"), pn2);
  EXPECT_EQ(FuseRatingTexts("НПН"), npn);
  EXPECT_FALSE(FuseRatingTexts("ПН").has_value());
  EXPECT_TRUE(FuseCharacteristic(0).empty());
  EXPECT_TRUE(FuseCharacteristic(4).empty());
}

TEST(FuseCharacteristic, KeyIsTheIntegerPartOfEveryRating) {
  for (std::int32_t type = 1; type <= 3; ++type) {
    for (const FuseRating& rating : FuseCharacteristic(type)) {
      EXPECT_EQ(rating.key, static_cast<std::int32_t>(std::stod(std::string(rating.text)))) << rating.text;
      EXPECT_LT(rating.current5s, rating.current04s) << rating.text;
      EXPECT_EQ(FindFuseRating(type, rating.key), &rating);
    }
  }
}

struct Lookup {
  std::int32_t type;
  std::int32_t key;
  double at5s;
  double at04s;
};

TEST(FuseCharacteristic, LookupByKey) {
  const Lookup cases[] = {
      {1, 2, 9, 16},         {1, 63, 330, 600},    {1, 315, 2000, 3800}, {1, 1250, 12000, 22000},
      {2, 31, 400, 940},     {2, 355, 3300, 7000}, {2, 630, 6000, 14000},
      {3, 6, 55, 80},        {3, 31, 110, 200},    {3, 63, 180, 300},
  };
  for (const Lookup& c : cases) {
    const FuseRating* rating = FindFuseRating(c.type, c.key);
    ASSERT_NE(rating, nullptr) << c.type << " " << c.key;
    EXPECT_EQ(FuseTripCurrent(*rating, 1), c.at5s);
    EXPECT_EQ(FuseTripCurrent(*rating, 2), c.at04s);
  }
}

TEST(FuseCharacteristic, MissingKeys) {
  EXPECT_EQ(FindFuseRating(3, 50), nullptr);   // no "50" for НПН
  EXPECT_EQ(FindFuseRating(2, 32), nullptr);   // ПН2 has 31.5, not 32
  EXPECT_EQ(FindFuseRating(1, 31), nullptr);   // ППН has 32, not 31.5
  EXPECT_EQ(FindFuseRating(1, 0), nullptr);
  EXPECT_EQ(FindFuseRating(0, 63), nullptr);
}

}  // namespace
}  // namespace tesmir
