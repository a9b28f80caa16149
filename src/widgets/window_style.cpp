#include "widgets/window_style.h"

#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWidget>

namespace tesmir::style {

QFont BaseFont() {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPointSize(8);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

QLabel* Caption(const QString& text, const QString& family, const QColor& color, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  if (!family.isEmpty()) {
    QFont font = label->font();
    font.setFamily(family);
    label->setFont(font);
  }
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, color);
  label->setPalette(palette);
  return label;
}

QLabel* FieldCaption(const QString& text, QWidget* parent) {
  QLabel* label = Caption(text, QStringLiteral("Times New Roman"), kMaroon, parent);
  QFont font = label->font();
  font.setStyleHint(QFont::Serif);
  label->setFont(font);
  return label;
}

QLabel* Heading(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont font = label->font();
  font.setFamily(QStringLiteral("Georgia"));
  font.setStyleHint(QFont::Serif);
  font.setBold(true);
  font.setPointSize(font.pointSize() + 1);
  label->setFont(font);
  return label;
}

void MakeWhite(QWidget* widget) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, Qt::white);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

QFrame* Box(QWidget* parent) {
  auto* frame = new QFrame(parent);
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setFrameShadow(QFrame::Sunken);
  return frame;
}

QFrame* Rule(QWidget* parent) {
  auto* frame = new QFrame(parent);
  frame->setFrameShape(QFrame::HLine);
  frame->setFrameShadow(QFrame::Sunken);
  return frame;
}

void SetDialogLayout(QWidget* dialog, QLayout* content, QStatusBar* statusBar) {
  auto* outer = new QVBoxLayout(dialog);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);
  outer->addLayout(content);
  outer->addWidget(statusBar);
  outer->setSizeConstraint(QLayout::SetFixedSize);
}

QLabel* ValueLabel(const QString& name, const QString& text, const QString& widest, bool bold, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setMargin(2);
  MakeWhite(label);
  if (bold) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
  }
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(widest) + 12);
  return label;
}

}  // namespace tesmir::style
