#pragma once
// Accepting the protective device described in the device dialog, judging it
// against the single-phase fault current, and forgetting it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/display_format.h"
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

// Time class texts of the fuse time list and of the trip-time label.
inline constexpr std::string_view kTime5s = "Тср < 5 с";
inline constexpr std::string_view kTime04s = "Тср < 0,4 с";
inline constexpr std::string_view kTimeOver5s = "Тср > 5 с";
inline constexpr std::string_view kTimeOver04s = "Тср > 0,4 с";

// Device status texts.
inline constexpr std::string_view kStatusTrips = "Срабатывание за нормативное время";
inline constexpr std::string_view kStatusDoesNotTrip = "Несрабатывание за нормативное время";
inline constexpr std::string_view kStatusNotDefined = "В расчете не определен";
inline constexpr std::string_view kStatusNoCurrent = "Выполните расчет тока однофазного короткого замыкания";

// Text of the results window's device value labels when no device is shown.
inline constexpr std::string_view kNoDeviceValue = "---";

// Rating text set when the fuse type changes to a known type, and when it
// changes to an unknown one (the rating list is then emptied).
inline constexpr std::string_view kDefaultFuseRating = "63";
inline constexpr std::string_view kUnknownTypeFuseRating = "0";

// The rating texts offered for a fuse type text; nullopt for an unknown type.
std::optional<std::vector<std::string>> FuseRatingTexts(std::string_view typeText);

// What the device dialog holds when "Да" is pressed.
struct DeviceDialogInput {
  bool breaker = true;             // AVRadioButton checked, else the fuse
  bool releaseCurrentGiven = false;  // TokNRCheckBox: TokNR holds a current, not a multiple
  std::string tokAVnom;  // breaker rated current
  std::string tokNR;     // multiple or release current
  std::string kzAV;      // breaker safety factor
  std::string typePP;    // fuse type
  std::string tokPP;     // fuse rated current
  std::string kzPP;      // fuse safety factor
  std::string timePP;    // fuse time class
};

// Texts of the results window's device value labels written on acceptance.
struct DeviceLabels {
  std::string type;    // TypeDDLabel
  std::string toknom;  // ToknomLabel
  std::string kz;      // KZLabel
  std::string tokSR;   // TokSRLabel
};

struct AcceptOutcome {
  bool ok = false;
  // Failure: the text of the one message box to show.
  std::string message;
  // Failure: the fuse type was not recognised; TokSR has been set to 0 so no
  // stale device is judged. Every other failure leaves the settings alone.
  bool fuseTypeRejected = false;
  // Success: the new texts of the device value labels.
  DeviceLabels labels;
};

// Reads and checks everything in the dialog's order; the settings are written
// only when every check passes (except TokSR for an unrecognised fuse type).
// `seps` are the separators for the trip current shown in TokSRLabel.
AcceptOutcome AcceptDevice(const DeviceDialogInput& input, DeviceSettings& settings, const NumberSeparators& seps);

// The verdict on a device against a fault current `iokz` (A, unrounded).
struct DeviceVerdict {
  std::string status;                   // for both StatusDDLabel labels
  std::optional<std::string> tripTime;  // for TimeSRLabel; nullopt leaves it unchanged
};

DeviceVerdict JudgeDevice(double iokz, const DeviceSettings& settings);

// Forgets the device: TokSR := -1; every other field stays.
void ResetDevice(DeviceSettings& settings);

}  // namespace tesmir
