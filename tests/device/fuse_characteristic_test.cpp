#include "device/fuse_characteristic.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "device/device_check.h"

namespace tesmir {
namespace {

TEST(FuseCharacteristic, TypeCodesAreExact) {
  EXPECT_EQ(FuseTypeCode("ППН"), FuseType::PPN);
  EXPECT_EQ(FuseTypeCode("ПН2"), FuseType::PN2);
  EXPECT_EQ(FuseTypeCode("НПН"), FuseType::NPN);
  // The codes are those of the type list, 1 to 3.
  EXPECT_EQ(static_cast<std::int32_t>(FuseType::PPN), 1);
  EXPECT_EQ(static_cast<std::int32_t>(FuseType::PN2), 2);
  EXPECT_EQ(static_cast<std::int32_t>(FuseType::NPN), 3);
  for (const char* other : {"", "ПН", "ппн", " ППН", "ППН ", "PPN", "ПH2" /* Latin H */}) {
    EXPECT_FALSE(FuseTypeCode(other).has_value()) << other;
  }
}

TEST(FuseCharacteristic, RatingListsPerType) {
  const std::vector<std::string> ppn{"2",   "4",   "6",   "10",  "16",  "20",  "25",   "32",
                                     "40",  "50",  "63",  "80",  "100", "125", "160",  "200",
                                     "250", "315", "400", "500", "630", "800", "1000", "1250"};
  const std::vector<std::string> pn2{"31.5", "40",  "50",  "63",  "80",  "100", "125", "160",
                                     "200",  "250", "315", "355", "400", "500", "630"};
  const std::vector<std::string> npn{"6.3", "10", "16", "20", "25", "31.5", "40", "63"};
  EXPECT_EQ(FuseRatingTexts("ППН").value(), ppn);
  EXPECT_EQ(FuseRatingTexts("ПН2").value(), pn2);
  EXPECT_EQ(FuseRatingTexts("НПН").value(), npn);
  const auto unknown = FuseRatingTexts("ПН");
  ASSERT_FALSE(unknown.ok());
  EXPECT_EQ(unknown.error(), kMsgUnknownFuseTypeInList);
  EXPECT_TRUE(FuseCharacteristic(FuseType::None).empty());
  EXPECT_TRUE(FuseCharacteristic(static_cast<FuseType>(4)).empty());
}

TEST(FuseCharacteristic, KeyIsTheIntegerPartOfEveryRating) {
  for (FuseType type : {FuseType::PPN, FuseType::PN2, FuseType::NPN}) {
    for (const FuseRating& rating : FuseCharacteristic(type)) {
      EXPECT_EQ(rating.key, static_cast<std::int32_t>(std::stod(std::string(rating.text)))) << rating.text;
      EXPECT_LT(rating.current5s, rating.current04s) << rating.text;
      EXPECT_EQ(FindFuseRating(type, rating.key), &rating);
    }
  }
}

struct KeyCase {
  FuseType type;
  std::int32_t key;
  double at5s;
  double at04s;
};

TEST(FuseCharacteristic, LookupByKey) {
  const KeyCase cases[] = {
      {FuseType::PPN, 2, 9, 16},           {FuseType::PPN, 63, 330, 600}, {FuseType::PPN, 315, 2000, 3800},
      {FuseType::PPN, 1250, 12000, 22000}, {FuseType::PN2, 31, 400, 940}, {FuseType::PN2, 355, 3300, 7000},
      {FuseType::PN2, 630, 6000, 14000},   {FuseType::NPN, 6, 55, 80},    {FuseType::NPN, 31, 110, 200},
      {FuseType::NPN, 63, 180, 300},
  };
  for (const KeyCase& c : cases) {
    const FuseRating* rating = FindFuseRating(c.type, c.key);
    ASSERT_NE(rating, nullptr) << static_cast<int>(c.type) << " " << c.key;
    EXPECT_EQ(FuseTripCurrent(*rating, FuseTime::Within5s), c.at5s);
    EXPECT_EQ(FuseTripCurrent(*rating, FuseTime::Within04s), c.at04s);
  }
}

TEST(FuseCharacteristic, MissingKeys) {
  EXPECT_EQ(FindFuseRating(FuseType::NPN, 50), nullptr);  // no "50" for НПН
  EXPECT_EQ(FindFuseRating(FuseType::PN2, 32), nullptr);  // ПН2 has 31.5, not 32
  EXPECT_EQ(FindFuseRating(FuseType::PPN, 31), nullptr);  // ППН has 32, not 31.5
  EXPECT_EQ(FindFuseRating(FuseType::PPN, 0), nullptr);
  EXPECT_EQ(FindFuseRating(FuseType::None, 63), nullptr);
}

// Every rating of every type compared with the golden catalogue file, so that a
// changed digit fails.
TEST(FuseCharacteristic, EveryRatingAgainstTheGoldenFile) {
  std::ifstream in(TESMIR_SOURCE_DIR "/tests/data/catalogue.csv");
  ASSERT_TRUE(in.is_open());
  std::map<std::string, std::vector<std::string>> ratings;
  std::size_t count = 0;
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    std::string table, type, rating, at5s, at04s;
    if (!std::getline(fields, table, ';') || table != "fuse") continue;
    std::getline(fields, type, ';');
    std::getline(fields, rating, ';');
    std::getline(fields, at5s, ';');
    std::getline(fields, at04s, ';');
    ++count;
    ratings[type].push_back(rating);
    const std::optional<FuseType> code = FuseTypeCode(type);
    ASSERT_TRUE(code.has_value()) << type;
    const FuseRating* found = FindFuseRating(*code, static_cast<std::int32_t>(std::stod(rating)));
    ASSERT_NE(found, nullptr) << type << " " << rating;
    EXPECT_EQ(found->text, rating);
    EXPECT_EQ(FuseTripCurrent(*found, FuseTime::Within5s), std::stod(at5s)) << type << " " << rating;
    EXPECT_EQ(FuseTripCurrent(*found, FuseTime::Within04s), std::stod(at04s)) << type << " " << rating;
  }
  EXPECT_EQ(count, 47u);
  for (std::string_view type : {kFuseTypePPN, kFuseTypePN2, kFuseTypeNPN}) {
    EXPECT_EQ(FuseRatingTexts(type).value(), ratings[std::string(type)]) << type;
  }
}

}  // namespace
}  // namespace tesmir
