#pragma once
// The main window: the transformer, six line sections, the arc resistance, the
// protective device status and the one-line result. It owns no calculation:
// "Расчет" hands the control texts to the loop calculation and writes back
// what it returns.

#include <QMainWindow>
#include <QPalette>
#include <QSize>
#include <array>
#include <functional>

#include "core/loop_calc.h"
#include "texts/result_texts.h"

class QAction;
class QComboBox;
class QDialog;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace tesmir {

class MessageSink;
class ResultForm;

class MainForm : public QMainWindow {
  Q_OBJECT

 public:
  MainForm(SchemeState& scheme, MessageSink& messages, ResultForm& results, QWidget* parent = nullptr);

  // Windows opened from here; each is shown modally and may be left unset.
  void setDeviceDialog(QDialog* dialog) { deviceDialog_ = dialog; }
  void setAskNumberDialog(QDialog* dialog) { askNumberDialog_ = dialog; }
  void setReportWindow(QDialog* dialog) { reportWindow_ = dialog; }
  void setAboutWindow(QDialog* dialog) { aboutWindow_ = dialog; }
  // Called before any of those windows opens, so windows built after the
  // first paint are there even when asked for sooner.
  void setWindowsNeeded(std::function<void()> build) { windowsNeeded_ = std::move(build); }
  // Asked before the window closes ("Выход" or the window frame); false keeps
  // the program running.
  void setExitCheck(std::function<bool()> mayExit) { mayExit_ = std::move(mayExit); }
  void setCheckWindow(QDialog* dialog) { checkWindow_ = dialog; }
  // Opens a help topic; "Помощь" calls it with topic 1.
  void setHelpOpener(std::function<void(int)> open) { openHelp_ = std::move(open); }

  // The device status line, written by the protective device check.
  QLabel* statusDDLabel() const { return statusDD_; }

  // The texts of the controls the calculation reads.
  SchemeInput schemeInput() const;

  // Shrinks the fixed-size window to fit `area`, a screen's available
  // geometry, when its full size does not fit; the controls then scroll.
  void fitInto(const QRect& area);

  // Fills the inputs as if each text were typed, in the order of the tab
  // chain, so the lists' change handlers run as they do for typing.
  void setSchemeInput(const SchemeInput& input);

  // The menu "Файл": feeder files and the calculation note. The note items
  // are enabled exactly while "Результаты" is.
  QAction* openSchemeAction() const { return openScheme_; }
  QAction* saveSchemeAction() const { return saveScheme_; }
  QAction* saveSchemeAsAction() const { return saveSchemeAs_; }
  QAction* notePdfAction() const { return notePdf_; }
  QAction* notePrintAction() const { return notePrint_; }
  // "Журнал линий...": the program opens the journal window on it.
  QAction* journalAction() const { return journal_; }
  // The menu "Правка": undo and redo of the feeder's edits.
  QAction* undoAction() const { return undo_; }
  QAction* redoAction() const { return redo_; }

  // The two status texts a failed calculation or an unknown list text leaves.
  void showNotEnoughData();

  // Greys a calculated result line: the inputs no longer are those of the
  // last calculation. Any input change does this; opening a feeder file does
  // it even when every text stays the same. Until the next "Расчет" nothing
  // that would carry the result further (a report row, a note) is offered.
  void markResultStale();

  // Event handlers.
  void StartButtonClick();
  void DDButtonClick();
  void AddToReportButtonClick();
  void ResultMenuClick();
  void ReportMenuClick();
  void CheckMenuClick();
  void HelpMenuClick();
  void AboutMenuClick();
  void WindKindComboBoxChange();
  // Line-kind change of a row; `row` counts from 0.
  void KindPerformLineComboBoxChange(int row);

 signals:
  // A calculation succeeded and the result line is written: the protective
  // device is judged now, before the results window receives its texts.
  void calculationSucceeded();
  // The results window shows the texts of that calculation now.
  void calculationShown(const ResultTexts& texts);
  // The user edited an input (typed or chosen; refills it causes included):
  // `field` numbers the inputs in the order of the tab chain, from 0.
  void inputEdited(int field);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  struct LineRow {
    QComboBox* kind = nullptr;
    QComboBox* stuff = nullptr;
    QLineEdit* length = nullptr;
    QComboBox* quanPar = nullptr;
    QComboBox* ff = nullptr;
    QComboBox* fn = nullptr;
  };

  QWidget* buildTopStrip();
  QWidget* buildTransformerFrame();
  QWidget* buildSchemeFrame();
  QWidget* buildDeviceGroup();
  QWidget* buildResultPanel();
  QLayout* buildButtonRow();
  void buildMenu();
  void buildFileMenu();
  void buildEditMenu();
  void setTabOrderChain();
  void connectHandlers();
  // `dialog` is read once the windows are built.
  void openModal(QDialog* const& dialog);
  // Writes the result line in its normal look; `isResult` when it holds the
  // result of a calculation.
  void setResultLine(const QString& text, bool isResult);
  // Enables "Добавить в отчет..." and the note items while the result line
  // holds the result of the current inputs.
  void updateResultActions();

  SchemeState& scheme_;
  MessageSink& messages_;
  // The window's size with every control in view.
  QSize fullSize_;
  ResultForm& results_;

  QDialog* deviceDialog_ = nullptr;
  QDialog* askNumberDialog_ = nullptr;
  QDialog* reportWindow_ = nullptr;
  QDialog* aboutWindow_ = nullptr;
  QDialog* checkWindow_ = nullptr;
  std::function<void(int)> openHelp_;
  std::function<bool()> mayExit_;
  std::function<void()> windowsNeeded_;

  QComboBox* windKind_ = nullptr;
  QComboBox* transPower_ = nullptr;
  std::array<LineRow, kLineCount> rows_{};
  QLineEdit* rArc_ = nullptr;
  QLabel* statusDD_ = nullptr;
  QPushButton* ddButton_ = nullptr;
  QLabel* iokz_ = nullptr;
  QPalette currentResultPalette_;
  bool resultCurrent_ = false;
  QPushButton* addToReport_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* exit_ = nullptr;
  QMenu* fileMenu_ = nullptr;
  QAction* openScheme_ = nullptr;
  QAction* saveScheme_ = nullptr;
  QAction* saveSchemeAs_ = nullptr;
  QAction* notePdf_ = nullptr;
  QAction* notePrint_ = nullptr;
  QAction* journal_ = nullptr;
  QAction* undo_ = nullptr;
  QAction* redo_ = nullptr;
  // Changes of inputs still being handled; an edit is told once the outermost
  // one is done, so a refill belongs to the change that caused it.
  int changesUnderway_ = 0;
  QAction* resultMenu_ = nullptr;
  QAction* reportMenu_ = nullptr;
  QAction* checkMenu_ = nullptr;
  QAction* helpMenu_ = nullptr;
  QAction* aboutMenu_ = nullptr;
};

}  // namespace tesmir
