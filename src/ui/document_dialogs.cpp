#include "ui/document_dialogs.h"

#include <QInputDialog>
#include <QPrintDialog>
#include <QPrinter>

#include "ui/button_keys.h"
#include "ui/window_placement.h"

namespace tesmir {

std::optional<QString> RealDocumentDialogs::askPointName(QWidget* parent, const QString& previous) {
  QInputDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("NotePointNameDialog"));
  dialog.setWindowTitle(QStringLiteral("Запрос номера точки ОКЗ"));
  dialog.setLabelText(
      QStringLiteral("Введите номер точки однофазного короткого замыкания\n(не более 8 символов, можно не вводить)"));
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setTextValue(previous);
  // Builds the buttons now, so that Enter on them can be handled.
  dialog.setOkButtonText(QStringLiteral("Да"));
  dialog.setCancelButtonText(QStringLiteral("Отмена"));
  EnterClicksFocusedButtons(&dialog);
  KeepCentredOnScreen(&dialog);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.textValue();
}

bool RealDocumentDialogs::choosePrinter(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace tesmir
