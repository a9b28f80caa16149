#pragma once
// Fuse characteristics: for each fuse type the rated currents offered and, per
// rated current, the current that blows the fuse link within 5 s and 0.4 s.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tesmir {

// The fuse types as the dialog's type list shows them, with their TypePP codes.
inline constexpr std::string_view kFuseTypePPN = "ППН";  // TypePP 1
inline constexpr std::string_view kFuseTypePN2 = "ПН2";  // TypePP 2
inline constexpr std::string_view kFuseTypeNPN = "НПН";  // TypePP 3

// One rated current of a fuse type.
struct FuseRating {
  std::string_view text;  // as the rating list shows it, e.g. "31.5"
  std::int32_t key;       // integer part of the rating, e.g. 31
  double current5s;       // A, blows the link within 5 s
  double current04s;      // A, blows the link within 0.4 s
};

// The TypePP code (1, 2, 3) of a type text compared exactly; nullopt for any
// other text.
std::optional<std::int32_t> FuseTypeCode(std::string_view typeText);

// The ratings of a type code in list order; empty for an unknown code.
std::span<const FuseRating> FuseCharacteristic(std::int32_t typePP);

// The rating of a type whose integer part is `key`; nullptr when the type has
// no such rating.
const FuseRating* FindFuseRating(std::int32_t typePP, std::int32_t key);

// The table current of a rating for a time class (1: 5 s, 2: 0.4 s).
double FuseTripCurrent(const FuseRating& rating, std::int32_t timePP);

}  // namespace tesmir
