#include "modal_guard.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QWidget>

namespace tesmir_test {

ModalGuard::ModalGuard(const char* what, int timeoutMs) : what_(what), timeoutMs_(timeoutMs) {
  timer_.setSingleShot(true);
  QObject::connect(&timer_, &QTimer::timeout, [this] { closeModalWindows(); });
  timer_.start(timeoutMs);
}

void ModalGuard::closeModalWindows() {
  // Nested modal windows close innermost first; a window that refuses to
  // close ends the attempt rather than spinning here.
  for (int closed = 0; closed < 8; ++closed) {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    ADD_FAILURE() << "a modal window (" << modal->objectName().toStdString() << ") was still open after " << timeoutMs_
                  << " ms: " << what_;
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
    } else {
      modal->close();
    }
    if (QApplication::activeModalWidget() == modal) return;
  }
}

}  // namespace tesmir_test
