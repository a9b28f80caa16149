#pragma once
// The texts the results window shows for one calculation. The window, the
// calculation note and the feeder picture all take their numbers from here,
// so a number reads the same wherever it appears.

#include <QString>
#include <array>
#include <optional>

#include "core/display_format.h"
#include "core/loop_calc.h"
#include "device/device_check.h"
#include "device/device_settings.h"

namespace tesmir {

struct ResultTexts {
  QString power;     // the power text as typed
  QString st;        // "Sном=" + power as typed + " кВ*А"
  QString windKind;  // scheme as typed
  QString rt, xt, zt;
  std::array<QString, kLineCount> rLine, xLine, zLine;
  QString rLineSum, xLineSum, zLineSum;
  QString rother;
  QString rsum, xsum, zsum;
  QString iokzrez;  // the main window's result line
};

// Units shown after the loop values.
inline const QString kOhmUnit = QStringLiteral(" мОм");

// Captions the results window and the calculation note both show.
namespace result_captions {
inline const QString kTransPower = QStringLiteral("Номинальная мощность:");
inline const QString kWindKind = QStringLiteral("Схема соединения обмоток:");
inline const QString kActive = QStringLiteral("активное:");
inline const QString kInductive = QStringLiteral("индуктивное:");
inline const QString kFull = QStringLiteral("полное:");
inline const QString kLineResistance = QStringLiteral("Сопротивление линии");
inline const QString kLineNumber = QStringLiteral("Линия %1:");  // %1: 1..6
inline const QString kLineSum = QStringLiteral("Суммарное:");
}  // namespace result_captions

ResultTexts MakeResultTexts(const SchemeState& scheme, const QString& powerText, const QString& windKindText,
                            const QString& resultLine, const NumberSeparators& seps);

// The texts of the device tab as the results window shows them, and the kind
// of the device they describe (None while no device is defined).
struct DeviceTexts {
  QString type, toknom, kz, tokSR, timeSR, status;
  DeviceKind kind = DeviceKind::None;
  bool operator==(const DeviceTexts&) const = default;
};

// The device texts of the accepted device judged against the fault current
// `iokz`: "---" everywhere with the status "В расчете не определен" while the
// settings hold no trip current (after "Сброс", or after a refusal that forgot
// it), whatever the labels of an earlier acceptance say.
DeviceTexts MakeDeviceTexts(const DeviceSettings& settings, const std::optional<DeviceLabels>& accepted, double iokz);

// The captions of the device texts, in the order of DeviceTexts.
inline const std::array<QString, 6> kDeviceCaptions = {
    QStringLiteral("Тип аппарата защиты:"), QStringLiteral("Номинальный ток:"),
    QStringLiteral("Коэффициент запаса:"),  QStringLiteral("Ток срабатывания:"),
    QStringLiteral("Время срабатывания:"),  QStringLiteral("Состояние:")};

// Number texts the results window does not show but the note and the picture
// need, in the same formats: F2 for ohms, G for inputs, the current as digits.
QString OhmText(double value, const NumberSeparators& seps);    // F2
QString PlainText(double value, const NumberSeparators& seps);  // G
QString CurrentText(double amperes);                            // whole amperes

}  // namespace tesmir
