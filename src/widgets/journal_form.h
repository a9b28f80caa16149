#pragma once
// The window "Журнал линий": the network's fields above one table of every
// line with its figures and verdicts, edited in place. The window only shows
// the journal document and turns the user's edits into its undo steps; it
// works beside the main window (not modal).

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <vector>

#include "document/journal_document.h"
#include "journal/journal_import.h"
#include "journal/journal_network.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QTableView;

namespace tesmir {

class FileChooser;
class JournalDiagramView;
class JournalModel;
class MessageSink;

namespace journal_form_texts {
inline const QString kTitle = QStringLiteral("Журнал линий");
inline const QString kUnsaved = QStringLiteral("Журнал линий не сохранен. Сохранить изменения?");
inline const QString kFilter = QStringLiteral("Журнал линий Тесмир (*.tsn)");
inline const QString kProposedName = QStringLiteral("Журнал линий.tsn");
// The largest file and the largest paste the window takes.
inline constexpr qsizetype kMaxBytes = qsizetype{64} << 20;
inline const QString kFileTooLarge =
    QStringLiteral("Файл %1 больше 64 МБ: журнал линий такого размера не открывается.");
inline const QString kPasteTooLarge =
    QStringLiteral("Текст в буфере обмена больше 64 МБ: такой текст в журнал не вставляется.");
inline const QString kImportFilter = QStringLiteral("Таблица (*.xlsx *.csv)");
}  // namespace journal_form_texts

// What the window asks of the rest of the program; composed by the program,
// so the window knows neither the main window nor the report.
struct JournalLinks {
  // Fills the main window with line `line`'s feeder and calculates it.
  std::function<void(const JournalNetwork& network, int line)> openInMainWindow;
  // Adds the lines to the report, each named by its designation.
  std::function<void(const JournalNetwork& network, const std::vector<int>& lines)> addToReport;
  // Opens a help topic.
  std::function<void(int topic)> openHelp;
  // "Экспорт" → "в Excel" / "в Calc" of the journal with its results.
  std::function<void(const JournalNetwork& network, const JournalResult& result)> exportToExcel;
  std::function<void(const JournalNetwork& network, const JournalResult& result)> exportToCalc;
  // Lets the user pick and set up the printer for "Печать..."; false when
  // cancelled.
  std::function<bool(QWidget* parent, QPrinter& printer)> choosePrinter;
};

class JournalForm : public QMainWindow {
  Q_OBJECT

 public:
  JournalForm(LineJournal& journal, MessageSink& messages, FileChooser& files, QWidget* parent = nullptr);
  ~JournalForm() override;

  void setLinks(JournalLinks links);
  // Keeps the last folder and the five last journals in an INI file.
  void keepPlacesIn(const QString& settingsFile);

  LineJournal& journal() { return journal_; }
  JournalModel& model() { return *model_; }
  QTableView* table() const { return table_; }
  JournalDiagramView* diagram() const { return diagram_; }
  const QString& fileName() const { return fileName_; }
  const QStringList& recentFiles() const { return recent_; }

  // Reads a journal file; a damaged one changes nothing and says why.
  bool openFile(const QString& path);
  // Asks whether to save unsaved changes; false when the user cancels or the
  // save fails.
  bool offerToSave(QWidget* parent);

  void NewMenuClick();
  void OpenMenuClick();
  void ImportMenuClick();
  void PrintMenuClick();
  void PdfMenuClick();
  void ExcelMenuClick();
  void CalcMenuClick();
  bool SaveMenuClick();
  bool SaveAsMenuClick();
  void CopyMenuClick();
  void PasteMenuClick();
  void InsertLineMenuClick();
  void InsertFedLineMenuClick();
  void DeleteLinesMenuClick();
  void MoveUpMenuClick();
  void MoveDownMenuClick();
  void OpenInMainMenuClick();
  void AddToReportMenuClick();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  QWidget* buildNetworkFields();
  void showNetwork();
  void showTitle();
  void showSummary();
  void showRecentFiles();
  void updateLineActions();
  void showColumns();
  bool writeTo(const QString& path);
  void useFile(const QString& path);
  QString startFolder() const;
  // The mapping dialog over a sheet's grid, then its lines as one step and
  // the report. `source` names the sheet in the dialog's title.
  void importThroughMapping(TextGrid grid, const QString& source);
  // The journal's file name as its paper shows it.
  QString paperFileName() const;
  int currentLine() const;
  std::vector<int> selectedLines() const;
  void selectLine(int line, int column);

  LineJournal& journal_;
  MessageSink& messages_;
  FileChooser& files_;
  JournalModel* model_ = nullptr;
  QTableView* table_ = nullptr;
  JournalDiagramView* diagram_ = nullptr;
  QComboBox* windKind_ = nullptr;
  QComboBox* transPower_ = nullptr;
  std::vector<std::pair<NetworkField, QLineEdit*>> edits_;
  QLabel* summary_ = nullptr;
  QAction* openInMain_ = nullptr;
  QAction* addToReport_ = nullptr;
  QAction* print_ = nullptr;
  QAction* showBoth_ = nullptr;
  QAction* showInputs_ = nullptr;
  QAction* showResults_ = nullptr;
  QAction* recentSeparator_ = nullptr;
  QList<QAction*> recentActions_;
  JournalLinks links_;
  QString fileName_;
  QString settingsFile_;
  QString lastFolder_;
  QStringList recent_;
};

}  // namespace tesmir
