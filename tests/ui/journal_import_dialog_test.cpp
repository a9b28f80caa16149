// The mapping dialog: the proposed fields in the lists, each shown whole, a
// correction by the keyboard changes the preview of the rows, and the
// accepted mapping gives the lines.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QTableWidget>
#include <QTest>

#include "support/ui_test_app.h"
#include "widgets/journal_import_dialog.h"

namespace tesmir {
namespace {

TEST(JournalImportDialog, CorrectedFieldChangesThePreview) {
  tesmir_test::EnsureApplication();
  const TextGrid grid = {
      {"Линия", "Откуда", "Куда", "Длина, м", "Прим."},
      {"W1", "ТП-1", "ЩР-1", "120", "Q7"},
      {"W2", "ЩР-1", "Насос", "35", "Q8"},
  };
  JournalImportDialog dialog(grid, QStringLiteral("журнал.csv"));
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  auto* preview = dialog.findChild<QTableWidget*>(QStringLiteral("JournalImportPreviewTable"));
  auto* idBox = dialog.findChild<QComboBox*>(QStringLiteral("JournalImportFieldAComboBox"));
  auto* noteBox = dialog.findChild<QComboBox*>(QStringLiteral("JournalImportFieldEComboBox"));
  ASSERT_NE(preview, nullptr);
  ASSERT_NE(idBox, nullptr);
  ASSERT_NE(noteBox, nullptr);
  EXPECT_EQ(idBox->currentText(), QStringLiteral("Обозначение"));
  EXPECT_EQ(noteBox->currentText(), QStringLiteral("—"));
  ASSERT_EQ(preview->rowCount(), 2);
  EXPECT_EQ(preview->item(1, 1)->text(), QStringLiteral("линия W2, питается от W1, 35 м"));
  // Every field list shows its longest field whole.
  auto* sheet = dialog.findChild<QTableWidget*>(QStringLiteral("JournalImportSheetTable"));
  ASSERT_NE(sheet, nullptr);
  for (int c = 0; c < sheet->columnCount(); ++c) {
    const auto* box = qobject_cast<const QComboBox*>(sheet->cellWidget(0, c));
    ASSERT_NE(box, nullptr);
    EXPECT_GE(sheet->columnWidth(c), box->sizeHint().width()) << c;
  }

  // The designer says the last column holds the designations: one step down
  // the list from "—" is "Обозначение".
  noteBox->setFocus();
  QTest::keyClick(noteBox, Qt::Key_Down);
  EXPECT_EQ(noteBox->currentText(), QStringLiteral("Обозначение"));
  EXPECT_EQ(idBox->currentText(), QStringLiteral("—"));  // the field moved, it is not read twice
  EXPECT_EQ(preview->item(1, 1)->text(), QStringLiteral("линия Q8, питается от Q7, 35 м"));
  EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("JournalImportSummaryLabel"))->text(),
            QStringLiteral("Прочитано линий: 2; строк не прочитано: 0."));

  const JournalImport result = dialog.result();
  ASSERT_EQ(result.lines.size(), 2U);
  EXPECT_EQ(result.lines[0].id, "Q7");
  EXPECT_EQ(result.lines[1].parent, std::optional<std::string>("Q7"));
  EXPECT_EQ(dialog.reportTexts().back(), "Строка 3, линия Q8: прочитана.");
}

}  // namespace
}  // namespace tesmir
