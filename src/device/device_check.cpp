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

AcceptOutcome AcceptBreaker(const DeviceDialogInput& input, DeviceSettings& next) {
  next.KindDD = DeviceKind::Breaker;

  const std::optional<double> rated = ParseDecimal(input.tokAVnom);
  if (!rated || *rated < 0) {
    return Fail(kMsgBadBreakerRatedCurrent);
  }
  next.TokAVnom = *rated;

  if (!input.releaseCurrentGiven) {
    const double multiple = LeadingNumber(input.tokNR);
    if (!(multiple > 0)) {
      return Fail(kMsgBadReleaseMultiple);
    }
    next.KNR = multiple;
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

  next.TokSR = input.releaseCurrentGiven ? next.TokNR * next.KZAV : next.TokAVnom * next.KNR * next.KZAV;

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
  next.TokSR = FuseTripCurrent(*rating, next.TimePP) * *safety;

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
