#pragma once
// The editable drop-down lists of the windows: typed text stays exactly as
// typed, key by key (no completion), and is never added to the items; the
// drop-down still offers the list's own texts.

#include <QComboBox>
#include <QString>
#include <QStringList>
#include <string_view>

#include "report/utf8_text.h"

class QWidget;

namespace tesmir {

// The texts of `items` (UTF-8 texts) as a list's items.
template <class Range>
QStringList ListOf(const Range& items) {
  QStringList list;
  for (std::string_view item : items) {
    list << QUtf8(item);
  }
  return list;
}

// A new editable list named `name` with `items`, showing `text` (the matching
// item selected when there is one) and the hint `tip`.
QComboBox* EditableList(const QString& name, const QStringList& items, const QString& text, const QString& tip,
                        QWidget* parent = nullptr);

// Replaces a list's items and shows `text`, selecting the item that matches.
void RefillList(QComboBox* box, const QStringList& items, const QString& text);

}  // namespace tesmir
