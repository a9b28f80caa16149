#pragma once
// The report table as the grid shows it, and the one way the windows change
// it: every change goes through this model, which tells its views which rows
// changed, so they follow without being refreshed by hand.

#include <QAbstractTableModel>
#include <QString>
#include <string>
#include <vector>

#include "report/report_table.h"

namespace tesmir {

class ReportTableModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  ReportTableModel(ReportTable& table, QObject* parent = nullptr);

  const ReportTable& table() const { return table_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // The text a grid cell shows. A cell far wider than any column is cut
  // (at a character boundary) and ends in an ellipsis, so painting never
  // converts or measures a huge text; the cell itself stays whole.
  static QString DisplayText(const std::string& cell);
  static constexpr std::size_t kDisplayBytes = 256;

  // Adds a point under `name`; returns the rejection message, or the empty
  // text once the point is added.
  std::string addPoint(std::string_view name, const ReportRow& cells);
  // Deletes the selected row; returns the message to show, or the empty text.
  std::string deleteSelected();
  void deleteAll();
  // Move the selected row within the leading block; return the row to make
  // current, or -1 when nothing moved.
  int moveUp();
  int moveDown();
  // Replaces every row, as reading a report file does.
  void assignRows(std::vector<ReportRow> rows);
  // Sets the number of rows to `total` and rows `first`... to `rows`, as
  // undo and redo bring a part of the table back.
  void replaceRows(int first, int total, const std::vector<ReportRow>& rows);

  // The grid's selection, passed on to the table.
  void cellMadeCurrent(int row);
  void mouseReleasedAt(int col, int row);
  // Whether the rows differ from those last saved, as undo and redo know it.
  void setModified(bool modified) { table_.setModified(modified); }

 private:
  // Tells the views that whole rows `first`..`last` hold new texts.
  void rowsChanged(int first, int last);

  ReportTable& table_;
};

}  // namespace tesmir
