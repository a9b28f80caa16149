#include "widgets/device_defence_form.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStringList>
#include <QVBoxLayout>

#include <cstddef>
#include <string_view>

#include "device/fuse_characteristic.h"
#include "report/utf8_text.h"
#include "texts/locale_separators.h"
#include "widgets/button_keys.h"
#include "widgets/context_help.h"
#include "widgets/editable_list.h"
#include "widgets/hints.h"
#include "widgets/message_sink.h"
#include "widgets/window_placement.h"
#include "widgets/window_style.h"

namespace tesmir {
namespace {

// An editable list that keeps exactly what the user types: no completion and
// no items added by Enter.
QComboBox* MakeList(QWidget* parent, const char* name, const QStringList& items, const QString& text,
                    const QString& hint, int minimumChars) {
  QComboBox* box = EditableList(QLatin1String(name), items, text, hint, parent);
  box->setMaxVisibleItems(15);
  box->setMinimumContentsLength(minimumChars);
  box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  SetHelpContext(box, HelpTopic::kDevice);
  return box;
}

QLabel* MakeCaption(QWidget* parent, const char* name, const QString& text, QWidget* buddy) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

DeviceDefenceForm::DeviceDefenceForm(DeviceSettings& settings, const SchemeState& scheme, MessageSink& messages,
                                     QWidget* parent)
    : QDialog(parent), settings_(settings), scheme_(scheme), messages_(messages) {
  setObjectName("DeviceDefenceForm");
  setWindowTitle(QStringLiteral("Аппарат защиты"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  SetHelpContext(this, HelpTopic::kDevice);
  buildControls();
  EnterClicksFocusedButtons(this);
  KeepCentredOnScreen(this);
}

void DeviceDefenceForm::buildControls() {
  avRadio_ = new QRadioButton(QStringLiteral("Автоматический выключатель"), this);
  avRadio_->setObjectName("AVRadioButton");
  avRadio_->setStatusTip(QStringLiteral("Переключатель на выбор автоматического выключателя"));
  avRadio_->setChecked(true);
  SetHelpContext(avRadio_, HelpTopic::kDevice);

  tokAVnom_ = MakeList(this, "TokAVnomComboBox", ListOf(kBreakerRatings), QUtf8(kDefaultBreakerRating),
                       QStringLiteral("Введите номинальный ток выключателя"), 6);
  tokNR_ = MakeList(this, "TokNRComboBox", ListOf(kStartMultiples), QUtf8(kDefaultMultiple),
                    QStringLiteral("Введите коэффициент отсечки или ток срабатывания отсечки"), 8);
  kzAV_ = MakeList(this, "KZAVComboBox", ListOf(kSafetyFactors), QUtf8(kDefaultSafetyFactor),
                   QStringLiteral("Введите коэффициент запаса"), 6);

  tokNRCheck_ = new QCheckBox(QStringLiteral("Указан ток срабатывания независимого расцепителя, А"), this);
  tokNRCheck_->setObjectName("TokNRCheckBox");
  tokNRCheck_->setStatusTip(QStringLiteral("Включение/выключение опции ввода тока срабатывания отсечки"));
  SetHelpContext(tokNRCheck_, HelpTopic::kDevice);

  ppRadio_ = new QRadioButton(QStringLiteral("Плавкий предохранитель"), this);
  ppRadio_->setObjectName("PPRadioButton");
  ppRadio_->setStatusTip(QStringLiteral("Переключатель на выбор плавкого предохранителя"));
  SetHelpContext(ppRadio_, HelpTopic::kDevice);

  kindGroup_ = new QButtonGroup(this);
  kindGroup_->setExclusive(true);
  kindGroup_->addButton(avRadio_, 1);
  kindGroup_->addButton(ppRadio_, 2);

  typePP_ = MakeList(this, "TypePPComboBox", {QUtf8(kFuseTypePPN), QUtf8(kFuseTypePN2), QUtf8(kFuseTypeNPN)},
                     QUtf8(kFuseTypePPN), QStringLiteral("Введите тип предохранителя"), 6);
  tokPP_ = MakeList(this, "TokPPComboBox", ListOf(*FuseRatingTexts(kFuseTypePPN)), QUtf8(kDefaultFuseRating),
                    QStringLiteral("Введите номинальный ток вставки"), 6);
  kzPP_ = MakeList(this, "KZPPComboBox", ListOf(kSafetyFactors), QUtf8(kDefaultSafetyFactor),
                   QStringLiteral("Введите коэффициент запаса"), 6);
  timePP_ = MakeList(this, "TimePPComboBox", {QUtf8(kTime5s), QUtf8(kTime04s)}, QUtf8(kTime5s),
                     QStringLiteral("Введите нормируемое время срабатывания вставки"), 11);

  breakerCaptions_ = {
      MakeCaption(this, "TokAVnomLabel", QStringLiteral("Номинальный\nток, А"), tokAVnom_),
      MakeCaption(this, "TokNRLabel", QStringLiteral("Коэффициент\nнезависимого\nрасцепителя"), tokNR_),
      MakeCaption(this, "KZAVLabel", QStringLiteral("Коэффициент\nзапаса"), kzAV_),
  };
  fuseCaptions_ = {
      MakeCaption(this, "TypePPLabel", QStringLiteral("Тип\nпредохранителя"), typePP_),
      MakeCaption(this, "TokPPLabel", QStringLiteral("Номинальный\nток, А"), tokPP_),
      MakeCaption(this, "KZPPLabel", QStringLiteral("Коэффициент\nзапаса"), kzPP_),
      MakeCaption(this, "TimePPLabel", QStringLiteral("Время\nсрабатывания"), timePP_),
  };

  okButton_ = new QPushButton(QStringLiteral("Да"), this);
  okButton_->setObjectName("OKDDBitBtn");
  okButton_->setStatusTip(QStringLiteral("Подтверждение ввода данных"));
  okButton_->setDefault(true);
  cancelButton_ = new QPushButton(QStringLiteral("Отмена"), this);
  cancelButton_->setObjectName("BitBtn2");
  cancelButton_->setStatusTip(QStringLiteral("Отмена ввода данных"));
  resetButton_ = new QPushButton(QStringLiteral("Сброс"), this);
  resetButton_->setObjectName("BitBtn3");
  resetButton_->setStatusTip(QStringLiteral("Сброс ввода данных"));

  statusBar_ = new QStatusBar(this);
  statusBar_->setObjectName("DeviceDefenceStatusBar");
  AttachHintBar(this, statusBar_);

  // The breaker: its radio button, then its three lists in a row and the check box.
  constexpr int kIndent = 24;
  auto* breakerGrid = new QGridLayout;
  breakerGrid->setHorizontalSpacing(12);
  breakerGrid->setColumnMinimumWidth(0, kIndent);
  breakerGrid->addWidget(avRadio_, 0, 0, 1, 5);
  breakerGrid->addWidget(breakerCaptions_[0], 1, 1);
  breakerGrid->addWidget(breakerCaptions_[1], 1, 2);
  breakerGrid->addWidget(breakerCaptions_[2], 1, 3);
  breakerGrid->addWidget(tokAVnom_, 2, 1);
  breakerGrid->addWidget(tokNR_, 2, 2);
  breakerGrid->addWidget(kzAV_, 2, 3);
  breakerGrid->addWidget(tokNRCheck_, 3, 1, 1, 4);
  breakerGrid->setColumnStretch(4, 1);

  // The fuse: its radio button, then its four lists in a row.
  auto* fuseGrid = new QGridLayout;
  fuseGrid->setHorizontalSpacing(12);
  fuseGrid->setColumnMinimumWidth(0, kIndent);
  fuseGrid->addWidget(ppRadio_, 0, 0, 1, 6);
  for (int i = 0; i < fuseCaptions_.size(); ++i) {
    fuseGrid->addWidget(fuseCaptions_[i], 1, i + 1);
  }
  fuseGrid->addWidget(typePP_, 2, 1);
  fuseGrid->addWidget(tokPP_, 2, 2);
  fuseGrid->addWidget(kzPP_, 2, 3);
  fuseGrid->addWidget(timePP_, 2, 4);
  fuseGrid->setColumnStretch(5, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(okButton_);
  buttons->addWidget(cancelButton_);
  buttons->addWidget(resetButton_);
  buttons->addStretch(1);

  auto* content = new QVBoxLayout;
  content->setContentsMargins(12, 12, 12, 8);
  content->addLayout(breakerGrid);
  content->addSpacing(12);
  content->addLayout(fuseGrid);
  content->addSpacing(16);
  content->addLayout(buttons);

  style::SetDialogLayout(this, content, statusBar_);

  setFuseGroupEnabled(false);
  setBreakerGroupEnabled(true);

  connect(okButton_, &QPushButton::clicked, this, &DeviceDefenceForm::OKDDBitBtnClick);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
  connect(resetButton_, &QPushButton::clicked, this, &DeviceDefenceForm::BitBtn3Click);
  connect(avRadio_, &QRadioButton::toggled, this, [this](bool checked) {
    if (checked) AVRadioButtonClick();
  });
  connect(ppRadio_, &QRadioButton::toggled, this, [this](bool checked) {
    if (checked) PPRadioButtonClick();
  });
  connect(tokNRCheck_, &QCheckBox::toggled, this, &DeviceDefenceForm::TokNRCheckBoxClick);
  // Every change of the type text, picked or typed, refills the rating list.
  connect(typePP_, &QComboBox::editTextChanged, this, &DeviceDefenceForm::TypePPComboBoxChange);
}

void DeviceDefenceForm::setStatusView(const DeviceStatusView& view) { view_ = view; }

DeviceDialogInput DeviceDefenceForm::input() const {
  DeviceDialogInput in;
  in.breaker = avRadio_->isChecked();
  in.releaseCurrentGiven = tokNRCheck_->isChecked();
  in.tokAVnom = tokAVnom_->currentText().toStdString();
  in.tokNR = tokNR_->currentText().toStdString();
  in.kzAV = kzAV_->currentText().toStdString();
  in.typePP = typePP_->currentText().toStdString();
  in.tokPP = tokPP_->currentText().toStdString();
  in.kzPP = kzPP_->currentText().toStdString();
  in.timePP = timePP_->currentText().toStdString();
  return in;
}

void DeviceDefenceForm::setBreakerGroupEnabled(bool enabled) {
  for (QWidget* w : std::initializer_list<QWidget*>{tokAVnom_, tokNR_, tokNRCheck_, kzAV_}) {
    w->setEnabled(enabled);
  }
  for (QLabel* caption : breakerCaptions_) {
    caption->setEnabled(enabled);
  }
}

void DeviceDefenceForm::setFuseGroupEnabled(bool enabled) {
  for (QWidget* w : std::initializer_list<QWidget*>{typePP_, tokPP_, kzPP_, timePP_}) {
    w->setEnabled(enabled);
  }
  for (QLabel* caption : fuseCaptions_) {
    caption->setEnabled(enabled);
  }
}

void DeviceDefenceForm::AVRadioButtonClick() {
  setFuseGroupEnabled(false);
  setBreakerGroupEnabled(true);
}

void DeviceDefenceForm::PPRadioButtonClick() {
  setBreakerGroupEnabled(false);
  setFuseGroupEnabled(true);
}

void DeviceDefenceForm::TokNRCheckBoxClick() {
  if (tokNRCheck_->isChecked()) {
    // A current in amperes is typed instead of a multiple.
    tokNR_->clear();
    tokNR_->setEditText(QString());
  } else {
    tokNR_->insertItems(0, ListOf(kMultiples));
    tokNR_->setEditText(QUtf8(kDefaultMultiple));
  }
}

void DeviceDefenceForm::TypePPComboBoxChange() {
  const Result<std::vector<std::string>> ratings = FuseRatingTexts(typePP_->currentText().toStdString());
  tokPP_->clear();
  if (!ratings) {
    messages_.inform(this, QUtf8(ratings.error()));
    tokPP_->setEditText(QUtf8(kUnknownTypeFuseRating));
    return;
  }
  tokPP_->addItems(ListOf(*ratings));
  tokPP_->setEditText(QUtf8(kDefaultFuseRating));
}

void DeviceDefenceForm::OKDDBitBtnClick() {
  AcceptOutcome outcome = AcceptDevice(input(), settings_, SystemSeparators());
  if (!outcome) {
    // Nothing was accepted; the dialog stays open for a correction. A
    // refusal that forgot the trip current leaves no device defined, and
    // every display says so at once.
    const bool forgotten = settings_.TokSR <= 0 && accepted_;
    if (settings_.TokSR <= 0) {
      accepted_.reset();
      acceptedLabels_.reset();
    }
    if (forgotten) showDevice();
    messages_.inform(this, QString::fromStdString(outcome.error()));
    return;
  }
  accepted_ = input();
  acceptedLabels_ = std::move(outcome).value();
  showDevice();
  accept();
}

void DeviceDefenceForm::showDevice() {
  AlertDeviceDefence(scheme_, settings_, acceptedLabels_, view_);
  emit deviceChanged();
}

void DeviceDefenceForm::BitBtn3Click() {
  ResetDevice(settings_);
  accepted_.reset();
  acceptedLabels_.reset();
  showDevice();
  done(QDialog::Rejected);
}

void DeviceDefenceForm::forgetDevice() { BitBtn3Click(); }

bool DeviceDefenceForm::acceptTexts(const DeviceDialogInput& texts) {
  (texts.breaker ? avRadio_ : ppRadio_)->setChecked(true);
  tokAVnom_->setEditText(QUtf8(texts.tokAVnom));
  // The check box empties or refills the multiple list, so it goes first.
  tokNRCheck_->setChecked(texts.releaseCurrentGiven);
  tokNR_->setEditText(QUtf8(texts.tokNR));
  kzAV_->setEditText(QUtf8(texts.kzAV));
  typePP_->setEditText(QUtf8(texts.typePP));
  tokPP_->setEditText(QUtf8(texts.tokPP));
  kzPP_->setEditText(QUtf8(texts.kzPP));
  timePP_->setEditText(QUtf8(texts.timePP));
  accepted_.reset();
  OKDDBitBtnClick();
  if (accepted_) {
    return true;
  }
  forgetDevice();
  return false;
}

}  // namespace tesmir
