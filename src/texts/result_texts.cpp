#include "texts/result_texts.h"

#include "report/utf8_text.h"

namespace tesmir {

QString OhmText(double value, const NumberSeparators& seps) { return QUtf8(FormatF2(value, seps)); }
QString PlainText(double value, const NumberSeparators& seps) { return QUtf8(FormatG(value, seps)); }
QString CurrentText(double amperes) { return QUtf8(FormatCurrent(amperes)); }

ResultTexts MakeResultTexts(const SchemeState& scheme, const QString& powerText, const QString& windKindText,
                            const QString& resultLine, const NumberSeparators& seps) {
  const auto ohm = [](const QString& prefix, const std::string& value) { return prefix + QUtf8(value) + kOhmUnit; };
  ResultTexts t;
  t.power = powerText;
  t.st = QStringLiteral("Sном=") + powerText + QStringLiteral(" кВ*А");
  t.windKind = windKindText;
  t.rt = ohm(QStringLiteral("Rт="), FormatG(scheme.Rt, seps));
  t.xt = ohm(QStringLiteral("Xт="), FormatG(scheme.Xt, seps));
  t.zt = ohm(QStringLiteral("Zт="), FormatF2(scheme.Zt, seps));
  for (int i = 0; i < kLineCount; ++i) {
    const LineSegment& seg = scheme.Lines[LineIndex(i)];
    t.rLine[LineIndex(i)] = QUtf8(FormatF2(seg.RLine, seps));
    t.xLine[LineIndex(i)] = QUtf8(FormatF2(seg.XLine, seps));
    t.zLine[LineIndex(i)] = QUtf8(FormatF2(seg.ZLine, seps));
  }
  t.rLineSum = QUtf8(FormatF2(scheme.RLineSum, seps));
  t.xLineSum = QUtf8(FormatF2(scheme.XLineSum, seps));
  t.zLineSum = QUtf8(FormatF2(scheme.ZLineSum, seps));
  t.rother = ohm(QStringLiteral("Rпр="), FormatF0(scheme.RArc, seps));
  t.rsum = ohm(QStringLiteral("Rф-н="), FormatF2(scheme.Rsum, seps));
  t.xsum = ohm(QStringLiteral("Xф-н="), FormatF2(scheme.Xsum, seps));
  t.zsum = ohm(QStringLiteral("Zф-н="), FormatF2(scheme.Zsum, seps));
  t.iokzrez = resultLine;
  return t;
}

DeviceTexts MakeDeviceTexts(const DeviceSettings& settings, const std::optional<DeviceLabels>& accepted, double iokz) {
  const QString none = QUtf8(kNoDeviceValue);
  DeviceTexts t{none, none, none, none, none, {}, DeviceKind::None};
  const DeviceVerdict verdict = JudgeDevice(iokz, settings);
  t.status = QUtf8(verdict.status);
  if (settings.TokSR <= 0 || !accepted) {
    return t;
  }
  t.type = QUtf8(accepted->type);
  t.toknom = QUtf8(accepted->toknom);
  t.kz = QUtf8(accepted->kz);
  t.tokSR = QUtf8(accepted->tokSR);
  if (verdict.tripTime) t.timeSR = QUtf8(*verdict.tripTime);
  t.kind = settings.KindDD;
  return t;
}

}  // namespace tesmir
