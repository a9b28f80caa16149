#pragma once
// Centring of top-level windows on their screen.

class QWidget;

namespace tesmir {

// Centres `window`, frame included, on the available area of its screen each
// time it is shown, and again when the window manager has framed it: the
// frame's size is known only then, and it is what the user sees centred.
void KeepCentredOnScreen(QWidget* window);

}  // namespace tesmir
