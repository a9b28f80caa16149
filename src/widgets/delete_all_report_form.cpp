#include "widgets/delete_all_report_form.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "widgets/button_keys.h"

namespace tesmir {

DeleteAllReportForm::DeleteAllReportForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("DeleteAllReportForm"));
  setWindowTitle(QStringLiteral("Удаление отчета"));
  setModal(true);

  auto* icon = new QLabel(this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
  auto* text = new QLabel(QStringLiteral("Вы действительно хотите удалить весь отчет?"), this);
  text->setObjectName(QStringLiteral("Label1"));

  auto* buttons = new QDialogButtonBox(this);
  auto* ok = buttons->addButton(QStringLiteral("Да"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("OKBitBtn"));
  ok->setDefault(true);                                         // Enter answers "Да"
  auto* cancel = buttons->addButton(QDialogButtonBox::Cancel);  // Esc answers Cancel
  cancel->setObjectName(QStringLiteral("CancelBitBtn"));
  cancel->setText(QStringLiteral("Отмена"));
  connect(ok, &QPushButton::clicked, this, &DeleteAllReportForm::OKBitBtnClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* message = new QHBoxLayout;
  message->addWidget(icon, 0, Qt::AlignTop);
  message->addSpacing(8);
  message->addWidget(text, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(message);
  layout->addSpacing(8);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  EnterClicksFocusedButtons(this);
}

bool DeleteAllReportForm::confirm() { return exec() == QDialog::Accepted; }

void DeleteAllReportForm::OKBitBtnClick() { accept(); }

}  // namespace tesmir
