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

}  // namespace tesmir
