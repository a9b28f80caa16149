#pragma once
// Accepting the protective device described in the device dialog, judging it
// against the single-phase fault current, and forgetting it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/display_format.h"
#include "core/result.h"
#include "device/device_lists.h"
#include "device/device_settings.h"

namespace tesmir {

// Messages of the device dialog.
inline constexpr std::string_view kMsgUnknownFuseTypeInList = "Неизвестный тип предохранителя";
inline constexpr std::string_view kMsgBadBreakerRatedCurrent =
    "Неверная величина номинального тока расцепителя автоматического выключателя";
inline constexpr std::string_view kMsgBadReleaseMultiple = "Неверная величина коэффициента независимого расцепителя";
inline constexpr std::string_view kMsgBadReleaseCurrent = "Неверная величина тока независимого расцепителя";
inline constexpr std::string_view kMsgBadBreakerSafetyFactor =
    "Неверная величина коэффициента запаса автоматического выключателя";
inline constexpr std::string_view kMsgBadFuseRatedCurrent = "Неверная величина тока плавкой вставки предохранителя";
inline constexpr std::string_view kMsgBadFuseSafetyFactor =
    "Неверная величина коэффициента запаса плавкой вставки предохранителя";
inline constexpr std::string_view kMsgBadTripTime = "Неправильно указано время срабатывания";
inline constexpr std::string_view kMsgBadFuseType = "Неправильно указан тип предохранителя";
inline constexpr std::string_view kMsgUnknownFuseRating = "Неизвестный номинальный ток плавкой вставки предохранителя.";

// The fuse time classes, and the trip-time texts of a verdict.
inline constexpr std::string_view kTime5s = "Тср < 5 с";
inline constexpr std::string_view kTime04s = "Тср < 0,4 с";
inline constexpr std::string_view kTimeOver5s = "Тср > 5 с";
inline constexpr std::string_view kTimeOver04s = "Тср > 0,4 с";

// The device type text of a circuit breaker (the longest type text).
inline constexpr std::string_view kBreakerTypeText = "Автоматический выключатель";

// Device status texts.
inline constexpr std::string_view kStatusTrips = "Срабатывание за нормативное время";
inline constexpr std::string_view kStatusDoesNotTrip = "Несрабатывание за нормативное время";
inline constexpr std::string_view kStatusNotDefined = "В расчете не определен";
inline constexpr std::string_view kStatusNoCurrent = "Выполните расчет тока однофазного короткого замыкания";

// The text of each device value when no device is shown.
inline constexpr std::string_view kNoDeviceValue = kNoValueText;

// The rating texts offered for a fuse type text; fails with
// kMsgUnknownFuseTypeInList for an unknown type.
Result<std::vector<std::string>> FuseRatingTexts(std::string_view typeText);

// What the device dialog holds when "Да" is pressed.
struct DeviceDialogInput {
  bool breaker = true;               // the circuit breaker is chosen, else the fuse
  bool releaseCurrentGiven = false;  // tokNR holds a release current in A, not a multiple
  std::string tokAVnom;              // breaker rated current
  std::string tokNR;                 // multiple or release current
  std::string kzAV;                  // breaker safety factor
  std::string typePP;                // fuse type
  std::string tokPP;                 // fuse rated current
  std::string kzPP;                  // fuse safety factor
  std::string timePP;                // fuse time class
  bool operator==(const DeviceDialogInput&) const = default;
};

// The texts that describe an accepted device.
struct DeviceLabels {
  std::string type;    // device type
  std::string toknom;  // rated current
  std::string kz;      // safety factor
  std::string tokSR;   // trip current
  bool operator==(const DeviceLabels&) const = default;
};

// Success: the texts describing the accepted device. Failure: the message.
using AcceptOutcome = Result<DeviceLabels>;

// Reads and checks everything in the dialog's order; the settings are written
// only when every check passes, except that an unrecognised fuse type sets
// TokSR to 0 so that no stale device is judged. `seps` are the separators for
// the trip current text.
AcceptOutcome AcceptDevice(const DeviceDialogInput& input, DeviceSettings& settings, const NumberSeparators& seps);

// The verdict on a device against a fault current `iokz` (A, unrounded).
struct DeviceVerdict {
  std::string status;                   // device status, the same text wherever it is shown
  std::optional<std::string> tripTime;  // trip-time text; nullopt keeps the one shown
  bool operator==(const DeviceVerdict&) const = default;
};

DeviceVerdict JudgeDevice(double iokz, const DeviceSettings& settings);

// Forgets the device: TokSR := -1; every other field stays.
void ResetDevice(DeviceSettings& settings);

}  // namespace tesmir
