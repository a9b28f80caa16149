#pragma once
// Keyboard use of push buttons: Enter (main keyboard or numpad) on a focused
// button clicks it, as Space does, in windows as well as in dialogs.

class QWidget;

namespace tesmir {

// Makes Enter click the focused push or tool button among the current
// descendants of `window`.
void EnterClicksFocusedButtons(QWidget* window);

}  // namespace tesmir
