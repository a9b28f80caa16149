#pragma once
// The labels that show the protective device: the main window's status line
// and the results window's device tab.

#include <optional>

#include "core/loop_calc.h"
#include "device/device_check.h"
#include "device/device_settings.h"
#include "texts/result_texts.h"

class QLabel;

namespace tesmir {

struct DeviceStatusView {
  QLabel* mainStatus = nullptr;    // main window, StatusDDLabel
  QLabel* resultStatus = nullptr;  // results window, StatusDDLabel
  QLabel* type = nullptr;          // results window, TypeDDLabel
  QLabel* toknom = nullptr;        // results window, ToknomLabel
  QLabel* kz = nullptr;            // results window, KZLabel
  QLabel* tokSR = nullptr;         // results window, TokSRLabel
  QLabel* timeSR = nullptr;        // results window, TimeSRLabel
};

// Writes the device texts into every label; labels that are null are skipped.
void ShowDeviceTexts(const DeviceStatusView& view, const DeviceTexts& texts);

// Judges the device against the last computed fault current and shows what
// the settings hold: the accepted device's texts with the verdict and trip
// time, or "---" and "В расчете не определен" while no device is defined.
void AlertDeviceDefence(const SchemeState& scheme, const DeviceSettings& settings,
                        const std::optional<DeviceLabels>& accepted, const DeviceStatusView& view);

}  // namespace tesmir
