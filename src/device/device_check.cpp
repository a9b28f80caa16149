#include "device/device_check.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "core/number_text.h"
#include "device/fuse_characteristic.h"

namespace tesmir {
namespace {

std::string RatedCurrentLabel(const std::string& typed) { return "Iном=" + typed + " А"; }

// The rating key: the integer part of the rated current, or nullopt when it
// lies beyond every key.
std::optional<std::int32_t> RatingKey(double ratedCurrent) {
  const double whole = std::trunc(ratedCurrent);
  if (!(whole >= 0) || whole > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(whole);
}

std::size_t CharacterLength(std::string_view utf8) {
  std::size_t count = 0;
  for (const char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0u) != 0x80u) ++count;
  }
  return count;
}

// The multiple as typed: a complete decimal text ("5.5"; "5,5" is not one),
// optionally followed by one blank and a bracketed letter as the list items
// have it ("10 (\"C\")"). Anything else is no multiple at all.
std::optional<double> ReleaseMultiple(std::string_view text) {
  const std::size_t bracket = text.find(" (");
  if (bracket != std::string_view::npos) {
    const std::string_view tail = text.substr(bracket + 2);
    // "X)" or "\"X\")" with one letter X, in any alphabet (one UTF-8 character).
    std::string_view inner = tail.substr(0, tail.empty() ? 0 : tail.size() - 1);
    if (tail.empty() || tail.back() != ')') return std::nullopt;
    if (inner.size() >= 2 && inner.front() == '"' && inner.back() == '"') inner = inner.substr(1, inner.size() - 2);
    const bool oneCharacter =
        !inner.empty() && CharacterLength(inner) == 1 && inner.find_first_of(" ()\"") == std::string_view::npos;
    if (!oneCharacter) return std::nullopt;
    text = text.substr(0, bracket);
  }
  return ParseDecimal(text);
}

AcceptOutcome AcceptBreaker(const DeviceDialogInput& input, DeviceSettings& next) {
  next.KindDD = DeviceKind::Breaker;

  const std::optional<double> rated = ParseDecimal(input.tokAVnom);
  if (!rated || *rated < 0) {
    return Fail(kMsgBadBreakerRatedCurrent);
  }
  next.TokAVnom = *rated;

  if (!input.releaseCurrentGiven) {
    const std::optional<double> multiple = ReleaseMultiple(input.tokNR);
    if (!multiple || !(*multiple > 0)) {
      return Fail(kMsgBadReleaseMultiple);
    }
    next.KNR = *multiple;
  } else {
    const std::optional<double> current = ParseDecimal(input.tokNR);
    if (!current || !(*current > 0)) {
      return Fail(kMsgBadReleaseCurrent);
    }
    next.TokNR = *current;
  }

  const std::optional<double> safety = ParseDecimal(input.kzAV);
  if (!safety || *safety < 1.0) {
    return Fail(kMsgBadBreakerSafetyFactor);
  }
  next.KZAV = *safety;

  const double trip = input.releaseCurrentGiven ? next.TokNR * next.KZAV : next.TokAVnom * next.KNR * next.KZAV;
  // A trip current beyond the range of numbers is refused with the message of
  // the field that carries it past: the largest factor.
  if (!std::isfinite(trip)) {
    const double first = input.releaseCurrentGiven ? next.TokNR : next.TokAVnom;
    const double second = input.releaseCurrentGiven ? 0 : next.KNR;
    if (next.KZAV >= first && next.KZAV >= second) return Fail(kMsgBadBreakerSafetyFactor);
    if (second > first) return Fail(kMsgBadReleaseMultiple);
    return Fail(input.releaseCurrentGiven ? kMsgBadReleaseCurrent : kMsgBadBreakerRatedCurrent);
  }
  next.TokSR = trip;

  DeviceLabels labels;
  labels.type = kBreakerTypeText;
  labels.toknom = RatedCurrentLabel(input.tokAVnom);
  labels.kz = "Кз=" + input.kzAV;  // Cyrillic К
  return labels;
}

// An unrecognised type also sets next.TokSR to 0.
AcceptOutcome AcceptFuse(const DeviceDialogInput& input, DeviceSettings& next) {
  next.KindDD = DeviceKind::Fuse;

  const std::optional<double> rated = ParseDecimal(input.tokPP);
  if (!rated || *rated < 0) {
    return Fail(kMsgBadFuseRatedCurrent);
  }
  next.TokPP = *rated;

  const std::optional<double> safety = ParseDecimal(input.kzPP);
  if (!safety || *safety < 0) {
    return Fail(kMsgBadFuseSafetyFactor);
  }

  // The type is recognised before the time is checked but reported after it.
  const std::optional<FuseType> type = FuseTypeCode(input.typePP);

  if (input.timePP == kTime5s) {
    next.TimePP = FuseTime::Within5s;
  } else if (input.timePP == kTime04s) {
    next.TimePP = FuseTime::Within04s;
  } else {
    return Fail(kMsgBadTripTime);
  }

  if (!type) {
    next.TokSR = 0;
    return Fail(kMsgBadFuseType);
  }
  next.TypePP = *type;

  const std::optional<std::int32_t> key = RatingKey(next.TokPP);
  const FuseRating* rating = key ? FindFuseRating(next.TypePP, *key) : nullptr;
  if (rating == nullptr) {
    return Fail(kMsgUnknownFuseRating);
  }
  const double trip = FuseTripCurrent(*rating, next.TimePP) * *safety;
  if (!std::isfinite(trip)) {
    return Fail(kMsgBadFuseSafetyFactor);
  }
  next.TokSR = trip;

  DeviceLabels labels;
  labels.type = "Плавкий предохранитель (" + input.typePP + ")";
  labels.toknom = RatedCurrentLabel(input.tokPP);
  labels.kz = "Kз=" + input.kzPP;  // Latin K
  return labels;
}

}  // namespace

Result<std::vector<std::string>> FuseRatingTexts(std::string_view typeText) {
  const std::optional<FuseType> type = FuseTypeCode(typeText);
  if (!type) {
    return Fail(kMsgUnknownFuseTypeInList);
  }
  std::vector<std::string> texts;
  for (const FuseRating& rating : FuseCharacteristic(*type)) {
    texts.emplace_back(rating.text);
  }
  return texts;
}

AcceptOutcome AcceptDevice(const DeviceDialogInput& input, DeviceSettings& settings, const NumberSeparators& seps) {
  // Everything is read into a copy, so a rejected "Да" leaves the accepted
  // device exactly as it was.
  DeviceSettings next = settings;
  AcceptOutcome outcome = input.breaker ? AcceptBreaker(input, next) : AcceptFuse(input, next);
  if (!outcome) {
    // Only TokSR is carried over: a failed check never writes it, except an
    // unrecognised fuse type, which clears it.
    settings.TokSR = next.TokSR;
    return outcome;
  }
  DeviceLabels labels = std::move(outcome).value();
  labels.tokSR = "Iср=" + FormatG(next.TokSR, seps) + " А";
  settings = next;
  return labels;
}

DeviceVerdict JudgeDevice(double iokz, const DeviceSettings& settings) {
  const double trip = settings.TokSR;
  DeviceVerdict verdict;
  if (iokz >= trip) {
    if (trip > 0) {
      verdict.status = kStatusTrips;
      if (settings.KindDD == DeviceKind::Breaker) {
        verdict.tripTime = std::string(kTime04s);
      } else if (settings.KindDD == DeviceKind::Fuse) {
        verdict.tripTime = std::string(settings.TimePP == FuseTime::Within5s ? kTime5s : kTime04s);
      }
    } else {
      verdict.status = kStatusNotDefined;
    }
  } else {
    if (iokz > 0) {
      verdict.status = kStatusDoesNotTrip;
      if (settings.KindDD == DeviceKind::Breaker) {
        verdict.tripTime = std::string(kTimeOver04s);
      } else if (settings.KindDD == DeviceKind::Fuse) {
        verdict.tripTime = std::string(settings.TimePP == FuseTime::Within5s ? kTimeOver5s : kTimeOver04s);
      }
    } else {
      verdict.status = kStatusNoCurrent;
    }
  }
  return verdict;
}

void ResetDevice(DeviceSettings& settings) { settings.TokSR = -1; }

}  // namespace tesmir
