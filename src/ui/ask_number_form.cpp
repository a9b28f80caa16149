#include "ui/ask_number_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "device/device_check.h"
#include "report/report_table.h"
#include "ui/button_keys.h"
#include "ui/context_help.h"
#include "ui/locale_separators.h"
#include "ui/message_sink.h"
#include "ui/window_placement.h"

namespace tesmir {
namespace {


// Neither button is the dialog's default, so Enter in the edit box presses
// nothing; Enter on a focused button presses that button.
QPushButton* NonDefaultButton(const QString& text, const QString& name, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

}  // namespace

AskNumberForm::AskNumberForm(ReportTable& table, const SchemeState& scheme, const DeviceSettings& device,
                             MessageSink& messages, std::function<QString()> tripTimeText, QWidget* parent)
    : QDialog(parent),
      table_(table),
      scheme_(scheme),
      device_(device),
      messages_(messages),
      tripTimeText_(std::move(tripTimeText)) {
  setObjectName(QStringLiteral("AskNumberForm"));
  setWindowTitle(QStringLiteral("Запрос номера точки ОКЗ"));
  setModal(true);
  SetHelpContext(this, HelpTopic::kReport);

  auto* prompt = new QLabel(QStringLiteral("Введите номер точки однофазного короткого замыкания"), this);
  prompt->setObjectName(QStringLiteral("Label1"));
  auto* example = new QLabel(QStringLiteral("Например, \"К-1\""), this);
  example->setObjectName(QStringLiteral("Label2"));
  numberEdit_ = new QLineEdit(this);
  numberEdit_->setObjectName(QStringLiteral("NumberEdit"));
  auto* limit = new QLabel(QStringLiteral("(не более 8 символов)"), this);
  limit->setObjectName(QStringLiteral("Label3"));

  QPushButton* ok = NonDefaultButton(QStringLiteral("Да"), QStringLiteral("OKButton"), this);
  QPushButton* cancel = NonDefaultButton(QStringLiteral("Отмена"), QStringLiteral("CancelBitBtn"), this);
  connect(ok, &QPushButton::clicked, this, &AskNumberForm::OKButtonClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);  // Esc rejects as well

  auto* edit = new QHBoxLayout;
  edit->addWidget(numberEdit_, 1);
  edit->addWidget(limit);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt);
  layout->addWidget(example);
  layout->addLayout(edit);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  EnterClicksFocusedButtons(this);
  KeepCentredOnScreen(this);
}

void AskNumberForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Every opening starts in the name field, its text selected, whichever
  // button closed the dialog last time.
  numberEdit_->setFocus(Qt::OtherFocusReason);
  numberEdit_->selectAll();
}

void AskNumberForm::OKButtonClick() {
  const std::string name = numberEdit_->text().toStdString();
  const QString tripTime = tripTimeText_ ? tripTimeText_() : QString::fromUtf8(kNoDeviceValue.data(), static_cast<qsizetype>(kNoDeviceValue.size()));
  const ReportRow cells = MakeReportRow(name, scheme_, device_, tripTime.toStdString(), SystemSeparators());
  const std::string rejection = table_.addPoint(name, cells);
  if (!rejection.empty()) {
    messages_.inform(this, QString::fromStdString(rejection));
    return;
  }
  accept();
}

}  // namespace tesmir
