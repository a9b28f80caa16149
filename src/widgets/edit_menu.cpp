#include "widgets/edit_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QUndoStack>

namespace tesmir {

EditMenu AddEditMenu(QMenuBar* bar, const QString& part) {
  QMenu* menu = bar->addMenu(QStringLiteral("Пр&авка"));
  menu->setObjectName(QStringLiteral("Edit%1Menu").arg(part));
  EditMenu items;
  items.undo = menu->addAction(QStringLiteral("&Отменить"));
  items.undo->setObjectName(QStringLiteral("Undo%1Menu").arg(part));
  items.undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  items.redo = menu->addAction(QStringLiteral("&Повторить"));
  items.redo->setObjectName(QStringLiteral("Redo%1Menu").arg(part));
  items.redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  items.undo->setEnabled(false);
  items.redo->setEnabled(false);
  if (QWidget* window = bar->parentWidget()) window->addActions({items.undo, items.redo});
  return items;
}

void ConnectEditMenu(const EditMenu& menu, QUndoStack& stack) {
  QObject::connect(menu.undo, &QAction::triggered, &stack, &QUndoStack::undo);
  QObject::connect(menu.redo, &QAction::triggered, &stack, &QUndoStack::redo);
  QObject::connect(&stack, &QUndoStack::canUndoChanged, menu.undo, &QAction::setEnabled);
  QObject::connect(&stack, &QUndoStack::canRedoChanged, menu.redo, &QAction::setEnabled);
}

}  // namespace tesmir
