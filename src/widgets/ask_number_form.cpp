#include "widgets/ask_number_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "device/device_check.h"
#include "report/report_table.h"
#include "widgets/button_keys.h"
#include "widgets/context_help.h"
#include "widgets/message_sink.h"
#include "widgets/window_placement.h"

namespace tesmir {
namespace {

// Neither button is the dialog's default: Enter on a focused button presses
// that button, and Enter in the name field presses "Да".
QPushButton* NonDefaultButton(const QString& text, const QString& name, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

}  // namespace

AskNumberForm::AskNumberForm(const ReportTable& table, MessageSink& messages, QWidget* parent)
    : AskNumberForm([&table](const QString& name) { return table.nameRejection(name.toStdString()); }, messages,
                    parent) {}

std::unique_ptr<AskNumberForm> AskNumberForm::ForNote(NameRule rule, const QString& previous, MessageSink& messages,
                                                      QWidget* parent) {
  std::unique_ptr<AskNumberForm> form(new AskNumberForm(std::move(rule), messages, parent));
  form->setObjectName(QStringLiteral("NotePointNameDialog"));
  form->limit_->setText(QStringLiteral("(не более 8 символов, можно не вводить)"));
  form->numberEdit_->setText(previous);
  return form;
}

AskNumberForm::AskNumberForm(NameRule rule, MessageSink& messages, QWidget* parent)
    : QDialog(parent), rule_(std::move(rule)), messages_(messages) {
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
  limit_ = new QLabel(QStringLiteral("(не более 8 символов)"), this);
  limit_->setObjectName(QStringLiteral("Label3"));

  QPushButton* ok = NonDefaultButton(QStringLiteral("Да"), QStringLiteral("OKButton"), this);
  QPushButton* cancel = NonDefaultButton(QStringLiteral("Отмена"), QStringLiteral("CancelBitBtn"), this);
  connect(ok, &QPushButton::clicked, this, &AskNumberForm::OKButtonClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);  // Esc rejects as well
  connect(numberEdit_, &QLineEdit::returnPressed, this, &AskNumberForm::OKButtonClick);

  auto* edit = new QHBoxLayout;
  edit->addWidget(numberEdit_, 1);
  edit->addWidget(limit_);
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
  const std::string rejection = rule_(name);
  if (!rejection.empty()) {
    messages_.inform(this, QString::fromStdString(rejection));
    return;
  }
  chosenName_ = name;
  accept();
}

}  // namespace tesmir
