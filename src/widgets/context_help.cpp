#include "widgets/context_help.h"

#include <QApplication>
#include <QShortcut>
#include <QVariant>
#include <QWidget>

namespace tesmir {

void SetHelpContext(QWidget* widget, HelpTopic topic) { widget->setProperty(kHelpContextProperty, TopicNumber(topic)); }

int HelpTopicFor(const QWidget* focus, const QWidget* window) {
  for (const QWidget* w = focus; w != nullptr; w = w->parentWidget()) {
    const QVariant topic = w->property(kHelpContextProperty);
    if (topic.isValid() && topic.toInt() > 0) {
      return topic.toInt();
    }
    if (w == window) {
      break;
    }
  }
  const QVariant own = window->property(kHelpContextProperty);
  return own.isValid() ? own.toInt() : 0;
}

void InstallContextHelp(QWidget* window, std::function<void(int)> open) {
  auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F1), window);
  shortcut->setContext(Qt::WindowShortcut);
  QObject::connect(shortcut, &QShortcut::activated, window, [window, open = std::move(open)] {
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr || focus->window() != window) {
      focus = window;
    }
    const int topic = HelpTopicFor(focus, window);
    if (topic > 0) {
      open(topic);
    }
  });
}

}  // namespace tesmir
