#include "widgets/protection_check_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

#include "core/number_text.h"
#include "report/utf8_text.h"
#include "texts/locale_separators.h"
#include "widgets/button_keys.h"
#include "widgets/context_help.h"
#include "widgets/hints.h"
#include "widgets/message_sink.h"
#include "widgets/window_placement.h"
#include "widgets/window_style.h"

namespace tesmir {
namespace {

namespace hint {
const QString kTripCurrent = QStringLiteral("Ток срабатывания выбранного аппарата защиты Iср");
const QString kLastLine =
    QStringLiteral("Последняя по порядку линия с длиной больше 0: ее длина и сечение подбираются");
const QString kIokzMin =
    QStringLiteral("Ток однофазного КЗ при жилах, нагретых до 80 °C, и коэффициенте напряжения 0,95 (МЭК 60909-0)");
const QString kIokzMinStatus = QStringLiteral("Срабатывание аппарата защиты при минимальном токе однофазного КЗ");
const QString kLengthMax =
    QStringLiteral("Наибольшая длина последней линии, при которой ток однофазного КЗ не меньше тока срабатывания");
const QString kLengthMaxHot =
    QStringLiteral("Наибольшая длина последней линии по минимальному току однофазного КЗ (жилы нагреты)");
const QString kSectionMin =
    QStringLiteral("Наименьшее сечение жил последней линии, при котором аппарат срабатывает за нормативное время");
const QString kSectionMinHot =
    QStringLiteral("Наименьшее сечение жил последней линии по минимальному току однофазного КЗ (жилы нагреты)");
const QString kIk3Device =
    QStringLiteral("Наибольший ток трехфазного КЗ в начале линии 1, который должен отключить аппарат защиты");
const QString kIk3Point = QStringLiteral("Наибольший ток трехфазного КЗ в конце последней линии");
const QString kBreakingCapacity =
    QStringLiteral("Введите предельную отключающую способность аппарата защиты в кА (десятичная точка)");
const QString kBreakingStatus =
    QStringLiteral("Сравнение отключающей способности аппарата с наибольшим током трехфазного КЗ у аппарата");
}  // namespace hint

// A value label: white, sunken, wide enough for the longest text it can show.
QLabel* Value(const char* name, const QString& widest, QWidget* parent) {
  QLabel* label = style::ValueLabel(QLatin1String(name), QUtf8(check_texts::kDash), widest, false, parent);
  SetHelpContext(label, HelpTopic::kProtectionCheck);
  return label;
}

// The device's trip current and the section whose length and cross-section
// are chosen, as the window writes them.
FigureText TripCurrentText(const ProtectionCheckResult& result, const NumberSeparators& seps) {
  if (result.tripCurrent > 0) return {FormatG(result.tripCurrent, seps) + " А", {}};
  return {std::string(check_texts::kDash), std::string(check_texts::kWhyNoDevice)};
}

FigureText LastLineText(const ProtectionCheckResult& result) {
  if (result.lastLine > 0) return {"Линия " + std::to_string(result.lastLine), {}};
  return {std::string(check_texts::kDash), std::string(check_texts::kWhyNoLine)};
}

QLabel* Caption(const QString& text, QWidget* parent) {
  return style::Caption(text, QString(), style::kDarkRed, parent);
}

QGroupBox* Group(const char* name, const QString& title, QWidget* parent) {
  auto* group = new QGroupBox(title, parent);
  group->setObjectName(QLatin1String(name));
  return group;
}

}  // namespace

ProtectionCheckForm::ProtectionCheckForm(const SchemeState& scheme, const DeviceSettings& device, MessageSink& messages,
                                         QWidget* parent)
    : QDialog(parent), scheme_(scheme), device_(device), messages_(messages), separators_(SystemSeparators()) {
  setObjectName(QStringLiteral("ProtectionCheckForm"));
  setWindowTitle(QStringLiteral("Проверка защиты"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFont(style::BaseFont());
  SetHelpContext(this, HelpTopic::kProtectionCheck);
  buildControls();
  EnterClicksFocusedButtons(this);
  // Centred on the screen, whatever window opened it.
  KeepCentredOnScreen(this);
}

void ProtectionCheckForm::buildControls() {
  const QString widestVerdict = QUtf8(check_texts::kDoesNotTrip);
  const QString widestFigure = QUtf8(check_texts::kNoLength);

  QGroupBox* basis = Group("BasisGroupBox", QStringLiteral("Исходные данные"), this);
  auto* basisGrid = new QGridLayout(basis);
  tripCurrent_ = Value("TripCurrentLabel", QStringLiteral("99 999,99 А"), basis);
  lastLine_ = Value("LastLineLabel", QStringLiteral("Линия 6"), basis);
  basisGrid->addWidget(Caption(QStringLiteral("Ток срабатывания аппарата защиты:"), basis), 0, 0);
  basisGrid->addWidget(tripCurrent_, 0, 1);
  basisGrid->addWidget(Caption(QStringLiteral("Последняя линия:"), basis), 1, 0);
  basisGrid->addWidget(lastLine_, 1, 1);
  basisGrid->setColumnStretch(2, 1);

  QGroupBox* minimum =
      Group("IokzMinGroupBox", QStringLiteral("Ток однофазного КЗ при нагретых проводниках (минимальный)"), this);
  auto* minimumGrid = new QGridLayout(minimum);
  iokzMin_ = Value("IokzMinLabel", QStringLiteral("9999999 А"), minimum);
  iokzMinStatus_ = Value("IokzMinStatusLabel", widestVerdict, minimum);
  minimumGrid->addWidget(Caption(QStringLiteral("Iокз мин:"), minimum), 0, 0);
  minimumGrid->addWidget(iokzMin_, 0, 1);
  minimumGrid->addWidget(iokzMinStatus_, 0, 2);
  minimumGrid->setColumnStretch(2, 1);

  // Length and section side by side: by the result line and with heated conductors.
  QGroupBox* line =
      Group("LastLineGroupBox", QStringLiteral("Последняя линия: срабатывание аппарата за нормативное время"), this);
  auto* lineGrid = new QGridLayout(line);
  lengthMax_ = Value("LengthMaxLabel", widestFigure, line);
  lengthMaxHot_ = Value("LengthMaxHotLabel", widestFigure, line);
  sectionMin_ = Value("SectionMinLabel", widestFigure, line);
  sectionMinHot_ = Value("SectionMinHotLabel", widestFigure, line);
  for (const auto& [text, column] :
       {std::pair{QStringLiteral("по расчету Iокз"), 1}, std::pair{QStringLiteral("при нагретых проводниках"), 2}}) {
    QLabel* heading = new QLabel(text, line);
    heading->setAlignment(Qt::AlignCenter);
    lineGrid->addWidget(heading, 0, column);
  }
  lineGrid->addWidget(Caption(QStringLiteral("Наибольшая длина:"), line), 1, 0);
  lineGrid->addWidget(lengthMax_, 1, 1);
  lineGrid->addWidget(lengthMaxHot_, 1, 2);
  lineGrid->addWidget(Caption(QStringLiteral("Наименьшее сечение жил:"), line), 2, 0);
  lineGrid->addWidget(sectionMin_, 2, 1);
  lineGrid->addWidget(sectionMinHot_, 2, 2);

  QGroupBox* breaking = Group("Ik3GroupBox", QStringLiteral("Наибольший ток трехфазного КЗ"), this);
  auto* breakingGrid = new QGridLayout(breaking);
  ik3DeviceLabel_ = Value("Ik3DeviceLabel", QStringLiteral("99 999,99 кА"), breaking);
  ik3Point_ = Value("Ik3PointLabel", QStringLiteral("99 999,99 кА"), breaking);
  breakingCapacity_ = new QLineEdit(breaking);
  breakingCapacity_->setObjectName(QStringLiteral("BreakingCapacityEdit"));
  breakingCapacity_->setFixedWidth(breakingCapacity_->fontMetrics().horizontalAdvance(QStringLiteral("00000.00")) + 12);
  SetHelpContext(breakingCapacity_, HelpTopic::kProtectionCheck);
  breakingStatus_ = Value("BreakingStatusLabel", QUtf8(check_texts::kBreakingShort), breaking);
  breakingStatus_->clear();
  auto* capacityCaption = Caption(QStringLiteral("Отключающая способность аппарата, кА"), breaking);
  capacityCaption->setBuddy(breakingCapacity_);
  breakingGrid->addWidget(Caption(QStringLiteral("у аппарата (начало линии 1):"), breaking), 0, 0);
  breakingGrid->addWidget(ik3DeviceLabel_, 0, 1);
  breakingGrid->addWidget(Caption(QStringLiteral("в точке КЗ:"), breaking), 1, 0);
  breakingGrid->addWidget(ik3Point_, 1, 1);
  breakingGrid->addWidget(capacityCaption, 2, 0);
  auto* capacityRow = new QHBoxLayout;
  capacityRow->addWidget(breakingCapacity_);
  capacityRow->addWidget(breakingStatus_, 1);
  breakingGrid->addLayout(capacityRow, 2, 1, 1, 2);
  breakingGrid->setColumnStretch(2, 1);

  close_ = new QPushButton(QStringLiteral("Закрыть"), this);
  close_->setObjectName(QStringLiteral("CloseButton"));
  close_->setStatusTip(kCloseWindowHint);
  // Enter in the edit gives its verdict; it must not close the window.
  close_->setAutoDefault(false);
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(close_);
  buttons->addStretch(1);

  statusBar_ = new QStatusBar(this);
  statusBar_->setObjectName(QStringLiteral("ProtectionCheckStatusBar"));
  AttachHintBar(this, statusBar_);

  const std::pair<QWidget*, QString> hints[] = {{tripCurrent_, hint::kTripCurrent},
                                                {lastLine_, hint::kLastLine},
                                                {iokzMin_, hint::kIokzMin},
                                                {iokzMinStatus_, hint::kIokzMinStatus},
                                                {lengthMax_, hint::kLengthMax},
                                                {lengthMaxHot_, hint::kLengthMaxHot},
                                                {sectionMin_, hint::kSectionMin},
                                                {sectionMinHot_, hint::kSectionMinHot},
                                                {ik3DeviceLabel_, hint::kIk3Device},
                                                {ik3Point_, hint::kIk3Point},
                                                {breakingCapacity_, hint::kBreakingCapacity},
                                                {breakingStatus_, hint::kBreakingStatus}};
  // The status bar is wide enough for the longest hint or reason it can show.
  int widestTip = 0;
  for (const auto& [widget, tip] : hints) {
    widget->setStatusTip(tip);
    widestTip = std::max(widestTip, statusBar_->fontMetrics().horizontalAdvance(tip));
  }
  for (std::string_view reason : {check_texts::kWhyNoCalculation, check_texts::kWhyNoDevice, check_texts::kWhyNoLine,
                                  check_texts::kWhyNoConductor, check_texts::kWhyBusbar, check_texts::kWhySinglePhase,
                                  check_texts::kWhyNoTriangleStar, check_texts::kWhyNoIk3}) {
    widestTip = std::max(widestTip, statusBar_->fontMetrics().horizontalAdvance(QUtf8(reason)));
  }
  statusBar_->setMinimumWidth(widestTip + 24);

  auto* content = new QVBoxLayout;
  content->setContentsMargins(10, 10, 10, 8);
  content->setSpacing(8);
  for (QWidget* group : std::initializer_list<QWidget*>{basis, minimum, line, breaking}) {
    content->addWidget(group);
  }
  content->addLayout(buttons);

  style::SetDialogLayout(this, content, statusBar_);

  connect(breakingCapacity_, &QLineEdit::textChanged, this, &ProtectionCheckForm::BreakingCapacityEditChange);
  connect(breakingCapacity_, &QLineEdit::editingFinished, this, &ProtectionCheckForm::BreakingCapacityEditExit);
}

void ProtectionCheckForm::showFigure(QLabel* label, const FigureText& figure, const QString& hint) {
  label->setText(QUtf8(figure.text));
  // A figure that cannot be given says why where its hint would be.
  label->setStatusTip(figure.reason.empty() ? hint : QUtf8(figure.reason));
}

void ProtectionCheckForm::refresh() {
  const ProtectionCheckResult result = CheckProtection(scheme_, device_);
  const ProtectionCheckTexts texts = FormatProtectionCheck(result, separators_);
  ik3Device_ = result.ik3Device;

  showFigure(tripCurrent_, TripCurrentText(result, separators_), hint::kTripCurrent);
  showFigure(lastLine_, LastLineText(result), hint::kLastLine);
  showFigure(iokzMin_, texts.iokzMin, hint::kIokzMin);
  iokzMinStatus_->setText(QUtf8(texts.iokzMinStatus));
  showFigure(lengthMax_, texts.lengthMax, hint::kLengthMax);
  showFigure(lengthMaxHot_, texts.lengthMaxHot, hint::kLengthMaxHot);
  showFigure(sectionMin_, texts.sectionMin, hint::kSectionMin);
  showFigure(sectionMinHot_, texts.sectionMinHot, hint::kSectionMinHot);
  showFigure(ik3DeviceLabel_, texts.ik3Device, hint::kIk3Device);
  showFigure(ik3Point_, texts.ik3Point, hint::kIk3Point);
  // The capacity typed earlier is judged against the new current.
  BreakingCapacityEditChange();
  badTextReported_ = true;  // a bad text left from before was already reported
}

std::vector<std::pair<QString, QString>> ProtectionCheckForm::noteFigures() const {
  const ProtectionCheckResult result = CheckProtection(scheme_, device_);
  const ProtectionCheckTexts texts = FormatProtectionCheck(result, separators_);
  // On paper there is no status bar: the reason stands beside the dash.
  const auto shown = [](const FigureText& figure) {
    return figure.reason.empty() ? QUtf8(figure.text)
                                 : QUtf8(figure.text) + QStringLiteral(" (") + QUtf8(figure.reason) + u')';
  };
  std::vector<std::pair<QString, QString>> rows = {
      {QStringLiteral("Ток срабатывания аппарата защиты:"), shown(TripCurrentText(result, separators_))},
      {QStringLiteral("Последняя линия:"), shown(LastLineText(result))},
      {QStringLiteral("Ток однофазного КЗ при нагретых проводниках (минимальный), Iокз мин:"), shown(texts.iokzMin)},
      {QStringLiteral("Срабатывание аппарата при Iокз мин:"), QUtf8(texts.iokzMinStatus)},
      {QStringLiteral("Наибольшая длина последней линии по расчету Iокз:"), shown(texts.lengthMax)},
      {QStringLiteral("Наибольшая длина последней линии при нагретых проводниках:"), shown(texts.lengthMaxHot)},
      {QStringLiteral("Наименьшее сечение жил последней линии по расчету Iокз:"), shown(texts.sectionMin)},
      {QStringLiteral("Наименьшее сечение жил последней линии при нагретых проводниках:"), shown(texts.sectionMinHot)},
      {QStringLiteral("Наибольший ток трехфазного КЗ у аппарата (начало линии 1):"), shown(texts.ik3Device)},
      {QStringLiteral("Наибольший ток трехфазного КЗ в точке КЗ:"), shown(texts.ik3Point)},
  };
  const std::string typed = breakingCapacity_->text().toStdString();
  const BreakingVerdict verdict = JudgeBreakingCapacity(typed, result.ik3Device);
  if (!verdict.status.empty()) {
    // Judged, so the text is a positive number.
    rows.emplace_back(QStringLiteral("Отключающая способность аппарата:"),
                      QUtf8(FormatG(ParseDecimal(typed).value_or(0), separators_)) + QStringLiteral(" кА"));
    rows.emplace_back(QStringLiteral("Проверка отключающей способности:"), shown({verdict.status, verdict.reason}));
  }
  return rows;
}

QString ProtectionCheckForm::breakingCapacity() const { return breakingCapacity_->text(); }

void ProtectionCheckForm::setBreakingCapacity(const QString& text) {
  breakingCapacity_->setText(text);
  badTextReported_ = true;  // not typed: no message for a bad text from a file
}

void ProtectionCheckForm::BreakingCapacityEditChange() {
  badTextReported_ = false;
  const BreakingVerdict verdict = JudgeBreakingCapacity(breakingCapacity_->text().toStdString(), ik3Device_);
  breakingStatus_->setText(QUtf8(verdict.status));
  breakingStatus_->setStatusTip(verdict.reason.empty() ? hint::kBreakingStatus : QUtf8(verdict.reason));
}

void ProtectionCheckForm::BreakingCapacityEditExit() {
  const BreakingVerdict verdict = JudgeBreakingCapacity(breakingCapacity_->text().toStdString(), ik3Device_);
  // Once per bad text: Enter and then leaving the edit do not say it twice.
  if (!verdict.message.empty() && !badTextReported_) {
    badTextReported_ = true;
    messages_.inform(this, QUtf8(verdict.message));
  }
}

void ProtectionCheckForm::showEvent(QShowEvent* event) {
  refresh();
  QDialog::showEvent(event);
}

}  // namespace tesmir
