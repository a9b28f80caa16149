#include "ui/message_sink.h"

#include <QMessageBox>

namespace tesmir {
namespace {

// Message boxes carry the program's title, as every message of the program does.
const QString kCaption = QStringLiteral("Тесмир 2.5.1");

}  // namespace

void BoxMessageSink::inform(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, kCaption, text, QMessageBox::Ok, parent);
  box.exec();
}

bool BoxMessageSink::ask(QWidget* parent, const QString& text) {
  return QMessageBox::warning(parent, kCaption, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel) ==
         QMessageBox::Ok;
}

void BoxMessageSink::error(QWidget* parent, const QString& text) {
  QMessageBox::critical(parent, kCaption, text, QMessageBox::Ok);
}

}  // namespace tesmir
