#pragma once
// "Отчет": shows the report table in a grid, moves and deletes rows, and saves
// and opens report files.

#include <QDialog>
#include <array>
#include <utility>

#include "report/report_table.h"
#include "texts/report_headings.h"

#include <QList>

#include "document/report_places.h"

class QAction;
class QLabel;
class QStatusBar;
class QTableView;

namespace tesmir {

class DeleteAllReportForm;
class FileChooser;
class MessageSink;
class ReportTable;
class ReportTableModel;
class ReportDocument;

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

  // The grid's model: every change of the table goes through it.
  ReportTableModel& model() { return *model_; }
  // The report with its undo stack: the user's changes go through it.
  ReportDocument& document() { return *document_; }
  // "Правка" → "Отменить" and "Повторить".
  QAction* undoAction() const { return undoAction_; }
  QAction* redoAction() const { return redoAction_; }

  // "Сохранить" (Save As while the report has no file) and "Сохранить как...";
  // true once the report is written, false when it failed or was cancelled.
  bool saveReport();
  bool saveReportAs();

  // Before the points are replaced (leaving the program, opening a report):
  // asks "Отчет не сохранен. Сохранить изменения?" over `parent` when named
  // points were added, deleted or moved since the last open or save. False
  // when the points must stay (cancelled, or the save failed or was
  // cancelled).
  bool offerToSave(QWidget* parent);

  // Keeps the dialogs' start folder and the recent files in `settingsFile`
  // from now on, starting from what it holds.
  void keepPlacesIn(const QString& settingsFile);
  const ReportPlaces& places() const { return places_; }
  ReportPlaces& places() { return places_; }

  // What came of reading a report file.
  enum class OpenResult { Opened, Failed, Declined };
  // Reads `path` into the table as "Открыть..." does once a name is chosen:
  // the layout by the name's ending, the same messages and the same question
  // for a damaged file, whose Cancel gives Declined with the table unchanged.
  OpenResult openReportFile(const QString& path);

  void SaveReportMenuClick();
  void SaveAsReportMenuClick();
  void OpenReportMenuClick();
  void UpSpeedButtonClick();
  void DownSpeedButtonClick();
  void DeleteReportButtonClick();
  void DeleteAllButtonClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* buildTitles();
  // Sizes every column to its widest title or value, at least 50 pixels, and
  // the grid to its columns.
  void fitColumns();
  void makeCurrent(int row);
  // Keep the grid's current row while the model drops rows or is reset.
  void holdCurrentRow();
  void restoreCurrentRow();
  // Writes the table to `path`; shows the failure and returns false on error.
  bool writeTo(const QString& path);
  void setReportFileName(const QString& path);
  // Lists the recent files at the end of the "Файл" menu.
  void showRecentFiles();
  void openRecentFile(int index);

  ReportTable& table_;
  MessageSink& messages_;
  FileChooser& files_;
  DeleteAllReportForm& deleteAllForm_;
  ReportTableModel* model_;
  ReportDocument* document_ = nullptr;
  QAction* undoAction_ = nullptr;
  QAction* redoAction_ = nullptr;
  QTableView* grid_;
  QStatusBar* statusBar_;
  QAction* exportToExcelAction_;
  QAction* exportToCalcAction_;
  QList<QAction*> recentActions_;
  QAction* recentSeparator_;
  ReportPlaces places_;
  QAction* printAction_ = nullptr;
  QAction* pdfAction_ = nullptr;
  QString reportFileName_;
  // The bold title and the unit over each column.
  std::array<std::pair<QLabel*, QLabel*>, kReportColumns> titleLabels_{};
  bool syncing_ = false;
  int heldRow_ = 0;
  int heldColumn_ = 0;
};

}  // namespace tesmir
