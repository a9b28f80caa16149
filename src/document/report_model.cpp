#include "document/report_model.h"

#include <utility>

namespace tesmir {

ReportTableModel::ReportTableModel(ReportTable& table, QObject* parent) : QAbstractTableModel(parent), table_(table) {}

int ReportTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : table_.rowCount(); }

int ReportTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : table_.columnCount();
}

QVariant ReportTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) {
    return {};
  }
  if (role == Qt::DisplayRole) {
    return DisplayText(table_.cell(index.column(), index.row()));
  }
  if (role == Qt::StatusTipRole) {
    // The value, also in the status bar (cut like the cell when huge); an
    // empty cell leaves the grid's own hint.
    const std::string& text = table_.cell(index.column(), index.row());
    return text.empty() ? QVariant() : QVariant(DisplayText(text));
  }
  return {};
}

Qt::ItemFlags ReportTableModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QString ReportTableModel::DisplayText(const std::string& cell) {
  if (cell.size() <= kDisplayBytes) {
    return QString::fromStdString(cell);
  }
  std::size_t cut = kDisplayBytes;
  while (cut > 0 && (static_cast<unsigned char>(cell[cut]) & 0xC0) == 0x80) {
    --cut;
  }
  return QString::fromUtf8(cell.data(), static_cast<qsizetype>(cut)) + QChar(0x2026);
}

void ReportTableModel::rowsChanged(int first, int last) {
  if (first <= last) {
    emit dataChanged(index(first, 0), index(last, columnCount() - 1));
  }
}

std::string ReportTableModel::addPoint(std::string_view name, const ReportRow& cells) {
  const int row = table_.lastNamedRow() + 1;
  if (row == table_.rowCount()) {
    // The point goes into a new row at the end.
    std::string rejection = table_.nameRejection(name);
    if (!rejection.empty()) {
      return rejection;
    }
    beginInsertRows({}, row, row);
    rejection = table_.addPoint(name, cells);
    endInsertRows();
    return rejection;
  }
  std::string rejection = table_.addPoint(name, cells);
  if (rejection.empty()) {
    rowsChanged(row, row);
  }
  return rejection;
}

std::string ReportTableModel::deleteSelected() {
  const int row = table_.selectedRow();
  const int before = table_.rowCount();
  if (before > kReportMinRows && table_.selectedCol() >= 0 && row >= 0 && row < before) {
    // The rows below move up and the table loses one row.
    beginRemoveRows({}, row, row);
    std::string message = table_.deleteSelected();
    endRemoveRows();
    return message;
  }
  std::string message = table_.deleteSelected();
  if (message.empty()) {
    rowsChanged(row, table_.rowCount() - 1);
  }
  return message;
}

void ReportTableModel::deleteAll() {
  beginResetModel();
  table_.deleteAll();
  endResetModel();
}

int ReportTableModel::moveUp() {
  const int row = table_.moveUp();
  if (row >= 0) {
    rowsChanged(row, row + 1);
  }
  return row;
}

int ReportTableModel::moveDown() {
  const int row = table_.moveDown();
  if (row >= 0) {
    rowsChanged(row - 1, row);
  }
  return row;
}

void ReportTableModel::assignRows(std::vector<ReportRow> rows) {
  beginResetModel();
  table_.assignRows(std::move(rows));
  endResetModel();
}

void ReportTableModel::replaceRows(int first, int total, const std::vector<ReportRow>& rows) {
  beginResetModel();
  table_.setRowCount(total);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (int c = 0; c < kReportColumns; ++c) {
      table_.setCell(c, first + static_cast<int>(i), rows[i][static_cast<std::size_t>(c)]);
    }
  }
  endResetModel();
}

void ReportTableModel::cellMadeCurrent(int row) { table_.cellMadeCurrent(row); }

void ReportTableModel::mouseReleasedAt(int col, int row) { table_.mouseReleasedAt(col, row); }

}  // namespace tesmir
