#include "widgets/hints.h"

#include <QEvent>
#include <QObject>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QWidget>

namespace tesmir {
namespace {

class HintFilter final : public QObject {
 public:
  HintFilter(QStatusBar* bar, QObject* parent) : QObject(parent), bar_(bar) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::StatusTip) {
      bar_->showMessage(static_cast<QStatusTipEvent*>(event)->tip());
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QStatusBar* bar_;
};

}  // namespace

void AttachHintBar(QWidget* window, QStatusBar* bar) {
  bar->setSizeGripEnabled(false);
  window->installEventFilter(new HintFilter(bar, window));
}

}  // namespace tesmir
