#include "widgets/message_sink.h"

#include <QMessageBox>
#include <QPushButton>

#include "tesmir_version.h"

namespace tesmir {
namespace {

// Message boxes carry the program's title, as every message of the program does.
const QString kCaption = QString::fromUtf8(kProgramTitle);

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

MessageSink::SaveAnswer MessageSink::askSave(QWidget*, const QString&) { return SaveAnswer::Cancel; }

MessageSink::SaveAnswer BoxMessageSink::askSave(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Warning, kCaption, text, QMessageBox::NoButton, parent);
  QPushButton* save = box.addButton(QStringLiteral("Сохранить"), QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton(QStringLiteral("Не сохранять"), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == save) {
    return SaveAnswer::Save;
  }
  if (box.clickedButton() == discard) {
    return SaveAnswer::Discard;
  }
  return SaveAnswer::Cancel;
}

}  // namespace tesmir
