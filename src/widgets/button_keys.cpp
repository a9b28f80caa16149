#include "widgets/button_keys.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QWidget>

namespace tesmir {

void F10OpensMenuBar(QMenuBar* bar) {
  auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), bar->parentWidget());
  QObject::connect(f10, &QShortcut::activated, bar, [bar] {
    for (QAction* action : bar->actions()) {
      if (action->isVisible() && action->isEnabled() && !action->isSeparator()) {
        bar->setFocus(Qt::ShortcutFocusReason);
        bar->setActiveAction(action);
        return;
      }
    }
  });
}

namespace {

class EnterClicksButton final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
          (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        auto* button = static_cast<QAbstractButton*>(watched);
        if (button->isEnabled() && !key->isAutoRepeat()) {
          button->click();
        }
        return true;  // the dialog's default button is not pressed as well
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

void EnterClicksFocusedButtons(QWidget* window) {
  auto* filter = new EnterClicksButton(window);
  for (QPushButton* button : window->findChildren<QPushButton*>()) {
    button->installEventFilter(filter);
  }
  for (QToolButton* button : window->findChildren<QToolButton*>()) {
    button->installEventFilter(filter);
  }
}

namespace {

class UndoKeysFilter final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) {
      return QObject::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeyCombination combination = key->keyCombination();
    const bool undoKey = key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
                         combination == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z) ||
                         combination == QKeyCombination(Qt::CTRL, Qt::Key_Y);
    if (!undoKey) return false;
    // Left unaccepted, the override lets the window's shortcut have the key;
    // the key itself never reaches the editor.
    event->ignore();
    return true;
  }
};

}  // namespace

void LeaveUndoKeysToTheWindow(QWidget* editor) { editor->installEventFilter(new UndoKeysFilter(editor)); }

}  // namespace tesmir
