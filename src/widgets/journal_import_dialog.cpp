#include "widgets/journal_import_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "report/utf8_text.h"

namespace tesmir {

JournalImportDialog::JournalImportDialog(TextGrid grid, const QString& fileName, QWidget* parent)
    : QDialog(parent), grid_(std::move(grid)), mapping_(ProposeImportMapping(grid_)) {
  setObjectName(QStringLiteral("JournalImportDialog"));
  setWindowTitle(QStringLiteral("Импорт журнала: %1").arg(fileName));
  auto* layout = new QVBoxLayout(this);

  auto* sheetLabel = new QLabel(QStringLiteral("Первые строки таблицы и поле журнала каждого столбца:"), this);
  layout->addWidget(sheetLabel);
  const auto columns = static_cast<int>(mapping_.columns.size());
  const int shown = std::min<int>(kShownRows, static_cast<int>(grid_.size()));
  sheet_ = new QTableWidget(shown + 1, columns, this);
  sheet_->setObjectName(QStringLiteral("JournalImportSheetTable"));
  sheet_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  QStringList letters;
  for (int c = 0; c < columns; ++c) letters << QUtf8(ColumnLetters(static_cast<std::size_t>(c)));
  sheet_->setHorizontalHeaderLabels(letters);
  QStringList rowNames{QStringLiteral("Поле")};
  for (int r = 0; r < shown; ++r) rowNames << QString::number(r + 1);
  sheet_->setVerticalHeaderLabels(rowNames);
  for (int c = 0; c < columns; ++c) {
    auto* box = new QComboBox(sheet_);
    box->setObjectName(QStringLiteral("JournalImportField%1ComboBox").arg(letters[c]));
    for (int f = 0; f < static_cast<int>(ImportField::Count); ++f) {
      box->addItem(QUtf8(ImportFieldTitle(static_cast<ImportField>(f))));
    }
    box->setCurrentIndex(static_cast<int>(mapping_.columns[static_cast<std::size_t>(c)]));
    box->setStatusTip(QStringLiteral("Поле журнала, которое содержит столбец %1").arg(letters[c]));
    connect(box, &QComboBox::currentIndexChanged, this,
            [this, c](int index) { FieldComboBoxChange(static_cast<std::size_t>(c), index); });
    sheet_->setCellWidget(0, c, box);
    boxes_.push_back(box);
    for (int r = 0; r < shown; ++r) {
      const auto& row = grid_[static_cast<std::size_t>(r)];
      const std::string& text =
          static_cast<std::size_t>(c) < row.size() ? row[static_cast<std::size_t>(c)] : std::string();
      sheet_->setItem(r + 1, c, new QTableWidgetItem(QUtf8(text)));
    }
  }
  // Every column at least as wide as its field list, so the chosen field
  // reads whole ("Число и сечение жил" is the longest).
  for (int c = 0; c < columns; ++c) {
    sheet_->setColumnWidth(c,
                           std::max(sheet_->columnWidth(c), boxes_[static_cast<std::size_t>(c)]->sizeHint().width()));
  }
  layout->addWidget(sheet_, 3);

  layout->addWidget(new QLabel(QStringLiteral("Что получится из каждой строки:"), this));
  preview_ = new QTableWidget(0, 2, this);
  preview_->setObjectName(QStringLiteral("JournalImportPreviewTable"));
  preview_->setHorizontalHeaderLabels({QStringLiteral("Строка"), QStringLiteral("Результат")});
  preview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  preview_->verticalHeader()->hide();
  preview_->horizontalHeader()->setStretchLastSection(true);
  layout->addWidget(preview_, 2);

  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("JournalImportSummaryLabel"));
  summary_->setWordWrap(true);
  layout->addWidget(summary_);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("Импортировать"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("JournalImportOkButton"));
  QPushButton* cancel = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("JournalImportCancelButton"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  resize(900, 600);
  fillPreview();
}

QComboBox* JournalImportDialog::fieldBox(std::size_t column) const {
  return column < boxes_.size() ? boxes_[column] : nullptr;
}

std::vector<std::string> JournalImportDialog::reportTexts() const {
  return JournalImportReport(grid_, mapping_, result());
}

void JournalImportDialog::FieldComboBoxChange(std::size_t column, int index) {
  if (column >= mapping_.columns.size() || index < 0 || index >= static_cast<int>(ImportField::Count)) return;
  const auto field = static_cast<ImportField>(index);
  // A field comes from one column: the column that had it gives it up.
  if (field != ImportField::None) {
    for (std::size_t c = 0; c < mapping_.columns.size(); ++c) {
      if (c != column && mapping_.columns[c] == field) {
        mapping_.columns[c] = ImportField::None;
        const QSignalBlocker block(boxes_[c]);
        boxes_[c]->setCurrentIndex(0);
      }
    }
  }
  mapping_.columns[column] = field;
  fillPreview();
}

void JournalImportDialog::fillPreview() {
  const JournalImport imported = result();
  const int shown = std::min<int>(kShownRows, static_cast<int>(imported.rows.size()));
  preview_->setRowCount(shown);
  for (int i = 0; i < shown; ++i) {
    const ImportedRow& row = imported.rows[static_cast<std::size_t>(i)];
    preview_->setItem(i, 0, new QTableWidgetItem(QString::number(row.row + 1)));
    preview_->setItem(i, 1, new QTableWidgetItem(QUtf8(ImportRowPreview(imported, static_cast<std::size_t>(i)))));
  }
  summary_->setText(QUtf8(JournalImportReport(grid_, mapping_, imported).front()));
}

}  // namespace tesmir
