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

AskNumberForm::AskNumberForm(const ReportTable& table, MessageSink& messages, QWidget* parent)
    : QDialog(parent), table_(table), messages_(messages) {
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
  chosenName_.reset();
  QDialog::showEvent(event);
  // Every opening starts in the name field, its text selected, whichever
  // button closed the dialog last time.
  numberEdit_->setFocus(Qt::OtherFocusReason);
  numberEdit_->selectAll();
}

void AskNumberForm::OKButtonClick() {
  const QString name = numberEdit_->text();
  const std::string rejection = table_.nameRejection(name.toStdString());
  if (!rejection.empty()) {
    messages_.inform(this, QString::fromStdString(rejection));
    return;
  }
  chosenName_ = name;
  accept();
}

}  // namespace tesmir
