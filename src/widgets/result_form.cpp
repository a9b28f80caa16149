#include "widgets/result_form.h"

#include <cstddef>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/display_format.h"
#include "device/device_check.h"
#include "report/utf8_text.h"
#include "texts/locale_separators.h"
#include "widgets/button_keys.h"
#include "widgets/context_help.h"
#include "widgets/feeder_picture_widget.h"
#include "widgets/hints.h"
#include "widgets/window_placement.h"
#include "widgets/window_style.h"

namespace tesmir {
namespace {

QLabel* MainCaption(const QString& text) { return style::Caption(text, QString(), style::kDarkRed); }

QLabel* SubCaption(const QString& text, bool bold = false) {
  auto* label = new QLabel(text);
  if (bold) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
  }
  return label;
}

// A value label: white, sunken, wide enough for the largest value it can show.
QLabel* Value(const QString& name, const QString& text, const QString& widest, bool bold = false) {
  return style::ValueLabel(name, text, widest, bold);
}

const QString kDash = QUtf8(kNoValueText);
// The widest texts a value can take: seven significant digits with grouping.
const QString kWidestNumber = QStringLiteral("-9 999 999,00");
const QString kWidestOhm = QStringLiteral("Zф-н=-9 999 999,00 мОм");

}  // namespace

ResultForm::ResultForm(QWidget* parent) : QDialog(parent), separators_(SystemSeparators()) {
  setObjectName(QStringLiteral("ResultForm"));
  setWindowTitle(QStringLiteral("Результаты расчета"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFont(style::BaseFont());
  SetHelpContext(this, HelpTopic::kResults);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->setSpacing(6);

  pages_ = new QTabWidget(this);
  pages_->setObjectName(QStringLiteral("ResultPageControl"));
  pages_->addTab(buildTransTab(), QStringLiteral("Трансформатор"));
  pages_->addTab(buildLineTab(), QStringLiteral("Линия"));
  pages_->addTab(buildDefenceTab(), QStringLiteral("Аппарат защиты"));
  // The single-line picture of the last calculation; the device part is read
  // from this window's device tab whenever the page is painted.
  picture_ = new FeederPictureWidget([this] { return deviceTexts(); });
  picture_->setObjectName(QStringLiteral("SchemeTabSheet"));
  pages_->addTab(picture_, QStringLiteral("Схема"));
  pages_->setCurrentIndex(0);
  layout->addWidget(pages_);

  layout->addWidget(buildLoopBlock());

  iokzrez_ = new QLabel(QStringLiteral("Ток однофазного короткого замыкания равен --- А "), this);
  iokzrez_->setObjectName(QStringLiteral("IokzrezLabel"));
  QFont bold = iokzrez_->font();
  bold.setBold(true);
  iokzrez_->setFont(bold);
  iokzrez_->setAlignment(Qt::AlignCenter);
  iokzrez_->setMinimumWidth(iokzrez_->fontMetrics().horizontalAdvance(
      QStringLiteral("Ток однофазного короткого замыкания равен 9999999 А ")));
  layout->addWidget(iokzrez_);

  auto* buttons = new QHBoxLayout;
  auto* close = new QPushButton(QStringLiteral("Закрыть"), this);
  close->setObjectName(QStringLiteral("BitBtn1"));
  close->setStatusTip(kCloseWindowHint);
  close->setDefault(true);  // Enter closes the window
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  buttons->addStretch(1);
  buttons->addWidget(close);
  buttons->addStretch(1);
  layout->addLayout(buttons);

  setFixedSize(sizeHint());
  EnterClicksFocusedButtons(this);
  KeepCentredOnScreen(this);
}

QWidget* ResultForm::buildTransTab() {
  auto* tab = new QWidget;
  tab->setObjectName(QStringLiteral("TransTabSheet"));
  auto* grid = new QGridLayout(tab);
  grid->setVerticalSpacing(4);
  st_ = Value(QStringLiteral("StLabel"), QStringLiteral("Sном=___ кВ*А"), QStringLiteral("Sном=9999.999 кВ*А"));
  windKind_ = Value(QStringLiteral("WindKindLabel"), QStringLiteral("Y/Y-0"), QStringLiteral("Y/Y-0"));
  rt_ = Value(QStringLiteral("RtLabel"), QStringLiteral("Rт=___ мОм"), kWidestOhm);
  xt_ = Value(QStringLiteral("XtLabel"), QStringLiteral("Xт=___ мОм"), kWidestOhm);
  zt_ = Value(QStringLiteral("ZtLabel"), QStringLiteral("Zт=___ мОм"), kWidestOhm);

  grid->addWidget(MainCaption(result_captions::kTransPower), 0, 0, 1, 2);
  grid->addWidget(st_, 0, 2);
  grid->addWidget(MainCaption(result_captions::kWindKind), 1, 0, 1, 2);
  grid->addWidget(windKind_, 1, 2);
  grid->addWidget(MainCaption(QStringLiteral("Сопротивление току однофазного КЗ:")), 2, 0, 1, 3);
  grid->addWidget(SubCaption(result_captions::kActive), 3, 1);
  grid->addWidget(rt_, 3, 2);
  grid->addWidget(SubCaption(result_captions::kInductive), 4, 1);
  grid->addWidget(xt_, 4, 2);
  grid->addWidget(SubCaption(result_captions::kFull), 5, 1);
  grid->addWidget(zt_, 5, 2);
  grid->setColumnMinimumWidth(0, 16);

  grid->addWidget(SubCaption(QStringLiteral("Примечание:"), true), 6, 0, 1, 3);
  auto* note =
      new QLabel(QStringLiteral("- для трехфазного трансформатора сопротивление указано суммарное на 3 фазы\n"
                                "- для однофазного трансформатора утроенное значение фазы"));
  note->setObjectName(QStringLiteral("NoteLabel"));
  grid->addWidget(note, 7, 0, 1, 3);
  grid->setRowStretch(8, 1);
  grid->setColumnStretch(2, 1);
  return tab;
}

QWidget* ResultForm::buildLineTab() {
  auto* tab = new QWidget;
  tab->setObjectName(QStringLiteral("LineTabSheet"));
  auto* grid = new QGridLayout(tab);
  grid->setVerticalSpacing(3);
  grid->addWidget(MainCaption(result_captions::kLineResistance), 0, 0, 1, 4, Qt::AlignHCenter);
  const QString headings[3] = {QStringLiteral("Активное\nRл, мОм"), QStringLiteral("Индуктивное\nXл, мОм"),
                               QStringLiteral("Полное\nZл, мОм")};
  for (int c = 0; c < 3; ++c) {
    QLabel* heading = SubCaption(headings[c], true);
    heading->setAlignment(Qt::AlignCenter);
    grid->addWidget(heading, 1, c + 1);
  }
  for (int r = 0; r < kLineCount; ++r) {
    grid->addWidget(SubCaption(result_captions::kLineNumber.arg(r + 1)), r + 2, 0);
    rLine_[LineIndex(r)] = Value(QStringLiteral("RLine%1Label").arg(r + 1), kDash, kWidestNumber);
    xLine_[LineIndex(r)] = Value(QStringLiteral("XLine%1Label").arg(r + 1), kDash, kWidestNumber);
    zLine_[LineIndex(r)] = Value(QStringLiteral("ZLine%1Label").arg(r + 1), kDash, kWidestNumber);
    grid->addWidget(rLine_[LineIndex(r)], r + 2, 1);
    grid->addWidget(xLine_[LineIndex(r)], r + 2, 2);
    grid->addWidget(zLine_[LineIndex(r)], r + 2, 3);
  }
  const int sumRow = kLineCount + 2;
  grid->addWidget(SubCaption(result_captions::kLineSum, true), sumRow, 0);
  rLineSum_ = Value(QStringLiteral("RLineLabel"), kDash, kWidestNumber, true);
  xLineSum_ = Value(QStringLiteral("XLineLabel"), kDash, kWidestNumber, true);
  zLineSum_ = Value(QStringLiteral("ZLineLabel"), kDash, kWidestNumber, true);
  grid->addWidget(rLineSum_, sumRow, 1);
  grid->addWidget(xLineSum_, sumRow, 2);
  grid->addWidget(zLineSum_, sumRow, 3);
  grid->setRowStretch(sumRow + 1, 1);
  return tab;
}

QWidget* ResultForm::buildDefenceTab() {
  auto* tab = new QWidget;
  tab->setObjectName(QStringLiteral("DefenceTabSheet"));
  auto* grid = new QGridLayout(tab);
  grid->setVerticalSpacing(4);
  const QString widest = QUtf8(kBreakerTypeText);
  typeDD_ = Value(QStringLiteral("TypeDDLabel"), kDash, widest);
  toknom_ = Value(QStringLiteral("ToknomLabel"), kDash, widest);
  kz_ = Value(QStringLiteral("KZLabel"), kDash, widest);
  tokSR_ = Value(QStringLiteral("TokSRLabel"), kDash, widest);
  timeSR_ = Value(QStringLiteral("TimeSRLabel"), kDash, widest);
  statusDD_ = Value(QStringLiteral("StatusDDLabel"), QStringLiteral("в расчете не определен."), widest);
  statusDD_->setWordWrap(true);
  statusDD_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  statusDD_->setMinimumHeight(statusDD_->fontMetrics().lineSpacing() * 3 + 8);

  const std::array<QLabel*, 6> values = {typeDD_, toknom_, kz_, tokSR_, timeSR_, statusDD_};
  int r = 0;
  for (std::size_t i = 0; i < values.size(); ++i, ++r) {
    grid->addWidget(MainCaption(kDeviceCaptions[i]), r, 0, Qt::AlignTop);
    grid->addWidget(values[i], r, 1);
  }
  grid->setRowStretch(r, 1);
  grid->setColumnStretch(1, 1);
  return tab;
}

QWidget* ResultForm::buildLoopBlock() {
  auto* block = new QWidget;
  auto* grid = new QGridLayout(block);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setVerticalSpacing(3);
  grid->addWidget(MainCaption(QStringLiteral("Переходное сопротивление контактов+сопротивление электрической")), 0, 0,
                  1, 3);
  grid->addWidget(MainCaption(QStringLiteral("дуги:")), 1, 0, 1, 2);
  rother_ = Value(QStringLiteral("RotherLabel"), QStringLiteral("Rпр="), QStringLiteral("Rпр=-9 999 999 мОм"));
  grid->addWidget(rother_, 1, 2);
  grid->addWidget(MainCaption(QStringLiteral("Сопротивление петли \"фаза-ноль\":")), 2, 0, 1, 3);
  rsum_ = Value(QStringLiteral("RsumLabel"), QStringLiteral("Rф-н=___ мОм"), kWidestOhm);
  xsum_ = Value(QStringLiteral("XsumLabel"), QStringLiteral("Xф-н=___ мОм"), kWidestOhm);
  zsum_ = Value(QStringLiteral("ZsumLabel"), QStringLiteral("Zф-н=___ мОм"), kWidestOhm);
  const std::pair<QString, QLabel*> rows[] = {{QStringLiteral("Активное:"), rsum_},
                                              {QStringLiteral("Индуктивное:"), xsum_},
                                              {QStringLiteral("Полное:"), zsum_}};
  int r = 3;
  for (const auto& [caption, value] : rows) {
    grid->addWidget(SubCaption(caption, true), r, 1);
    grid->addWidget(value, r, 2);
    ++r;
  }
  grid->setColumnMinimumWidth(0, 16);
  grid->setColumnStretch(2, 1);
  return block;
}

void ResultForm::showCalculation(const SchemeState& scheme, const QString& powerText, const QString& windKindText,
                                 const QString& resultLine) {
  shown_ = MakeResultTexts(scheme, powerText, windKindText, resultLine, separators_);
  const ResultTexts& t = shown_;
  st_->setText(t.st);
  windKind_->setText(t.windKind);
  rt_->setText(t.rt);
  xt_->setText(t.xt);
  zt_->setText(t.zt);
  for (int i = 0; i < kLineCount; ++i) {
    rLine_[LineIndex(i)]->setText(t.rLine[LineIndex(i)]);
  }
  rLineSum_->setText(t.rLineSum);
  for (int i = 0; i < kLineCount; ++i) {
    xLine_[LineIndex(i)]->setText(t.xLine[LineIndex(i)]);
  }
  xLineSum_->setText(t.xLineSum);
  for (int i = 0; i < kLineCount; ++i) {
    zLine_[LineIndex(i)]->setText(t.zLine[LineIndex(i)]);
  }
  zLineSum_->setText(t.zLineSum);
  rother_->setText(t.rother);
  rsum_->setText(t.rsum);
  xsum_->setText(t.xsum);
  zsum_->setText(t.zsum);
  iokzrez_->setText(t.iokzrez);
  picture_->setCalculation(scheme, shown_, separators_);
}

DeviceTexts ResultForm::deviceTexts() const {
  if (deviceSource_) return deviceSource_();
  return DeviceTexts{typeDD_->text(), toknom_->text(), kz_->text(), tokSR_->text(), timeSR_->text(), statusDD_->text()};
}

}  // namespace tesmir
