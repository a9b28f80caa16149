#include "widgets/device_status_view.h"

#include <QLabel>
#include <QString>

namespace tesmir {

void ShowDeviceTexts(const DeviceStatusView& view, const DeviceTexts& texts) {
  const std::pair<QLabel*, const QString*> shown[] = {{view.mainStatus, &texts.status},
                                                      {view.resultStatus, &texts.status},
                                                      {view.type, &texts.type},
                                                      {view.toknom, &texts.toknom},
                                                      {view.kz, &texts.kz},
                                                      {view.tokSR, &texts.tokSR},
                                                      {view.timeSR, &texts.timeSR}};
  for (const auto& [label, text] : shown) {
    if (label != nullptr) label->setText(*text);
  }
}

void AlertDeviceDefence(const SchemeState& scheme, const DeviceSettings& settings,
                        const std::optional<DeviceLabels>& accepted, const DeviceStatusView& view) {
  ShowDeviceTexts(view, MakeDeviceTexts(settings, accepted, scheme.Iokz));
}

}  // namespace tesmir
