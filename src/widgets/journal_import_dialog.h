#pragma once
// The mapping of an imported spreadsheet: its first rows, the journal field
// proposed for each column (the designer corrects it), and a preview of what
// each row becomes. "Импортировать" accepts the mapping; the import itself is
// one step of the journal document.

#include <QDialog>
#include <vector>

#include "journal/journal_import.h"

class QComboBox;
class QTableWidget;
class QLabel;

namespace tesmir {

class JournalImportDialog : public QDialog {
  Q_OBJECT

 public:
  // `grid` as read from the file; `fileName` for the title.
  JournalImportDialog(TextGrid grid, const QString& fileName, QWidget* parent = nullptr);

  const ImportMapping& mapping() const { return mapping_; }
  // The lines and the report with the mapping as it stands.
  JournalImport result() const { return ImportJournalRows(grid_, mapping_); }
  std::vector<std::string> reportTexts() const;

  // The list of a sheet column's field.
  QComboBox* fieldBox(std::size_t column) const;

  // How many rows the sheet and the preview show.
  static constexpr int kShownRows = 30;

 private:
  void FieldComboBoxChange(std::size_t column, int index);
  void fillPreview();

  TextGrid grid_;
  ImportMapping mapping_;
  QTableWidget* sheet_ = nullptr;
  QTableWidget* preview_ = nullptr;
  QLabel* summary_ = nullptr;
  std::vector<QComboBox*> boxes_;
};

}  // namespace tesmir
