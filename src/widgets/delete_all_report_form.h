#pragma once
// "Удаление отчета": asks before every row of the report is deleted; the
// caller deletes them when the answer is "Да".

#include <QDialog>

class QPushButton;

namespace tesmir {

class DeleteAllReportForm : public QDialog {
  Q_OBJECT

 public:
  explicit DeleteAllReportForm(QWidget* parent = nullptr);

  // Asks and waits for the answer: true for "Да", false for "Отмена" or Esc.
  // The caller deletes the rows.
  bool confirm();

  // "Да": closes with Accepted.
  void OKBitBtnClick();
};

}  // namespace tesmir
