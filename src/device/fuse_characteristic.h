#pragma once
// Fuse characteristics: for each fuse type the rated currents offered and, per
// rated current, the current that blows the fuse link within 5 s and 0.4 s.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "device/device_settings.h"

namespace tesmir {

// The fuse types as the type list shows them.
inline constexpr std::string_view kFuseTypePPN = "ППН";  // FuseType::PPN
inline constexpr std::string_view kFuseTypePN2 = "ПН2";  // FuseType::PN2
inline constexpr std::string_view kFuseTypeNPN = "НПН";  // FuseType::NPN

// One rated current of a fuse type.
struct FuseRating {
  std::string_view text;  // as the rating list shows it, e.g. "31.5"
  std::int32_t key;       // integer part of the rating, e.g. 31
  double current5s;       // A, blows the link within 5 s
  double current04s;      // A, blows the link within 0.4 s
};

// The type of a type text compared exactly; nullopt for any other text.
std::optional<FuseType> FuseTypeCode(std::string_view typeText);

// The ratings of a type in list order; empty for FuseType::None or a value
// outside the enumeration.
std::span<const FuseRating> FuseCharacteristic(FuseType type);

// The rating of a type whose integer part is `key`; nullptr when the type has
// no such rating.
const FuseRating* FindFuseRating(FuseType type, std::int32_t key);

// The table current of a rating for a time class: the 0.4 s column for
// FuseTime::Within04s, the 5 s column otherwise.
double FuseTripCurrent(const FuseRating& rating, FuseTime time);

}  // namespace tesmir
