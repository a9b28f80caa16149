#pragma once
// The menu "Правка" of a window that shows a document: "Отменить" (Ctrl+Z)
// and "Повторить" (Ctrl+Shift+Z, Ctrl+Y), enabled while the document's undo
// stack has a step to undo or redo.

#include <QString>

class QAction;
class QMenuBar;
class QUndoStack;

namespace tesmir {

struct EditMenu {
  QAction* undo = nullptr;
  QAction* redo = nullptr;
};

// Adds the menu to `bar`; its objects are named "Edit" + `part` + "Menu",
// "Undo" + `part` + "Menu" and "Redo" + `part` + "Menu". The window owns the
// shortcuts too, so they work while no menu is open.
EditMenu AddEditMenu(QMenuBar* bar, const QString& part);

// The items undo and redo the steps of `stack`.
void ConnectEditMenu(const EditMenu& menu, QUndoStack& stack);

}  // namespace tesmir
