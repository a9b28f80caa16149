#include "ui/document_dialogs.h"

#include <QInputDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace tesmir {

std::optional<QString> RealDocumentDialogs::askPointName(QWidget* parent, const QString& previous) {
  bool ok = false;
  const QString name = QInputDialog::getText(
      parent, QStringLiteral("Запрос номера точки ОКЗ"),
      QStringLiteral("Введите номер точки однофазного короткого замыкания\n(не более 8 символов, можно не вводить)"),
      QLineEdit::Normal, previous, &ok);
  if (!ok) return std::nullopt;
  return name;
}

bool RealDocumentDialogs::choosePrinter(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace tesmir
