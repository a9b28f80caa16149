#include "document/report_document.h"

#include <algorithm>
#include <utility>

#include "document/recorded_step.h"

namespace tesmir {

// One change of the report: the rows before and after it.
using ReportStepCommand = RecordedStep<ReportDocument, ReportDocument::Rows>;

ReportDocument::ReportDocument(ReportTableModel& model, QObject* parent) : QObject(parent), model_(model) {
  // The model may go first when the window is destroyed: it is the connection's context.
  connect(&undo_, &QUndoStack::cleanChanged, &model_, [this](bool clean) { model_.setModified(!clean); });
}

ReportDocument::Rows ReportDocument::rows(int first, int last) const {
  const ReportTable& t = model_.table();
  Rows r;
  r.first = std::clamp(first, 0, t.rowCount());
  r.total = t.rowCount();
  const int end = last < 0 ? t.rowCount() : std::min(last, t.rowCount());
  for (int i = r.first; i < end; ++i) r.rows.push_back(t.row(i));
  r.selectedRow = t.selectedRow();
  return r;
}

void ReportDocument::restore(const Rows& r) {
  model_.replaceRows(r.first, r.total, r.rows);
  model_.cellMadeCurrent(r.selectedRow);
  model_.setModified(!undo_.isClean());
}

template <class Change>
auto ReportDocument::recorded(const QString& name, int first, int last, Change change) {
  Rows before = rows(first, last);
  auto outcome = change();
  Rows after = rows(first, last);
  if (after.rows != before.rows || after.total != before.total) {
    undo_.push(new ReportStepCommand(*this, std::move(before), std::move(after), name));
    model_.setModified(true);
  }
  return outcome;
}

std::string ReportDocument::addPoint(std::string_view name, const ReportRow& cells) {
  // The point goes below the last named row, into a new row at the end when
  // there is none below.
  const int target = model_.table().lastNamedRow() + 1;
  return recorded(QStringLiteral("Добавить"), target, -1, [&] { return model_.addPoint(name, cells); });
}

std::string ReportDocument::deleteSelected() {
  // The rows below the deleted one move up.
  return recorded(QStringLiteral("Удалить"), model_.table().selectedRow(), -1, [&] { return model_.deleteSelected(); });
}

void ReportDocument::deleteAll() {
  recorded(QStringLiteral("Удалить все"), 0, -1, [&] {
    model_.deleteAll();
    return 0;
  });
}

int ReportDocument::moveUp() {
  const int row = model_.table().selectedRow();
  return recorded(QStringLiteral("Вверх"), row - 1, row + 1, [&] { return model_.moveUp(); });
}

int ReportDocument::moveDown() {
  const int row = model_.table().selectedRow();
  return recorded(QStringLiteral("Вниз"), row, row + 2, [&] { return model_.moveDown(); });
}

void ReportDocument::opened() { undo_.clear(); }

void ReportDocument::saved() { undo_.setClean(); }

}  // namespace tesmir
