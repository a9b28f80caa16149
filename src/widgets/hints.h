#pragma once
// Hints are status tips: the hint of the control under the mouse pointer is
// shown in its window's status bar; no pop-up tooltips are used anywhere.

#include <QString>

class QStatusBar;
class QWidget;

namespace tesmir {

// The hint of every window's close button.
inline const QString kCloseWindowHint = QStringLiteral("Закрыть окно");

// Shows every status tip raised inside `window` in `bar` (needed for dialogs,
// which unlike QMainWindow have no status bar of their own).
void AttachHintBar(QWidget* window, QStatusBar* bar);

}  // namespace tesmir
