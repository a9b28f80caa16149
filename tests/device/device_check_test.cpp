#include "device/device_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

namespace tesmir {
namespace {

const NumberSeparators kPoint{".", ","};

DeviceDialogInput Breaker(std::string rated, std::string multiple, std::string safety, bool currentGiven = false) {
  DeviceDialogInput input;
  input.breaker = true;
  input.releaseCurrentGiven = currentGiven;
  input.tokAVnom = std::move(rated);
  input.tokNR = std::move(multiple);
  input.kzAV = std::move(safety);
  input.typePP = "ППН";
  input.tokPP = "63";
  input.kzPP = "1.1";
  input.timePP = "Тср < 5 с";
  return input;
}

DeviceDialogInput Fuse(std::string type, std::string rated, std::string safety, std::string time) {
  DeviceDialogInput input = Breaker("16", "10 (\"C\")", "1.1");
  input.breaker = false;
  input.typePP = std::move(type);
  input.tokPP = std::move(rated);
  input.kzPP = std::move(safety);
  input.timePP = std::move(time);
  return input;
}

TEST(AcceptDevice, BreakerExample) {
  DeviceSettings settings;
  const AcceptOutcome outcome = AcceptDevice(Breaker("16", "10 (\"C\")", "1.1"), settings, kPoint);
  ASSERT_TRUE(outcome.ok()) << outcome.error();
  EXPECT_EQ(settings.KindDD, DeviceKind::Breaker);
  EXPECT_EQ(settings.TokAVnom, 16);
  EXPECT_EQ(settings.KNR, 10);
  EXPECT_EQ(settings.KZAV, 1.1);
  EXPECT_EQ(settings.TokSR, 16.0 * 10.0 * 1.1);
  EXPECT_EQ(outcome->type, "Автоматический выключатель");
  EXPECT_EQ(outcome->toknom, "Iном=16 А");
  EXPECT_EQ(outcome->kz, "Кз=1.1");
  EXPECT_EQ(outcome->tokSR, "Iср=176 А");
  // The breaker's prefix starts with the Cyrillic letter.
  EXPECT_EQ(outcome->kz.substr(0, 2), "\xD0\x9A");
}

TEST(AcceptDevice, TripCurrentLabelUsesTheGivenDecimalSeparator) {
  DeviceSettings settings;
  const AcceptOutcome outcome = AcceptDevice(Breaker("16", "10", "1.15"), settings, NumberSeparators{",", " "});
  ASSERT_TRUE(outcome.ok());
  EXPECT_EQ(outcome->tokSR, "Iср=184 А");
  const AcceptOutcome fraction = AcceptDevice(Breaker("1", "7.5", "1.05"), settings, NumberSeparators{",", " "});
  ASSERT_TRUE(fraction.ok());
  EXPECT_EQ(fraction->tokSR, "Iср=7,875 А");
}

struct MultipleCase {
  const char* text;
  double multiple;
};

// A multiple is a list item or a whole decimal text, optionally with a
// bracketed letter as the list items have it. The leading digits alone are
// no longer read: "5,5" read as 5 put the breaker on the unsafe side.
TEST(AcceptDevice, MultiplesReadAsListItemsOrWholeDecimals) {
  const MultipleCase cases[] = {
      {"3 (\"А\")", 3},  // Cyrillic letter, the entry at start
      {"3 (\"A\")", 3},  // Latin letter, the entry after the check box is cleared
      {"5 (\"B\")", 5}, {"10 (\"C\")", 10},   {"12", 12},    {"20 (\"D\")", 20},
      {"7.5", 7.5},     {"5.5 (\"K\")", 5.5}, {" 8 (Z)", 8}, {"1e1", 10},
  };
  for (const MultipleCase& c : cases) {
    DeviceSettings settings;
    const AcceptOutcome outcome = AcceptDevice(Breaker("10", c.text, "1.0"), settings, kPoint);
    ASSERT_TRUE(outcome.ok()) << c.text;
    EXPECT_EQ(settings.KNR, c.multiple) << c.text;
    EXPECT_EQ(settings.TokSR, 10 * c.multiple) << c.text;
  }
}

TEST(AcceptDevice, ReleaseCurrentGivenDirectly) {
  DeviceSettings settings;
  AcceptOutcome outcome = AcceptDevice(Breaker("16", "250", "1.2", true), settings, kPoint);
  ASSERT_TRUE(outcome.ok());
  EXPECT_EQ(settings.TokNR, 250);
  EXPECT_EQ(settings.TokSR, 300);
  outcome = AcceptDevice(Breaker("1000", "250", "1.2", true), settings, kPoint);
  ASSERT_TRUE(outcome.ok());
  EXPECT_EQ(settings.TokSR, 300);  // whatever the rated current
  EXPECT_EQ(outcome->tokSR, "Iср=300 А");
}

struct Rejection {
  DeviceDialogInput input;
  std::string_view message;
};

TEST(AcceptDevice, BreakerRejections) {
  const Rejection cases[] = {
      {Breaker("abc", "10", "1.1"), kMsgBadBreakerRatedCurrent},
      {Breaker("", "10", "1.1"), kMsgBadBreakerRatedCurrent},
      {Breaker("-1", "10", "1.1"), kMsgBadBreakerRatedCurrent},
      {Breaker("16,5", "10", "1.1"), kMsgBadBreakerRatedCurrent},
      {Breaker("16", "abc", "1.1"), kMsgBadReleaseMultiple},
      {Breaker("16", "", "1.1"), kMsgBadReleaseMultiple},
      {Breaker("16", "0", "1.1"), kMsgBadReleaseMultiple},
      {Breaker("16", "-3", "1.1"), kMsgBadReleaseMultiple},
      {Breaker("16", "5,5", "1.1"), kMsgBadReleaseMultiple},
      {Breaker("16", "  4x", "1.1"), kMsgBadReleaseMultiple},
      {Breaker("16", "10 (\"CD\")", "1.1"), kMsgBadReleaseMultiple},
      {Breaker("16", "10 (\"C\"", "1.1"), kMsgBadReleaseMultiple},
      {Breaker("16", "10(C)", "1.1"), kMsgBadReleaseMultiple},
      {Breaker("16", "10 ()", "1.1"), kMsgBadReleaseMultiple},
      // A trip current past the range of numbers: the field that carries it.
      {Breaker("1e308", "10", "1.1"), kMsgBadBreakerRatedCurrent},
      {Breaker("16", "1e308", "1.1"), kMsgBadReleaseMultiple},
      {Breaker("16", "10", "1e308"), kMsgBadBreakerSafetyFactor},
      {Breaker("16", "1e308", "1e10", true), kMsgBadReleaseCurrent},
      {Breaker("16", "", "1.1", true), kMsgBadReleaseCurrent},
      {Breaker("16", "0", "1.1", true), kMsgBadReleaseCurrent},
      {Breaker("16", "250 A", "1.1", true), kMsgBadReleaseCurrent},
      {Breaker("16", "10", "1,1"), kMsgBadBreakerSafetyFactor},
      {Breaker("16", "10", "0.9"), kMsgBadBreakerSafetyFactor},
      {Breaker("16", "10", ""), kMsgBadBreakerSafetyFactor},
      // The first failure in the order of the dialog wins.
      {Breaker("x", "0", "0.5"), kMsgBadBreakerRatedCurrent},
      {Breaker("16", "0", "0.5"), kMsgBadReleaseMultiple},
  };
  for (const Rejection& c : cases) {
    DeviceSettings settings;
    const AcceptOutcome outcome = AcceptDevice(c.input, settings, kPoint);
    ASSERT_FALSE(outcome.ok()) << c.input.tokAVnom << " " << c.input.tokNR << " " << c.input.kzAV;
    EXPECT_EQ(outcome.error(), c.message) << c.input.tokAVnom << " " << c.input.tokNR << " " << c.input.kzAV;
    EXPECT_TRUE(settings == DeviceSettings{});
  }
}

TEST(AcceptDevice, ZeroRatedCurrentAcceptedWithoutTripCurrent) {
  DeviceSettings settings;
  const AcceptOutcome outcome = AcceptDevice(Breaker("0", "10", "1.1"), settings, kPoint);
  ASSERT_TRUE(outcome.ok());
  EXPECT_EQ(settings.TokSR, 0);
  EXPECT_EQ(outcome->tokSR, "Iср=0 А");
  EXPECT_EQ(JudgeDevice(500, settings).status, kStatusNotDefined);
}

TEST(AcceptDevice, FuseExample) {
  DeviceSettings settings;
  AcceptOutcome outcome = AcceptDevice(Fuse("ППН", "63", "1.1", "Тср < 5 с"), settings, kPoint);
  ASSERT_TRUE(outcome.ok()) << outcome.error();
  EXPECT_EQ(settings.KindDD, DeviceKind::Fuse);
  EXPECT_EQ(settings.TypePP, FuseType::PPN);
  EXPECT_EQ(settings.TimePP, FuseTime::Within5s);
  EXPECT_EQ(settings.TokPP, 63);
  EXPECT_EQ(settings.TokSR, 330 * 1.1);
  EXPECT_EQ(outcome->type, "Плавкий предохранитель (ППН)");
  EXPECT_EQ(outcome->toknom, "Iном=63 А");
  EXPECT_EQ(outcome->kz, "Kз=1.1");
  EXPECT_EQ(outcome->kz.substr(0, 1), "K");  // Latin letter for the fuse
  EXPECT_EQ(outcome->tokSR, "Iср=363 А");

  outcome = AcceptDevice(Fuse("ППН", "63", "1.1", "Тср < 0,4 с"), settings, kPoint);
  ASSERT_TRUE(outcome.ok());
  EXPECT_EQ(settings.TimePP, FuseTime::Within04s);
  EXPECT_EQ(settings.TokSR, 600 * 1.1);
  EXPECT_EQ(outcome->tokSR, "Iср=660 А");
}

struct FuseCase {
  const char* type;
  const char* rated;
  const char* safety;
  FuseType typePP;
  double tokSR;
};

TEST(AcceptDevice, FuseRatingsMatchedByIntegerPart) {
  const FuseCase cases[] = {
      {"ПН2", "31.5", "1", FuseType::PN2, 400},       {"ПН2", "31", "1", FuseType::PN2, 400},
      {"НПН", "6.3", "1", FuseType::NPN, 55},         {"НПН", "6.9", "1", FuseType::NPN, 55},
      {"ППН", "63.9", "1", FuseType::PPN, 330},       {"ППН", "1250", "2", FuseType::PPN, 24000},
      {"ППН", "63", "0.9", FuseType::PPN, 330 * 0.9},  // below 1 is accepted for a fuse
      {"ППН", "63", "0", FuseType::PPN, 0},            // and so is zero
  };
  for (const FuseCase& c : cases) {
    DeviceSettings settings;
    const AcceptOutcome outcome = AcceptDevice(Fuse(c.type, c.rated, c.safety, "Тср < 5 с"), settings, kPoint);
    ASSERT_TRUE(outcome.ok()) << c.type << " " << c.rated << ": " << outcome.error();
    EXPECT_EQ(settings.TypePP, c.typePP);
    EXPECT_EQ(settings.TokSR, c.tokSR) << c.type << " " << c.rated;
    EXPECT_EQ(outcome->toknom, std::string("Iном=") + c.rated + " А");
  }
}

TEST(AcceptDevice, FuseRejections) {
  const Rejection cases[] = {
      {Fuse("ППН", "abc", "1.1", "Тср < 5 с"), kMsgBadFuseRatedCurrent},
      {Fuse("ППН", "", "1.1", "Тср < 5 с"), kMsgBadFuseRatedCurrent},
      {Fuse("ППН", "-63", "1.1", "Тср < 5 с"), kMsgBadFuseRatedCurrent},
      {Fuse("ППН", "63", "1,1", "Тср < 5 с"), kMsgBadFuseSafetyFactor},
      {Fuse("ППН", "63", "-0.1", "Тср < 5 с"), kMsgBadFuseSafetyFactor},
      {Fuse("ППН", "63", "1.1", "Тср < 1 с"), kMsgBadTripTime},
      {Fuse("ППН", "63", "1.1", ""), kMsgBadTripTime},
      {Fuse("НПН", "50", "1.1", "Тср < 5 с"), kMsgUnknownFuseRating},
      {Fuse("ППН", "31.5", "1.1", "Тср < 5 с"), kMsgUnknownFuseRating},
      {Fuse("ППН", "1e20", "1.1", "Тср < 5 с"), kMsgUnknownFuseRating},
      // An unknown type is found before the time is checked but reported after it.
      {Fuse("XYZ", "63", "1.1", "Тср < 1 с"), kMsgBadTripTime},
      {Fuse("XYZ", "abc", "1.1", "Тср < 5 с"), kMsgBadFuseRatedCurrent},
  };
  for (const Rejection& c : cases) {
    // A trip current from an earlier device, which none of these failures may clear.
    DeviceSettings settings;
    settings.TokSR = 176;
    const DeviceSettings before = settings;
    const AcceptOutcome outcome = AcceptDevice(c.input, settings, kPoint);
    ASSERT_FALSE(outcome.ok()) << c.input.typePP << " " << c.input.tokPP;
    EXPECT_EQ(outcome.error(), c.message) << c.input.typePP << " " << c.input.tokPP << " " << c.input.timePP;
    EXPECT_TRUE(settings == before);
  }
}

TEST(AcceptDevice, RejectedAcceptanceChangesNothing) {
  DeviceSettings settings;
  ASSERT_TRUE(AcceptDevice(Breaker("16", "10 (\"C\")", "1.1"), settings, kPoint).ok());
  const DeviceSettings accepted = settings;

  // A fuse with a bad rating after a breaker: still the breaker, still 176 A.
  AcceptOutcome outcome = AcceptDevice(Fuse("НПН", "50", "1.1", "Тср < 0,4 с"), settings, kPoint);
  EXPECT_EQ(outcome.error(), kMsgUnknownFuseRating);
  EXPECT_TRUE(settings == accepted);
  EXPECT_EQ(settings.KindDD, DeviceKind::Breaker);
  EXPECT_EQ(settings.TokSR, 176);

  // A breaker failing at its last check keeps the earlier values too.
  outcome = AcceptDevice(Breaker("25", "5", "0.5"), settings, kPoint);
  EXPECT_EQ(outcome.error(), kMsgBadBreakerSafetyFactor);
  EXPECT_TRUE(settings == accepted);
}

TEST(AcceptDevice, UnrecognisedFuseTypeClearsOnlyTheTripCurrent) {
  DeviceSettings settings;
  ASSERT_TRUE(AcceptDevice(Fuse("ППН", "63", "1.1", "Тср < 0,4 с"), settings, kPoint).ok());
  DeviceSettings expected = settings;
  expected.TokSR = 0;

  const AcceptOutcome outcome = AcceptDevice(Fuse("XYZ", "100", "1.2", "Тср < 5 с"), settings, kPoint);
  ASSERT_FALSE(outcome.ok());
  EXPECT_EQ(outcome.error(), kMsgBadFuseType);
  EXPECT_TRUE(settings == expected);
  EXPECT_EQ(JudgeDevice(10000, settings).status, kStatusNotDefined);
}

TEST(AcceptDevice, OnlyTheFieldsReadAreReplaced) {
  DeviceSettings settings;
  ASSERT_TRUE(AcceptDevice(Breaker("16", "250", "1.2", true), settings, kPoint).ok());
  ASSERT_TRUE(AcceptDevice(Fuse("ПН2", "100", "1.0", "Тср < 5 с"), settings, kPoint).ok());
  EXPECT_EQ(settings.KindDD, DeviceKind::Fuse);
  EXPECT_EQ(settings.TokNR, 250);  // breaker fields stay as last accepted
  EXPECT_EQ(settings.KZAV, 1.2);
  EXPECT_EQ(settings.TokSR, 950);
}

struct JudgeCase {
  double iokz;
  double tokSR;
  DeviceKind kind;
  FuseTime time;
  std::string_view status;
  std::optional<std::string_view> tripTime;
};

TEST(JudgeDevice, FourRows) {
  const JudgeCase cases[] = {
      {200, 176, DeviceKind::Breaker, FuseTime::None, kStatusTrips, kTime04s},
      {176, 176, DeviceKind::Breaker, FuseTime::None, kStatusTrips, kTime04s},  // equality trips
      {175.9999, 176, DeviceKind::Breaker, FuseTime::None, kStatusDoesNotTrip, kTimeOver04s},
      {100, 176, DeviceKind::Breaker, FuseTime::Within04s, kStatusDoesNotTrip,
       kTimeOver04s},  // a breaker is always judged against 0.4 s
      {400, 363, DeviceKind::Fuse, FuseTime::Within5s, kStatusTrips, kTime5s},
      {400, 363, DeviceKind::Fuse, FuseTime::Within04s, kStatusTrips, kTime04s},
      {300, 363, DeviceKind::Fuse, FuseTime::Within5s, kStatusDoesNotTrip, kTimeOver5s},
      {300, 660, DeviceKind::Fuse, FuseTime::Within04s, kStatusDoesNotTrip, kTimeOver04s},
      {500, 0, DeviceKind::Breaker, FuseTime::None, kStatusNotDefined, std::nullopt},
      {500, -1, DeviceKind::Fuse, FuseTime::Within5s, kStatusNotDefined, std::nullopt},
      {0, 0, DeviceKind::None, FuseTime::None, kStatusNotDefined, std::nullopt},  // nothing computed, nothing accepted
      {0, 176, DeviceKind::Breaker, FuseTime::None, kStatusNoCurrent, std::nullopt},
      {-5, 176, DeviceKind::Fuse, FuseTime::Within5s, kStatusNoCurrent, std::nullopt},
  };
  for (const JudgeCase& c : cases) {
    DeviceSettings settings;
    settings.TokSR = c.tokSR;
    settings.KindDD = c.kind;
    settings.TimePP = c.time;
    const DeviceVerdict verdict = JudgeDevice(c.iokz, settings);
    EXPECT_EQ(verdict.status, c.status) << c.iokz << " vs " << c.tokSR;
    EXPECT_EQ(verdict.tripTime, c.tripTime ? std::optional<std::string>(*c.tripTime) : std::nullopt)
        << c.iokz << " vs " << c.tokSR;
  }
}

TEST(JudgeDevice, EqualityOnTheUnroundedProduct) {
  DeviceSettings settings;
  ASSERT_TRUE(AcceptDevice(Breaker("16", "10", "1.1"), settings, kPoint).ok());
  // 16 × 10 × 1.1 is not exactly 176 in binary; a current equal to the product trips.
  EXPECT_EQ(JudgeDevice(settings.TokSR, settings).status, kStatusTrips);
  EXPECT_EQ(JudgeDevice(std::nextafter(settings.TokSR, 0.0), settings).status, kStatusDoesNotTrip);
}

TEST(ResetDevice, ForgetsOnlyTheTripCurrent) {
  DeviceSettings settings;
  ASSERT_TRUE(AcceptDevice(Fuse("ППН", "63", "1.1", "Тср < 5 с"), settings, kPoint).ok());
  DeviceSettings expected = settings;
  expected.TokSR = -1;
  ResetDevice(settings);
  EXPECT_TRUE(settings == expected);
  EXPECT_EQ(JudgeDevice(1000, settings).status, kStatusNotDefined);
  EXPECT_EQ(JudgeDevice(0, settings).status, kStatusNotDefined);  // 0 ≥ -1
}

}  // namespace
}  // namespace tesmir
