#include "widgets/device_status_view.h"

#include <QLabel>
#include <QString>

#include "device/device_check.h"

namespace tesmir {

void AlertDeviceDefence(const SchemeState& scheme, const DeviceSettings& settings, const DeviceStatusView& view) {
  const DeviceVerdict verdict = JudgeDevice(scheme.Iokz, settings);
  const QString status = QString::fromStdString(verdict.status);
  for (QLabel* label : {view.mainStatus, view.resultStatus}) {
    if (label != nullptr) {
      label->setText(status);
    }
  }
  if (verdict.tripTime && view.timeSR != nullptr) {
    view.timeSR->setText(QString::fromStdString(*verdict.tripTime));
  }
}

}  // namespace tesmir
