#pragma once
// Keyboard use of push buttons: Enter (main keyboard or numpad) on a focused
// button clicks it, as Space does, in windows as well as in dialogs.

class QMenuBar;
class QWidget;

namespace tesmir {

// F10 in the menu bar's window opens its first menu (or highlights its first
// item), so that the arrow keys and the underlined letters take over; the
// items' own "&" mnemonics work with Alt.
void F10OpensMenuBar(QMenuBar* bar);

// Makes Enter click the focused push or tool button among the current
// descendants of `window`.
void EnterClicksFocusedButtons(QWidget* window);

// Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y in the text editor `editor` go to the
// window's undo and redo items instead of the editor's own undo.
void LeaveUndoKeysToTheWindow(QWidget* editor);

}  // namespace tesmir
