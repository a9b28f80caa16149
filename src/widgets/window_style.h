#pragma once
// Fonts and colours shared by the windows. Families that the desktop lacks
// fall back to its own choice of a similar face.

#include <QColor>
#include <QFont>
#include <QString>

class QFrame;
class QLabel;
class QLayout;
class QStatusBar;
class QWidget;

namespace tesmir::style {

inline const QColor kMaroon{128, 0, 0};
// The captions of the results and of the protection check.
inline const QColor kDarkRed{139, 0, 0};

// The windows' default face.
QFont BaseFont();
// A static caption in `color`, in `family`, optionally bold or underlined.
QLabel* Caption(const QString& text, const QString& family, const QColor& color, QWidget* parent = nullptr);
// A maroon Times New Roman field or column caption.
QLabel* FieldCaption(const QString& text, QWidget* parent = nullptr);
// A bold Georgia heading.
QLabel* Heading(const QString& text, QWidget* parent = nullptr);
// A value label: white, sunken, wide enough for `widest`, the longest text
// it can show; bold when asked.
QLabel* ValueLabel(const QString& name, const QString& text, const QString& widest, bool bold = false,
                   QWidget* parent = nullptr);
// Paints `widget` white (a value panel or the result line's panel).
void MakeWhite(QWidget* widget);
// A framed box in the sunken style used around groups of inputs.
QFrame* Box(QWidget* parent = nullptr);
// A horizontal rule.
QFrame* Rule(QWidget* parent = nullptr);
// Lays out a fixed-size dialog: `content` over the dialog's own status bar,
// the dialog exactly as large as they need.
void SetDialogLayout(QWidget* dialog, QLayout* content, QStatusBar* statusBar);

}  // namespace tesmir::style
