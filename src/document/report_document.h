#pragma once
// The report as a document: its table, changed only through the table model,
// and the undo stack of the user's changes. Adding a point, deleting a row,
// moving a row and deleting everything are one step each; opening a file
// starts a new history, and opening and saving mark the unedited state.

#include <QObject>
#include <QUndoStack>
#include <string>
#include <string_view>
#include <vector>

#include "document/report_model.h"
#include "report/report_table.h"

namespace tesmir {

class ReportDocument : public QObject {
  Q_OBJECT

 public:
  explicit ReportDocument(ReportTableModel& model, QObject* parent = nullptr);

  const ReportTable& table() const { return model_.table(); }
  ReportTableModel& model() { return model_; }

  // As the model's changes; each change that happens is a step.
  std::string addPoint(std::string_view name, const ReportRow& cells);
  std::string deleteSelected();
  void deleteAll();
  int moveUp();
  int moveDown();

  // The rows a file brought: a new history. The rows were saved: unedited.
  void opened();
  void saved();

  QUndoStack& undoStack() { return undo_; }

 private:
  template <class, class>
  friend class RecordedStep;

 public:
  // The part of the table a step changes: the rows from `first` on (as many
  // as `rows` holds), the number of rows and the selected row.
  struct Rows {
    int first = 0;
    int total = 0;
    std::vector<ReportRow> rows;
    int selectedRow = 0;
  };

 private:
  // Rows `first` to `last` (exclusive; -1: to the end).
  Rows rows(int first, int last) const;
  void restore(const Rows& rows);
  // Runs `change`, which touches rows `first`..`last` at most (-1: and every
  // row below, whose number may change), and records it as a step when the
  // rows changed.
  template <class Change>
  auto recorded(const QString& name, int first, int last, Change change);

  ReportTableModel& model_;
  QUndoStack undo_;
};

}  // namespace tesmir
