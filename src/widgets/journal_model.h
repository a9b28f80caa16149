#pragma once
// The line journal as a table: one row per line, the input columns (edited
// in place, each edit one undo step of the journal) and the result columns.
// The model keeps no copy of the lines: only the order in which it shows
// them (by the tree or as entered, optionally only the failing lines).

#include <QAbstractTableModel>
#include <QColor>
#include <cstdint>
#include <vector>

#include "core/display_format.h"
#include "document/journal_document.h"

namespace tesmir {

enum class ResultColumn : std::uint8_t {
  Ik1,
  Ik1Min,
  Ik3Start,
  Ik3End,
  TripCurrent,
  TNorm,
  Verdict,
  VerdictMin,
  Breaking,
  LmaxHot,
  SminHot,
  DuLine,
  DuTp,
  DuVru,
  Thermal,
  Remarks,
  Count
};
inline constexpr int kResultColumnCount = static_cast<int>(ResultColumn::Count);

// A failing verdict and an error: the program's dark red; a warning: amber.
inline const QColor kJournalFailColour{139, 0, 0};
inline const QColor kJournalWarningColour{160, 95, 0};

class JournalModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit JournalModel(LineJournal& journal, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  static bool isInputColumn(int column) { return column < kLineFieldCount; }
  static int columnOf(LineField field) { return static_cast<int>(field); }
  static int columnOf(ResultColumn column) { return kLineFieldCount + static_cast<int>(column); }

  // The journal line shown in a row, and the row showing a line (-1: hidden).
  int lineAt(int row) const;
  int rowOf(int line) const;
  // The depth of a line in the tree (0 for a root line or a broken link).
  int depthOf(int line) const;

  // Order by the tree (each line under its feeding line) or as entered.
  void setTreeOrder(bool tree);
  bool treeOrder() const { return tree_; }
  // Only lines that fail a verdict, have an error or a warning.
  void setOnlyViolations(bool only);
  bool onlyViolations() const { return onlyViolations_; }

  // The last refused text's reason, for the window to show.
  QString takeRefusal();

  // The shown text of a result cell.
  QString resultText(int line, ResultColumn column) const;
  // How a result cell was obtained.
  QString resultTip(int line, ResultColumn column) const;

  // Lines, lines with errors, lines failing a verdict.
  struct Summary {
    int lines = 0;
    int errors = 0;
    int failing = 0;
  };
  Summary summary() const;

 private:
  void rebuildRows();
  void onLineChanged(int line, int field);
  void onResultsChanged();
  QColor resultColour(const LineResult& r, ResultColumn column) const;

  LineJournal& journal_;
  NumberSeparators separators_;
  bool tree_ = true;
  bool onlyViolations_ = false;
  std::vector<int> rows_;       // line of each row
  std::vector<int> rowOfLine_;  // row of each line, -1 when hidden
  std::vector<int> depth_;      // of each line
  QString refusal_;
};

}  // namespace tesmir
