#include "document/report_document.h"

#include <utility>

#include "document/recorded_step.h"

namespace tesmir {

// One change of the report: the rows before and after it.
using ReportStepCommand = RecordedStep<ReportDocument, ReportDocument::Rows>;

ReportDocument::ReportDocument(ReportTableModel& model, QObject* parent) : QObject(parent), model_(model) {
  connect(&undo_, &QUndoStack::cleanChanged, this, [this](bool clean) { model_.setModified(!clean); });
}

ReportDocument::Rows ReportDocument::rows() const {
  const ReportTable& t = model_.table();
  Rows r;
  r.rows.reserve(static_cast<std::size_t>(t.rowCount()));
  for (int i = 0; i < t.rowCount(); ++i) r.rows.push_back(t.row(i));
  r.selectedRow = t.selectedRow();
  return r;
}

void ReportDocument::restore(const Rows& r) {
  model_.assignRows(r.rows);
  model_.cellMadeCurrent(r.selectedRow);
  model_.setModified(!undo_.isClean());
}

template <class Change>
auto ReportDocument::recorded(const QString& name, Change change) {
  Rows before = rows();
  auto outcome = change();
  Rows after = rows();
  if (after.rows != before.rows) {
    undo_.push(new ReportStepCommand(*this, std::move(before), std::move(after), name));
    model_.setModified(true);
  }
  return outcome;
}

std::string ReportDocument::addPoint(std::string_view name, const ReportRow& cells) {
  return recorded(QStringLiteral("Добавить"), [&] { return model_.addPoint(name, cells); });
}

std::string ReportDocument::deleteSelected() {
  return recorded(QStringLiteral("Удалить"), [&] { return model_.deleteSelected(); });
}

void ReportDocument::deleteAll() {
  recorded(QStringLiteral("Удалить все"), [&] {
    model_.deleteAll();
    return 0;
  });
}

int ReportDocument::moveUp() {
  return recorded(QStringLiteral("Вверх"), [&] { return model_.moveUp(); });
}

int ReportDocument::moveDown() {
  return recorded(QStringLiteral("Вниз"), [&] { return model_.moveDown(); });
}

void ReportDocument::opened() { undo_.clear(); }

void ReportDocument::saved() { undo_.setClean(); }

}  // namespace tesmir
