#pragma once
// The editors of the journal's cells: the main window's and the device
// dialog's lists (kinds; materials or the family's busbar models; sections;
// parallel counts; ratings, multiples, safety factors, fuse types and time
// classes) as editable lists whose typed text stays exactly as typed.

#include <QStringList>
#include <QStyledItemDelegate>
#include <functional>

#include "document/journal_document.h"

namespace tesmir {

// The texts a cell's list offers; empty for a plain text cell.
QStringList JournalCellItems(const LineJournal& journal, int line, LineField field);

class JournalEditors final : public QStyledItemDelegate {
  Q_OBJECT

 public:
  // `lineOfRow` gives the journal line of a table row.
  JournalEditors(const LineJournal& journal, std::function<int(int)> lineOfRow, QObject* parent = nullptr);

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

 private:
  const LineJournal& journal_;
  std::function<int(int)> lineOfRow_;
};

}  // namespace tesmir
