#include "widgets/about_program_form.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "tesmir_version.h"
#include "widgets/button_keys.h"
#include "widgets/window_placement.h"
#include "widgets/window_style.h"

namespace tesmir {
namespace {

// A read-only, borderless text the user can select and copy.
QLineEdit* InfoField(const QString& name, const QString& text) {
  auto* field = new QLineEdit(text);
  field->setObjectName(name);
  field->setReadOnly(true);
  field->setFrame(false);
  QPalette palette = field->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Window));
  field->setPalette(palette);
  field->setCursorPosition(0);
  return field;
}

}  // namespace

AboutProgramForm::AboutProgramForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutProgramForm"));
  setWindowTitle(QStringLiteral("О программе..."));
  // Only the close box in the frame; the frame itself may be resized.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFont(style::BaseFont());

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 10, 12, 10);

  QLabel* product =
      style::Caption(QString::fromUtf8(kProgramName), QStringLiteral("Courier New"), style::kMaroon, this);
  product->setObjectName(QStringLiteral("ProductNameLabel"));
  QFont big = product->font();
  big.setStyleHint(QFont::Monospace);
  big.setBold(true);
  big.setPointSize(24);
  product->setFont(big);
  product->setAlignment(Qt::AlignCenter);
  layout->addWidget(product);
  layout->addWidget(style::Rule(this));

  auto* form = new QFormLayout;
  form->setLabelAlignment(Qt::AlignLeft);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  const QString none = QStringLiteral("—");
  form->addRow(QStringLiteral("Версия"), InfoField(QStringLiteral("VersionEdit"), QString::fromUtf8(kProgramVersion)));
  form->addRow(QStringLiteral("Разработчик"),
               InfoField(QStringLiteral("DeveloperEdit"), QStringLiteral("Проект Тесмир")));
  form->addRow(QStringLiteral("Сайт"), InfoField(QStringLiteral("WebEdit"), none));
  form->addRow(QStringLiteral("e-mail"), InfoField(QStringLiteral("EmailEdit"), none));
  form->addRow(QStringLiteral("тел."), InfoField(QStringLiteral("PhoneEdit"), none));
  layout->addLayout(form);
  layout->addStretch(1);
  layout->addWidget(style::Rule(this));

  auto* buttons = new QHBoxLayout;
  auto* close = new QPushButton(QStringLiteral("Закрыть"), this);
  close->setObjectName(QStringLiteral("CloseButton"));
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  buttons->addStretch(1);
  buttons->addWidget(close);
  buttons->addStretch(1);
  layout->addLayout(buttons);

  resize(sizeHint().expandedTo(QSize(370, 239)));
  EnterClicksFocusedButtons(this);
  KeepCentredOnScreen(this);
}

}  // namespace tesmir
