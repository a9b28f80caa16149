#pragma once
// "Отчет": shows the report table in a grid, moves and deletes rows, and saves
// and opens report files.

#include <QDialog>

class QAction;
class QStatusBar;
class QTableView;

namespace tesmir {

class DeleteAllReportForm;
class FileChooser;
class MessageSink;
class ReportTable;
class ReportTableModel;

// The title and unit the report shows over a column (0..11).
struct ReportColumnHeading {
  QString title;
  QString unit;
};
ReportColumnHeading ReportColumnHeadingOf(int column);

class ReportForm : public QDialog {
  Q_OBJECT

 public:
  ReportForm(ReportTable& table, MessageSink& messages, FileChooser& files, DeleteAllReportForm& deleteAllForm,
             QWidget* parent = nullptr);
  ~ReportForm() override;

  // The current report file: empty until a file was saved or opened.
  const QString& reportFileName() const { return reportFileName_; }

  // The "Экспорт" items; the spreadsheet export connects to them.
  QAction* exportToExcelAction() const { return exportToExcelAction_; }
  QAction* exportToCalcAction() const { return exportToCalcAction_; }
  // "Печать..." and "Сохранить в PDF..." of the menu "Файл".
  QAction* printAction() const { return printAction_; }
  QAction* pdfAction() const { return pdfAction_; }

  // Shows the table as it is now, keeping the grid's current row where it can.
  void refreshGrid();

  void SaveReportMenuClick();
  void SaveAsReportMenuClick();
  void OpenReportMenuClick();
  void UpSpeedButtonClick();
  void DownSpeedButtonClick();
  void DeleteReportButtonClick();
  void DeleteAllButtonClick();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* buildTitles();
  void makeCurrent(int row);
  // Writes the table to `path`; shows the failure and returns false on error.
  bool writeTo(const QString& path);
  void setReportFileName(const QString& path);

  ReportTable& table_;
  MessageSink& messages_;
  FileChooser& files_;
  DeleteAllReportForm& deleteAllForm_;
  ReportTableModel* model_;
  QTableView* grid_;
  QStatusBar* statusBar_;
  QAction* exportToExcelAction_;
  QAction* exportToCalcAction_;
  QAction* printAction_ = nullptr;
  QAction* pdfAction_ = nullptr;
  QString reportFileName_;
  bool syncing_ = false;
};

}  // namespace tesmir
