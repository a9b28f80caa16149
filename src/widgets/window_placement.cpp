#include "widgets/window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>

namespace tesmir {
namespace {

QMargins FrameMargins(const QWidget* window) {
  const QRect frame = window->frameGeometry();
  const QRect client = window->geometry();
  return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
          frame.bottom() - client.bottom()};
}

class ScreenCentring final : public QObject {
 public:
  explicit ScreenCentring(QWidget* window) : QObject(window), window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_) {
      switch (event->type()) {
        case QEvent::Show:
          centre();
          break;
        case QEvent::Move:
        case QEvent::Resize:
          // Framing by the window manager changes the margins; the user
          // moving the window does not.
          if (window_->isVisible() && FrameMargins(window_) != margins_) {
            centre();
          }
          break;
        default:
          break;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  void centre() {
    const QScreen* screen = window_->screen() != nullptr ? window_->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
      return;
    }
    margins_ = FrameMargins(window_);
    QRect frame = window_->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    // A top-level window's position is that of its frame.
    window_->move(frame.topLeft());
  }

  QWidget* window_;
  QMargins margins_;
};

}  // namespace

void KeepCentredOnScreen(QWidget* window) { window->installEventFilter(new ScreenCentring(window)); }

}  // namespace tesmir
