#pragma once
// What the device dialog offers: the breaker's lists and the texts its lists
// show at start. The fuse ratings live with the fuse characteristic.

#include <string_view>

namespace tesmir {

// Breaker rated currents, A.
inline constexpr std::string_view kBreakerRatings[] = {
    "1",  "2",  "3",   "4",   "5",   "6",   "8",   "10",  "13",  "16",  "20",  "25",   "32",   "40",  "50",
    "63", "80", "100", "125", "160", "200", "250", "320", "400", "630", "800", "1000", "1250", "1600"};
inline constexpr std::string_view kDefaultBreakerRating = "16";

// Instantaneous-release multiples. At start the first entry carries the
// Cyrillic letter А; the list rebuilt when the release current is no longer
// given uses the Latin A. Both read as 3.
inline constexpr std::string_view kStartMultiples[] = {"3 (\"А\")", "5 (\"B\")", "10 (\"C\")", "12", "20 (\"D\")"};
inline constexpr std::string_view kMultiples[] = {"3 (\"A\")", "5 (\"B\")", "10 (\"C\")", "12", "20 (\"D\")"};
inline constexpr std::string_view kDefaultMultiple = "10 (\"C\")";

// Safety factors, the same list for the breaker and the fuse.
inline constexpr std::string_view kSafetyFactors[] = {"1.0", "1.05", "1.1", "1.15", "1.2"};
inline constexpr std::string_view kDefaultSafetyFactor = "1.1";

// Rating text set when the fuse type changes to a known type, and when it
// changes to an unknown one (the rating list is then emptied).
inline constexpr std::string_view kDefaultFuseRating = "63";
inline constexpr std::string_view kUnknownTypeFuseRating = "0";

}  // namespace tesmir
