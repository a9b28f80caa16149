// The window "Журнал линий" driven as the designer drives it: by object
// names, keys and the clipboard. The figures themselves are the journal
// calculation's (tested with it); here only that the window shows them,
// follows every edit, undoes it, and hands lines to the main window and the
// report.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include "core/display_format.h"
#include "document/journal_document.h"
#include "journal/journal_feeder.h"
#include "report/journal_file.h"
#include "report/report_export.h"
#include "report/sheet_reader.h"
#include "support/modal_guard.h"
#include "support/recording_message_sink.h"
#include "support/scripted_file_chooser.h"
#include "support/shown_app_test.h"
#include "support/ui_test_app.h"
#include "support/wait.h"
#include "widgets/journal_diagram_view.h"
#include "widgets/journal_form.h"
#include "widgets/journal_model.h"
#include "widgets/report_form.h"

namespace {

using tesmir::JournalForm;
using tesmir::JournalModel;
using tesmir::LineField;
using tesmir::ResultColumn;
using tesmir_test::RecordingMessageSink;

const QString kOffice = QStringLiteral(TESMIR_SOURCE_DIR "/examples/office.tsn");

// A PDF's text as pdftotext gives it.
QString PdfText(const QString& path) {
  QProcess run;
  run.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
  EXPECT_TRUE(run.waitForFinished(60000));
  EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
  return QString::fromUtf8(run.readAllStandardOutput());
}

// Key by key, Cyrillic letters too (QTest::keyClicks takes ASCII only).
void TypeKeys(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() < 0x80) {
      QTest::keyClick(widget, c.toLatin1());
    } else {
      QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
      QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
  }
}

// The window's page: its widgets by object name.
struct JournalPage {
  JournalForm& form;
  QAction* action(const char* name) const { return form.findChild<QAction*>(QLatin1String(name)); }
  QTableView* table() const { return form.findChild<QTableView*>(QStringLiteral("JournalTable")); }
  JournalModel& model() const { return form.model(); }
  int row(const char* id) const {
    for (int r = 0; r < model().rowCount(); ++r) {
      if (cell(r, model().columnOf(LineField::Id)) == QLatin1String(id)) return r;
    }
    return -1;
  }
  QString cell(int row, int column) const { return model().index(row, column).data().toString(); }
  QString cell(const char* id, LineField field) const { return cell(row(id), JournalModel::columnOf(field)); }
  QString cell(const char* id, ResultColumn column) const { return cell(row(id), JournalModel::columnOf(column)); }
  // Types `text` into a cell as a user does: F2, select all, keys, Enter.
  void type(int row, int column, const QString& text) const {
    table()->setCurrentIndex(model().index(row, column));
    table()->setFocus();
    QTest::keyClick(table(), Qt::Key_F2);
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(editor, table()) << "no editor opened";
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    TypeKeys(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The item view commits the editor's text from the event loop.
    QApplication::processEvents();
  }
  void type(const char* id, LineField field, const QString& text) const {
    type(row(id), JournalModel::columnOf(field), text);
  }
  void keys(QKeySequence::StandardKey key) const {
    const QKeySequence seq(key);
    QTest::keySequence(&form, seq);
  }
};

class JournalFormTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    tesmir_test::EnsureApplication();
    QApplication::setQuitOnLastWindowClosed(false);
  }
  JournalFormTest() : form_(journal_, messages_, files_) {
    form_.show();
    form_.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form_));
  }
  void openOffice() { ASSERT_TRUE(form_.openFile(kOffice)) << messages_.texts().join(QLatin1Char('\n')).toStdString(); }

  RecordingMessageSink messages_;
  tesmir_test::ScriptedFileChooser files_;
  tesmir::LineJournal journal_;
  JournalForm form_;
  JournalPage page_{form_};
  QTemporaryDir dir_;
};

TEST_F(JournalFormTest, TypingACableChangesTheFiguresBelowItAndUndoRedoRestoreThem) {
  openOffice();
  const QString w1Ik1 = page_.cell("W1", ResultColumn::Ik1);
  const QString w5Ik1 = page_.cell("W5", ResultColumn::Ik1);
  const QString w5Du = page_.cell("W5", ResultColumn::DuTp);
  ASSERT_FALSE(w5Ik1.isEmpty());

  // W2 feeds W5: a longer W2 lowers W5's current; W1 above stays.
  page_.type("W2", LineField::Length, QStringLiteral("140"));
  EXPECT_EQ(page_.cell("W2", LineField::Length), QStringLiteral("140"));
  EXPECT_NE(page_.cell("W5", ResultColumn::Ik1), w5Ik1);
  EXPECT_NE(page_.cell("W5", ResultColumn::DuTp), w5Du);
  EXPECT_EQ(page_.cell("W1", ResultColumn::Ik1), w1Ik1);
  EXPECT_TRUE(form_.isWindowModified());
  EXPECT_TRUE(form_.windowTitle().contains(QStringLiteral("office.tsn")));
  EXPECT_EQ(page_.action("JournalUndoMenu")->text(), QStringLiteral("Отменить изменение «Длина, м»"));

  QTest::keyClick(&form_, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(page_.cell("W2", LineField::Length), QStringLiteral("40"));
  EXPECT_EQ(page_.cell("W5", ResultColumn::Ik1), w5Ik1);
  EXPECT_EQ(page_.cell("W5", ResultColumn::DuTp), w5Du);
  EXPECT_FALSE(form_.isWindowModified());

  QTest::keyClick(&form_, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(page_.cell("W2", LineField::Length), QStringLiteral("140"));
  EXPECT_NE(page_.cell("W5", ResultColumn::Ik1), w5Ik1);
}

TEST_F(JournalFormTest, AMarkFillsOnlyTheEmptyCellsAsOneStep) {
  page_.action("JournalInsertLineMenu")->trigger();
  ASSERT_EQ(journal_.lineCount(), 1);
  const int row = page_.table()->currentIndex().row();
  page_.type(row, JournalModel::columnOf(LineField::Fn), QStringLiteral("50"));
  const int steps = journal_.undoStack().count();
  page_.type(row, JournalModel::columnOf(LineField::Mark), QStringLiteral("АВВГ 3х95+1х35"));
  EXPECT_EQ(journal_.undoStack().count(), steps + 1);
  EXPECT_EQ(page_.cell(row, JournalModel::columnOf(LineField::Kind)), QStringLiteral("Кабель с ПВХ изоляцией"));
  EXPECT_EQ(page_.cell(row, JournalModel::columnOf(LineField::Stuff)), QStringLiteral("Алюминий"));
  EXPECT_EQ(page_.cell(row, JournalModel::columnOf(LineField::Ff)), QStringLiteral("95"));
  EXPECT_EQ(page_.cell(row, JournalModel::columnOf(LineField::Fn)), QStringLiteral("50"));  // typed first: it wins
  EXPECT_EQ(page_.cell(row, JournalModel::columnOf(LineField::Phases)), QStringLiteral("3"));
  QTest::keyClick(&form_, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(page_.cell(row, JournalModel::columnOf(LineField::Kind)), QString());
  EXPECT_EQ(page_.cell(row, JournalModel::columnOf(LineField::Mark)), QString());
  EXPECT_EQ(page_.cell(row, JournalModel::columnOf(LineField::Fn)), QStringLiteral("50"));
}

TEST_F(JournalFormTest, APastedBlockAddsLinesAsOneStepAndCopyGivesItBack) {
  // Columns from "Линия" on: id, parent, from, to, mark, kind, material, ff, fn, par, length.
  const QString block = QStringLiteral(
      "A\t\tТП\tЩ1\t\tКабель с ПВХ изоляцией\tАлюминий\t240\t240\t2\t100\r\n"
      "B\tA\tЩ1\tЩ2\t\tКабель с ПВХ изоляцией\tМедь\t2.5\t2.5\t\t40\r\n");
  QApplication::clipboard()->setText(block);
  page_.table()->setFocus();
  QTest::keyClick(&form_, Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(journal_.lineCount(), 2);
  EXPECT_EQ(journal_.undoStack().count(), 1);
  EXPECT_EQ(page_.action("JournalUndoMenu")->text(), QStringLiteral("Отменить вставку из буфера обмена"));
  EXPECT_EQ(page_.cell("B", LineField::Stuff), QStringLiteral("Медь"));
  EXPECT_EQ(page_.cell("B", LineField::Parent), QStringLiteral("A"));
  // Computed: the ends of both lines have a current.
  EXPECT_NE(page_.cell("B", ResultColumn::Ik1), QStringLiteral("—"));
  // B is shown under A, indented.
  EXPECT_EQ(page_.model().headerData(page_.row("B"), Qt::Vertical, Qt::DisplayRole).toString(), QStringLiteral("   B"));

  // A second paste over B's length changes one cell, adds nothing.
  page_.table()->setCurrentIndex(page_.model().index(page_.row("B"), JournalModel::columnOf(LineField::Length)));
  QApplication::clipboard()->setText(QStringLiteral("55\n"));
  QTest::keyClick(&form_, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(journal_.lineCount(), 2);
  EXPECT_EQ(page_.cell("B", LineField::Length), QStringLiteral("55"));

  // Copy gives the cells as tab-separated text.
  page_.table()->selectionModel()->select(
      QItemSelection(page_.model().index(page_.row("A"), 0), page_.model().index(page_.row("B"), 3)),
      QItemSelectionModel::ClearAndSelect);
  QTest::keyClick(&form_, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("A\t\tТП\tЩ1\nB\tA\tЩ1\tЩ2\n"));

  QTest::keyClick(&form_, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(&form_, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(journal_.lineCount(), 0);
}

TEST_F(JournalFormTest, ARefusedPasteChangesNothingAndSaysWhy) {
  openOffice();
  const int lines = journal_.lineCount();
  page_.table()->setCurrentIndex(page_.model().index(0, JournalModel::columnOf(LineField::Phases)));
  QApplication::clipboard()->setText(QStringLiteral("3\n2\n"));
  QTest::keyClick(&form_, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(messages_.informed(), QStringList{tesmir::journal_names::kBadPhases});
  EXPECT_EQ(journal_.lineCount(), lines);
  EXPECT_EQ(journal_.undoStack().count(), 0);

  // A huge clipboard is refused with the limit named, before it is read.
  messages_.clear();
  QApplication::clipboard()->setText(QString(tesmir::journal_form_texts::kMaxBytes / 2 + 1, QLatin1Char('x')));
  QTest::keyClick(&form_, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(messages_.informed(), QStringList{tesmir::journal_form_texts::kPasteTooLarge});
  EXPECT_EQ(journal_.undoStack().count(), 0);
  QApplication::clipboard()->clear();
}

TEST_F(JournalFormTest, DeletingAFeedingLineTellsTheLinesItFed) {
  openOffice();
  page_.table()->setCurrentIndex(page_.model().index(page_.row("W2"), 0));
  QTest::keyClick(&form_, Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(page_.row("W2"), -1);
  EXPECT_TRUE(page_.cell("W5", ResultColumn::Remarks).contains(QStringLiteral("родительская линия W2 не найдена")));
  EXPECT_EQ(page_.cell("W5", LineField::Parent), QStringLiteral("W2"));
  EXPECT_EQ(page_.action("JournalUndoMenu")->text(), QStringLiteral("Отменить удаление линий"));
  page_.action("JournalUndoMenu")->trigger();
  EXPECT_NE(page_.row("W2"), -1);
  EXPECT_FALSE(page_.cell("W5", ResultColumn::Remarks).contains(QStringLiteral("не найдена")));

  // A line fed from the current one: its feeding line and its start are set.
  page_.table()->setCurrentIndex(page_.model().index(page_.row("W4"), 0));
  page_.action("JournalInsertFedLineMenu")->trigger();
  const int line = page_.model().lineAt(page_.table()->currentIndex().row());
  EXPECT_EQ(journal_.text(line, LineField::Parent), QStringLiteral("W4"));
  EXPECT_EQ(journal_.text(line, LineField::From), QStringLiteral("ЩО-1"));
}

TEST_F(JournalFormTest, FailuresAreDarkRedAndEveryResultCellSaysHowItWasObtained) {
  // A 16 A breaker at the end of 400 m of 2.5 mm² copper does not trip.
  QApplication::clipboard()->setText(
      QStringLiteral("L\t\tТП\tЩ\t\tКабель с ПВХ изоляцией\tМедь\t2.5\t2.5\t\t400\t\t\t\t\tАвтомат\t16\t10 (\"C\")\n"));
  QTest::keyClick(&form_, Qt::Key_V, Qt::ControlModifier);
  const QModelIndex verdict = page_.model().index(page_.row("L"), JournalModel::columnOf(ResultColumn::Verdict));
  EXPECT_EQ(verdict.data().toString(), QStringLiteral("Несрабатывание за нормативное время"));
  EXPECT_EQ(verdict.data(Qt::ForegroundRole).value<QBrush>().color(), tesmir::kJournalFailColour);
  const QModelIndex ik1 = page_.model().index(page_.row("L"), JournalModel::columnOf(ResultColumn::Ik1));
  EXPECT_FALSE(ik1.data(Qt::ForegroundRole).isValid());
  // No Icu: "—", and the tip says why.
  const QModelIndex breaking = page_.model().index(page_.row("L"), JournalModel::columnOf(ResultColumn::Breaking));
  EXPECT_EQ(breaking.data().toString(), QStringLiteral("—"));
  EXPECT_TRUE(breaking.data(Qt::StatusTipRole).toString().contains(QStringLiteral("не задан Icu")));
  // The current cell's tip goes to the status bar; the summary counts the failure.
  page_.table()->setCurrentIndex(breaking);
  EXPECT_EQ(form_.statusBar()->currentMessage(), breaking.data(Qt::StatusTipRole).toString());
  EXPECT_EQ(form_.findChild<QLabel*>(QStringLiteral("JournalSummary"))->text(),
            QStringLiteral("Линий: 1, ошибок: 0, с нарушениями: 1"));
  // "Только линии с нарушениями" keeps it; "Только результаты" hides the inputs.
  page_.action("JournalOnlyViolationsMenu")->trigger();
  EXPECT_EQ(page_.model().rowCount(), 1);
  page_.action("JournalShowResultsMenu")->trigger();
  EXPECT_TRUE(page_.table()->isColumnHidden(JournalModel::columnOf(LineField::Length)));
  EXPECT_FALSE(page_.table()->isColumnHidden(JournalModel::columnOf(ResultColumn::Ik1)));
}

TEST_F(JournalFormTest, SaveReopenAndTheRecentList) {
  openOffice();
  page_.type("W3", LineField::To, QStringLiteral("ЩР-2 (новый)"));
  const QString path = dir_.filePath(QStringLiteral("board.tsn"));
  files_.names.push_back(path);
  page_.action("JournalSaveAsMenu")->trigger();
  EXPECT_FALSE(form_.isWindowModified());
  EXPECT_EQ(form_.windowTitle(), QStringLiteral("Журнал линий - board.tsn[*]"));
  EXPECT_EQ(form_.recentFiles().value(0), QFileInfo(path).absoluteFilePath());

  page_.action("JournalNewMenu")->trigger();
  EXPECT_EQ(journal_.lineCount(), 0);
  ASSERT_TRUE(form_.openFile(path));
  EXPECT_EQ(page_.cell("W3", LineField::To), QStringLiteral("ЩР-2 (новый)"));
  EXPECT_EQ(journal_.undoStack().count(), 0);

  // A failed save keeps the journal modified and says why.
  page_.type("W3", LineField::To, QStringLiteral("ЩР-3"));
  files_.names.push_back(dir_.filePath(QStringLiteral("no/such/folder/x.tsn")));
  page_.action("JournalSaveAsMenu")->trigger();
  EXPECT_EQ(messages_.errors().size(), 1);
  EXPECT_TRUE(form_.isWindowModified());
}

TEST_F(JournalFormTest, ADamagedFileChangesNothingAndSaysWhy) {
  openOffice();
  const tesmir::JournalDocument before = journal_.document();
  const QString path = dir_.filePath(QStringLiteral("bad.tsn"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(R"({"format": "tesmir-network", "version": 1, "lines": [ { "id": 5 } ]})");
  file.close();
  EXPECT_FALSE(form_.openFile(path));
  ASSERT_EQ(messages_.errors().size(), 1);
  EXPECT_TRUE(messages_.errors().front().startsWith(QString::fromUtf8(tesmir::kJournalBadFilePrefix)));
  EXPECT_EQ(journal_.document(), before);
  EXPECT_TRUE(form_.windowTitle().contains(QStringLiteral("office.tsn")));
}

TEST_F(JournalFormTest, ClosingWithUnsavedChangesAsksFirst) {
  openOffice();
  page_.type("W1", LineField::From, QStringLiteral("ТП-2"));
  messages_.saveAnswer = tesmir::MessageSink::SaveAnswer::Cancel;
  form_.close();
  EXPECT_EQ(messages_.askedSave(), QStringList{tesmir::journal_form_texts::kUnsaved});
  EXPECT_TRUE(form_.isVisible());
  EXPECT_EQ(page_.cell("W1", LineField::From), QStringLiteral("ТП-2"));

  messages_.saveAnswer = tesmir::MessageSink::SaveAnswer::Discard;
  form_.close();
  EXPECT_FALSE(form_.isVisible());
  // Given up: the file as it was.
  EXPECT_EQ(page_.cell("W1", LineField::From), QStringLiteral("ТП-1"));
  EXPECT_FALSE(journal_.isModified());
}

TEST_F(JournalFormTest, AVeryLargeJournalIsComputedAfterThePauseWithoutHoldingTheWindow) {
  // One root line and enough short branches to pass the immediate size.
  std::vector<QStringList> rows;
  rows.push_back({QStringLiteral("R"), QString(), QStringLiteral("ТП"), QStringLiteral("ВРУ"), QString(),
                  QStringLiteral("Кабель с ПВХ изоляцией"), QStringLiteral("Медь"), QStringLiteral("240"),
                  QStringLiteral("240"), QString(), QStringLiteral("20")});
  for (std::size_t i = 0; i < tesmir::LineJournal::kImmediateLines; ++i) {
    rows.push_back({QStringLiteral("B%1").arg(i), QStringLiteral("R"), QStringLiteral("ВРУ"), QString(), QString(),
                    QStringLiteral("Кабель с ПВХ изоляцией"), QStringLiteral("Медь"), QStringLiteral("2.5"),
                    QStringLiteral("2.5"), QString(), QStringLiteral("10")});
  }
  ASSERT_TRUE(journal_.pasteBlock({}, 0, rows).isEmpty());
  ASSERT_TRUE(tesmir_test::WaitUntil([this] { return journal_.resultsCurrent(); }, "the first calculation", 60000));
  const QString before = page_.cell("B7", ResultColumn::Ik1);
  page_.type("R", LineField::Length, QStringLiteral("200"));
  // The edit is in at once; its figures follow after the pause.
  EXPECT_EQ(page_.cell("R", LineField::Length), QStringLiteral("200"));
  EXPECT_FALSE(journal_.resultsCurrent());
  EXPECT_EQ(page_.cell("B7", ResultColumn::Ik1), QStringLiteral("…"));
  ASSERT_TRUE(tesmir_test::WaitUntil([this] { return journal_.resultsCurrent(); }, "the calculation", 60000));
  EXPECT_NE(page_.cell("B7", ResultColumn::Ik1), before);
  EXPECT_NE(page_.cell("B7", ResultColumn::Ik1), QStringLiteral("…"));
  journal_.markSaved();
}

class JournalWithMainWindowTest : public tesmir_test::ShownAppTest {};

TEST_F(JournalWithMainWindowTest, OpenInMainWindowGivesTheJournalsCurrent) {
  JournalForm& form = app_.journalForm();
  app_.mainForm().journalAction()->trigger();
  ASSERT_TRUE(form.isVisible());
  ASSERT_TRUE(form.openFile(kOffice));
  JournalPage page{form};
  form.table()->setCurrentIndex(page.model().index(page.row("W5"), 0));
  QAction* open = page.action("JournalOpenInMainMenu");
  ASSERT_TRUE(open->isEnabled());
  open->trigger();
  const QString ik1 = page.cell("W5", ResultColumn::Ik1);
  const QString shown = app_.mainForm().findChild<QLabel*>(QStringLiteral("IokzLabel"))->text();
  EXPECT_TRUE(shown.contains(ik1)) << shown.toStdString() << " / " << ik1.toStdString();
  // The path W1, W2, W5 as sections 1…3; the rest empty.
  EXPECT_EQ(app_.mainForm().schemeInput().lines[1].length, std::string("40"));
  EXPECT_EQ(app_.mainForm().schemeInput().lines[2].length, std::string("25"));
  EXPECT_EQ(app_.mainForm().schemeInput().lines[3], tesmir::DefaultSchemeInput().lines[3]);
  EXPECT_TRUE(app_.deviceForm().acceptedInput().has_value());

  // A path of seven lines does not fit: disabled, with the reason.
  std::vector<QStringList> chain;
  for (int i = 1; i <= 7; ++i) {
    chain.push_back({QStringLiteral("C%1").arg(i), i == 1 ? QString() : QStringLiteral("C%1").arg(i - 1)});
  }
  ASSERT_TRUE(form.journal().pasteBlock({}, 0, chain).isEmpty());
  form.table()->setCurrentIndex(page.model().index(page.row("C7"), 0));
  EXPECT_FALSE(open->isEnabled());
  EXPECT_EQ(open->statusTip(),
            QString::fromUtf8(tesmir::journal_feeder_texts::kTooLong.data(),
                              static_cast<qsizetype>(tesmir::journal_feeder_texts::kTooLong.size())));
  form.table()->setCurrentIndex(page.model().index(page.row("C6"), 0));
  EXPECT_TRUE(open->isEnabled());
  form.journal().markSaved();
}

TEST_F(JournalWithMainWindowTest, AddToReportNamesEachPointByItsDesignation) {
  JournalForm& form = app_.journalForm();
  ASSERT_TRUE(form.openFile(kOffice));
  JournalPage page{form};
  const auto named = [this] {
    std::vector<std::string> names;
    for (int r = 0; r < app_.report().rowCount(); ++r) {
      if (!app_.report().row(r)[0].empty()) names.push_back(app_.report().row(r)[0]);
    }
    return names;
  };
  ASSERT_TRUE(named().empty());
  form.table()->selectionModel()->select(
      QItemSelection(page.model().index(page.row("W5"), 0), page.model().index(page.row("W5"), 0)),
      QItemSelectionModel::ClearAndSelect);
  form.table()->selectionModel()->select(page.model().index(page.row("W6"), 0), QItemSelectionModel::Select);
  page.action("JournalAddToReportMenu")->trigger();
  EXPECT_EQ(named(), (std::vector<std::string>{"W5", "W6"}));
  EXPECT_TRUE(messages_.texts().isEmpty()) << messages_.texts().join(QLatin1Char('\n')).toStdString();
}

TEST_F(JournalWithMainWindowTest, LeavingTheProgramAsksAboutTheJournal) {
  JournalForm& form = app_.journalForm();
  ASSERT_TRUE(form.openFile(kOffice));
  form.journal().setText(0, LineField::To, QStringLiteral("ВРУ-2"));
  messages_.saveAnswer = tesmir::MessageSink::SaveAnswer::Cancel;
  EXPECT_FALSE(app_.confirmExit());
  EXPECT_EQ(messages_.askedSave(), QStringList{tesmir::journal_form_texts::kUnsaved});
  messages_.saveAnswer = tesmir::MessageSink::SaveAnswer::Discard;
  EXPECT_TRUE(app_.confirmExit());
}

// "Импорт журнала...": the lines of the mapping dialog become the journal as
// one step with the report shown, undo brings the old lines back, and
// "Сохранить в PDF..." writes the journal's paper.
TEST_F(JournalFormTest, ImportTakesTheSheetsLinesAsOneStepAndPdfWritesThePaper) {
  openOffice();
  const int before = journal_.lineCount();
  const QString sheet = QStringLiteral(TESMIR_SOURCE_DIR "/tests/data/journal_import/journal_utf8_semicolon.csv");
  const tesmir::Result<tesmir::JournalImportFile> expected = tesmir::ImportJournalFile(sheet);
  ASSERT_TRUE(expected.ok());
  const std::vector<tesmir::JournalLine>& lines = expected.value().lines.lines;
  ASSERT_FALSE(lines.empty());
  files_.names.push_back(sheet);
  {
    tesmir_test::ModalGuard guard("the import's mapping dialog");
    QTimer::singleShot(0, [] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("JournalImportDialog") && w->isVisible()) {
          QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("JournalImportOkButton")), Qt::LeftButton);
        }
      }
    });
    page_.action("JournalImportMenu")->trigger();
  }
  ASSERT_EQ(journal_.lineCount(), static_cast<int>(lines.size()));
  EXPECT_EQ(journal_.line(0).id, lines[0].id);
  EXPECT_EQ(journal_.line(journal_.lineCount() - 1).mark, lines.back().mark);
  ASSERT_FALSE(messages_.informed().isEmpty());
  EXPECT_TRUE(messages_.informed().last().contains(QStringLiteral("Строка")))
      << messages_.informed().last().toStdString();
  EXPECT_TRUE(journal_.isModified());
  page_.action("JournalUndoMenu")->trigger();
  EXPECT_EQ(journal_.lineCount(), before);
  EXPECT_FALSE(journal_.isModified());

  const QString pdf = dir_.filePath(QStringLiteral("office.pdf"));
  files_.names.push_back(pdf);
  page_.action("JournalPdfMenu")->trigger();
  QFile written(pdf);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << messages_.texts().join(QLatin1Char('\n')).toStdString();
  EXPECT_TRUE(written.read(5) == "%PDF-");
}

// A whole block copied from a spreadsheet with its header row, pasted into
// an empty journal, goes through the import's mapping dialog: its lines as
// one step "Импорт журнала" and the import's report. Into a journal that has
// lines, the same block is pasted cell by cell as before.
TEST_F(JournalFormTest, ABlockWithItsHeaderPastedIntoAnEmptyJournalGoesThroughTheMapping) {
  const QString block = QStringLiteral(
      "Линия\tОткуда\tКуда\tМарка\tДлина, м\tIр, А\r\n"
      "A\tТП\tЩ1\tАВВГ 4х95\t100\t120\r\n"
      "B\tЩ1\tЩ2\tВВГнг 5х2,5\t40\t12\r\n"
      "C\tЩ7\tЩ8\tNYM\t15\t8\r\n");
  const tesmir::Result<tesmir::TextGrid> grid = tesmir::ReadCsvSheet(block.toUtf8());
  ASSERT_TRUE(grid.ok());
  const tesmir::JournalImport expected =
      tesmir::ImportJournalRows(grid.value(), tesmir::ProposeImportMapping(grid.value()));
  ASSERT_EQ(expected.lines.size(), 3U);
  const std::vector<std::string> report =
      tesmir::JournalImportReport(grid.value(), tesmir::ProposeImportMapping(grid.value()), expected);

  QString title;
  const auto answer = [&title] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() == QLatin1String("JournalImportDialog") && w->isVisible()) {
        title = w->windowTitle();
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("JournalImportOkButton")), Qt::LeftButton);
      }
    }
  };
  QApplication::clipboard()->setText(block);
  page_.table()->setFocus();
  {
    tesmir_test::ModalGuard guard("the paste's mapping dialog");
    QTimer::singleShot(0, answer);
    QTest::keyClick(&form_, Qt::Key_V, Qt::ControlModifier);
  }
  EXPECT_EQ(title, QStringLiteral("Импорт журнала: буфер обмена"));
  ASSERT_EQ(journal_.lineCount(), 3);
  for (int i = 0; i < 3; ++i) {
    const tesmir::JournalLine& line = journal_.line(i);
    const tesmir::JournalLine& want = expected.lines[static_cast<std::size_t>(i)];
    EXPECT_EQ(line.id, want.id);
    EXPECT_EQ(line.parent, want.parent) << line.id;
    EXPECT_EQ(line.mark, want.mark) << line.id;
    EXPECT_EQ(line.ff, want.ff) << line.id;
    EXPECT_EQ(line.length, want.length) << line.id;
    EXPECT_EQ(line.ip, want.ip) << line.id;
  }
  EXPECT_EQ(journal_.line(1).parent, std::optional<std::string>("A"));  // B's "откуда" is A's "куда"
  EXPECT_EQ(journal_.undoStack().count(), 1);
  EXPECT_EQ(page_.action("JournalUndoMenu")->text(), QStringLiteral("Отменить Импорт журнала"));
  QStringList reportTexts;
  for (const std::string& t : report) reportTexts << QString::fromStdString(t);
  EXPECT_EQ(messages_.informed(), QStringList{reportTexts.join(QLatin1Char('\n'))});

  // The journal has lines now: the block fills the cells from the current one.
  form_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form_));
  page_.table()->setCurrentIndex(page_.model().index(page_.row("C"), 0));
  QApplication::clipboard()->setText(block);
  QTest::keyClick(&form_, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(journal_.undoStack().count(), 2);
  EXPECT_EQ(page_.action("JournalUndoMenu")->text(), QStringLiteral("Отменить вставку из буфера обмена"));
  EXPECT_EQ(journal_.lineCount(), 6);
  EXPECT_EQ(messages_.informed().size(), 1);
  QApplication::clipboard()->clear();
}

// "Печать..." (Ctrl+P) prints the very pages of "Сохранить в PDF...": here
// the printer chosen writes a PDF file. A cancelled printer dialog prints
// nothing; a printer that cannot write its output says so.
TEST_F(JournalFormTest, PrintGivesThePdfsPagesAndAPrinterThatFailsSaysSo) {
  openOffice();
  EXPECT_FALSE(page_.action("JournalPrintMenu")->isEnabled());  // no printer dialog handed in yet
  QString printTo;
  int asked = 0;
  tesmir::JournalLinks links;
  links.choosePrinter = [&printTo, &asked](QWidget*, QPrinter& printer) {
    ++asked;
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    if (printTo.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printTo);
    return true;
  };
  form_.setLinks(links);
  ASSERT_TRUE(page_.action("JournalPrintMenu")->isEnabled());

  QTest::keyClick(&form_, Qt::Key_P, Qt::ControlModifier);  // cancelled
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(messages_.texts().isEmpty());

  const QString saved = dir_.filePath(QStringLiteral("saved.pdf"));
  files_.names.push_back(saved);
  page_.action("JournalPdfMenu")->trigger();
  printTo = dir_.filePath(QStringLiteral("printed.pdf"));
  QTest::keyClick(&form_, Qt::Key_P, Qt::ControlModifier);
  ASSERT_EQ(asked, 2);
  ASSERT_TRUE(QFile::exists(printTo)) << messages_.texts().join(QLatin1Char('\n')).toStdString();
  const QString printed = PdfText(printTo);
  // As many pages as the PDF, with the same page numbers.
  const QString pdf = PdfText(saved);
  EXPECT_EQ(printed.count(QLatin1Char('\f')), pdf.count(QLatin1Char('\f')));
  // The table's pages and the diagram's: more than one page, each numbered.
  const qsizetype pages = printed.count(QStringLiteral("Страница "));
  EXPECT_GT(pages, 1);
  EXPECT_TRUE(printed.contains(QStringLiteral("Страница %1 из %1").arg(pages)));
  EXPECT_TRUE(pdf.contains(QStringLiteral("Страница %1 из %1").arg(pages)));
  for (int i = 0; i < journal_.lineCount(); ++i) {
    EXPECT_TRUE(printed.contains(QString::fromStdString(journal_.line(i).id))) << journal_.line(i).id;
    const QString ik1 = QString::fromStdString(
        tesmir::FormatCurrent(*journal_.result().lines[static_cast<std::size_t>(i)].get(tesmir::Fig::Ik1)));
    EXPECT_TRUE(printed.contains(ik1)) << journal_.line(i).id << ": " << ik1.toStdString();
  }
  EXPECT_TRUE(messages_.texts().isEmpty());

  // A printer whose output cannot be written: the message, and no file.
  const QString blocker = dir_.filePath(QStringLiteral("plain-file"));
  {
    QFile plain(blocker);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  }
  printTo = blocker + QStringLiteral("/printed.pdf");
  page_.action("JournalPrintMenu")->trigger();
  ASSERT_EQ(messages_.errors().size(), 1);
  EXPECT_TRUE(messages_.errors().front().startsWith(QStringLiteral("Не удалось сохранить файл %1.\n").arg(printTo)))
      << messages_.errors().front().toStdString();
  EXPECT_FALSE(QFile::exists(printTo));
}

// The tab "Схема" beside the table: the office board's diagram, laid out
// only when shown and once per change (not on painting), zoomed by the keys,
// Ctrl+wheel and the zoom list, and following an edit in the table.
TEST_F(JournalFormTest, TheDiagramTabShowsTheTreeZoomsAndFollowsTheTable) {
  openOffice();
  auto* tabs = form_.findChild<QTabWidget*>(QStringLiteral("JournalTabs"));
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->currentWidget(), page_.table());  // the table stays the first tab
  auto* view = form_.findChild<tesmir::JournalDiagramView*>(QStringLiteral("JournalDiagramView"));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->layouts(), 0);  // nothing laid out while the tab is hidden

  tabs->tabBar()->setFocus();
  QTest::keyClick(tabs->tabBar(), Qt::Key_Right);
  ASSERT_EQ(tabs->currentWidget(), view);
  EXPECT_EQ(tabs->tabText(1).remove(QLatin1Char('&')), QStringLiteral("Схема"));
  ASSERT_EQ(view->layouts(), 1);
  ASSERT_FALSE(view->pages().empty());
  const auto textOf = [view](const std::string& id) {
    for (const tesmir::DiagramPage& p : view->pages()) {
      for (const tesmir::DiagramText& t : p.texts) {
        if (t.text.startsWith(QString::fromStdString(id) + QLatin1Char(' '))) return t.text;
      }
    }
    return QString();
  };
  for (int i = 0; i < journal_.lineCount(); ++i) {
    EXPECT_FALSE(textOf(journal_.line(i).id).isEmpty()) << journal_.line(i).id;
  }
  view->canvas()->repaint();
  EXPECT_EQ(view->layouts(), 1);  // painting lays nothing out

  // Zoom: the canvas grows and shrinks by the factor.
  QWidget* canvas = view->canvas();
  const QSizeF full = canvas->size();
  const auto expectZoom = [&](int percent) {
    EXPECT_EQ(view->zoomPercent(), percent);
    EXPECT_NEAR(canvas->width(), full.width() * percent / 100.0, 1.0) << percent;
    EXPECT_NEAR(canvas->height(), full.height() * percent / 100.0, 1.0) << percent;
  };
  auto* scroll = view->findChild<QScrollArea*>(QStringLiteral("JournalDiagramScroll"));
  scroll->setFocus();
  QTest::keyClick(scroll, Qt::Key_Plus, Qt::ControlModifier);
  expectZoom(125);
  QTest::keyClick(scroll, Qt::Key_Plus, Qt::ControlModifier);
  expectZoom(150);
  QTest::keyClick(scroll, Qt::Key_0, Qt::ControlModifier);
  expectZoom(100);
  QTest::keyClick(scroll, Qt::Key_Minus, Qt::ControlModifier);
  expectZoom(75);
  QWheelEvent wheel(QPointF(20, 20), scroll->viewport()->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, -120),
                    Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(scroll->viewport(), &wheel);
  expectZoom(50);
  auto* list = view->findChild<QComboBox*>(QStringLiteral("JournalZoomComboBox"));
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Down);
  expectZoom(75);
  EXPECT_EQ(list->currentText(), QStringLiteral("75 %"));
  QTest::mouseClick(view->findChild<QWidget*>(QStringLiteral("JournalZoomInButton")), Qt::LeftButton);
  expectZoom(100);
  EXPECT_EQ(view->layouts(), 1);  // zooming lays nothing out either

  // An edit in the table: laid out once more, with W5's new current.
  const QString w5 = textOf("W5");
  ASSERT_TRUE(w5.contains(QStringLiteral("Iк1 = "))) << w5.toStdString();
  tabs->setCurrentIndex(0);
  page_.type("W2", LineField::Length, QStringLiteral("140"));
  EXPECT_EQ(view->layouts(), 1);  // hidden: waits until shown
  tabs->setCurrentIndex(1);
  EXPECT_EQ(view->layouts(), 2);
  EXPECT_NE(textOf("W5"), w5);
  QTest::keyClick(&form_, Qt::Key_Z, Qt::ControlModifier);  // undo while shown
  ASSERT_TRUE(tesmir_test::WaitUntil([&] { return view->layouts() == 3; }, "the diagram laid out after undo"));
  EXPECT_EQ(textOf("W5"), w5);
  QApplication::processEvents();
  EXPECT_EQ(view->layouts(), 3);
}

// "Экспорт" → "в Excel" of the program's journal window writes the journal's
// workbook into the export folder and opens it; the workbook reads back
// through the import as the journal's lines.
class JournalExportTest : public tesmir_test::ShownAppTest {};

TEST_F(JournalExportTest, ExcelWritesTheWorkbookThatImportsAsTheJournal) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QStringList opened;
  app_.useSpreadsheetDesktop(tesmir::SpreadsheetDesktop{folder.path(),
                                                        [&opened](const QUrl& url) {
                                                          opened << url.toLocalFile();
                                                          return true;
                                                        },
                                                        [] { return true; }});
  JournalForm& form = app_.journalForm();
  ASSERT_TRUE(form.openFile(kOffice));
  form.findChild<QAction*>(QStringLiteral("JournalExcelMenu"))->trigger();
  ASSERT_EQ(opened.size(), 1) << messages_.texts().join(QLatin1Char('\n')).toStdString();
  EXPECT_TRUE(opened[0].startsWith(folder.path()));
  const tesmir::Result<tesmir::JournalImportFile> back = tesmir::ImportJournalFile(opened[0]);
  ASSERT_TRUE(back.ok()) << back.error();
  ASSERT_EQ(back.value().lines.lines.size(), static_cast<std::size_t>(form.journal().lineCount()));
  for (std::size_t i = 0; i < back.value().lines.lines.size(); ++i) {
    EXPECT_EQ(back.value().lines.lines[i].id, form.journal().line(static_cast<int>(i)).id);
    EXPECT_EQ(back.value().lines.lines[i].length, form.journal().line(static_cast<int>(i)).length);
  }
  form.hide();
}

}  // namespace
