#include "device/fuse_characteristic.h"

#include <array>

namespace tesmir {
namespace {

// clang-format off
constexpr std::array<FuseRating, 24> kPPN{{
    {"2", 2, 9, 16},          {"4", 4, 19, 32},         {"6", 6, 28, 50},
    {"10", 10, 44, 70},       {"16", 16, 54, 120},      {"20", 20, 58, 140},
    {"25", 25, 110, 190},     {"32", 32, 150, 250},     {"40", 40, 190, 320},
    {"50", 50, 260, 460},     {"63", 63, 330, 600},     {"80", 80, 420, 750},
    {"100", 100, 600, 1000},  {"125", 125, 700, 1300},  {"160", 160, 1000, 1900},
    {"200", 200, 1200, 2400}, {"250", 250, 1600, 3000}, {"315", 315, 2000, 3800},
    {"400", 400, 2800, 6000}, {"500", 500, 3500, 7500}, {"630", 630, 4800, 9000},
    {"800", 800, 7000, 12000}, {"1000", 1000, 8000, 17000}, {"1250", 1250, 12000, 22000},
}};

constexpr std::array<FuseRating, 15> kPN2{{
    {"31.5", 31, 400, 940},   {"40", 40, 500, 1100},    {"50", 50, 600, 1300},
    {"63", 63, 700, 1700},    {"80", 80, 800, 2000},    {"100", 100, 950, 2300},
    {"125", 125, 1100, 2700}, {"160", 160, 1500, 3200}, {"200", 200, 2000, 4400},
    {"250", 250, 2600, 5000}, {"315", 315, 3000, 6000}, {"355", 355, 3300, 7000},
    {"400", 400, 4000, 8000}, {"500", 500, 5000, 11000}, {"630", 630, 6000, 14000},
}};

// There is no "50" for this type.
constexpr std::array<FuseRating, 8> kNPN{{
    {"6.3", 6, 55, 80},     {"10", 10, 70, 110},    {"16", 16, 80, 120},
    {"20", 20, 90, 150},    {"25", 25, 100, 180},   {"31.5", 31, 110, 200},
    {"40", 40, 130, 240},   {"63", 63, 180, 300},
}};
// clang-format on

}  // namespace

std::optional<FuseType> FuseTypeCode(std::string_view typeText) {
  if (typeText == kFuseTypePPN) return FuseType::PPN;
  if (typeText == kFuseTypePN2) return FuseType::PN2;
  if (typeText == kFuseTypeNPN) return FuseType::NPN;
  return std::nullopt;
}

std::span<const FuseRating> FuseCharacteristic(FuseType type) {
  switch (type) {
    case FuseType::PPN:
      return kPPN;
    case FuseType::PN2:
      return kPN2;
    case FuseType::NPN:
      return kNPN;
    case FuseType::None:
      break;
  }
  return {};
}

const FuseRating* FindFuseRating(FuseType type, std::int32_t key) {
  for (const FuseRating& rating : FuseCharacteristic(type)) {
    if (rating.key == key) {
      return &rating;
    }
  }
  return nullptr;
}

double FuseTripCurrent(const FuseRating& rating, FuseTime time) {
  return time == FuseTime::Within04s ? rating.current04s : rating.current5s;
}

}  // namespace tesmir
