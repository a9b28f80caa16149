#include "ui/message_sink.h"

#include <QApplication>
#include <QMessageBox>

namespace tesmir {

void BoxMessageSink::inform(QWidget* parent, const QString& text) {
  QMessageBox::information(parent, QApplication::applicationDisplayName(), text, QMessageBox::Ok);
}

bool BoxMessageSink::ask(QWidget* parent, const QString& text) {
  return QMessageBox::warning(parent, QApplication::applicationDisplayName(), text,
                              QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel) == QMessageBox::Ok;
}

void BoxMessageSink::error(QWidget* parent, const QString& text) {
  QMessageBox::critical(parent, QApplication::applicationDisplayName(), text, QMessageBox::Ok);
}

}  // namespace tesmir
