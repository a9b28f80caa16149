#include "device/device_check.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "core/number_text.h"
#include "device/fuse_characteristic.h"

namespace tesmir {
namespace {

AcceptOutcome Fail(std::string_view message) {
  AcceptOutcome outcome;
  outcome.message = std::string(message);
  return outcome;
}

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
  next.KindDD = 1;

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

  AcceptOutcome outcome;
  outcome.ok = true;
  outcome.labels.type = "Автоматический выключатель";
  outcome.labels.toknom = RatedCurrentLabel(input.tokAVnom);
  outcome.labels.kz = "Кз=" + input.kzAV;  // Cyrillic К
  return outcome;
}

AcceptOutcome AcceptFuse(const DeviceDialogInput& input, DeviceSettings& next) {
  next.KindDD = 2;

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
  const std::optional<std::int32_t> type = FuseTypeCode(input.typePP);

  if (input.timePP == kTime5s) {
    next.TimePP = 1;
  } else if (input.timePP == kTime04s) {
    next.TimePP = 2;
  } else {
    return Fail(kMsgBadTripTime);
  }

  if (!type) {
    AcceptOutcome outcome = Fail(kMsgBadFuseType);
    outcome.fuseTypeRejected = true;
    return outcome;
  }
  next.TypePP = *type;

  const std::optional<std::int32_t> key = RatingKey(next.TokPP);
  const FuseRating* rating = key ? FindFuseRating(next.TypePP, *key) : nullptr;
  if (rating == nullptr) {
    return Fail(kMsgUnknownFuseRating);
  }
  next.TokSR = FuseTripCurrent(*rating, next.TimePP) * *safety;

  AcceptOutcome outcome;
  outcome.ok = true;
  outcome.labels.type = "Плавкий предохранитель (" + input.typePP + ")";
  outcome.labels.toknom = RatedCurrentLabel(input.tokPP);
  outcome.labels.kz = "Kз=" + input.kzPP;  // Latin K
  return outcome;
}

}  // namespace

std::optional<std::vector<std::string>> FuseRatingTexts(std::string_view typeText) {
  const std::optional<std::int32_t> type = FuseTypeCode(typeText);
  if (!type) {
    return std::nullopt;
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
  if (!outcome.ok) {
    if (outcome.fuseTypeRejected) {
      settings.TokSR = 0;
    }
    return outcome;
  }
  outcome.labels.tokSR = "Iср=" + FormatG(next.TokSR, seps) + " А";
  settings = next;
  return outcome;
}

DeviceVerdict JudgeDevice(double iokz, const DeviceSettings& settings) {
  const double trip = settings.TokSR;
  DeviceVerdict verdict;
  if (iokz >= trip) {
    if (trip > 0) {
      verdict.status = kStatusTrips;
      if (settings.KindDD == 1) {
        verdict.tripTime = std::string(kTime04s);
      } else if (settings.KindDD == 2) {
        verdict.tripTime = std::string(settings.TimePP == 1 ? kTime5s : kTime04s);
      }
    } else {
      verdict.status = kStatusNotDefined;
    }
  } else {
    if (iokz > 0) {
      verdict.status = kStatusDoesNotTrip;
      if (settings.KindDD == 1) {
        verdict.tripTime = std::string(kTimeOver04s);
      } else if (settings.KindDD == 2) {
        verdict.tripTime = std::string(settings.TimePP == 1 ? kTimeOver5s : kTimeOver04s);
      }
    } else {
      verdict.status = kStatusNoCurrent;
    }
  }
  return verdict;
}

void ResetDevice(DeviceSettings& settings) { settings.TokSR = -1; }

}  // namespace tesmir
