#pragma once
// The labels that show the protective device: the main window's status line
// and the results window's device tab.

#include "core/loop_calc.h"
#include "device/device_settings.h"

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

// Judges the device against the last computed fault current and writes the
// verdict into both status labels, and the trip time when the verdict has one.
// Labels that are null are skipped.
void AlertDeviceDefence(const SchemeState& scheme, const DeviceSettings& settings, const DeviceStatusView& view);

}  // namespace tesmir
