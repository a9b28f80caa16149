#pragma once
// "Удаление отчета": asks before every row of the report is deleted.

#include <QDialog>

class QPushButton;

namespace tesmir {

class ReportTable;

class DeleteAllReportForm : public QDialog {
  Q_OBJECT

 public:
  explicit DeleteAllReportForm(ReportTable& table, QWidget* parent = nullptr);

  // "Да": clears every row, leaves fourteen, closes with Accepted.
  void OKBitBtnClick();

 private:
  ReportTable& table_;
};

}  // namespace tesmir
