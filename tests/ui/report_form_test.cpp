#include "widgets/report_form.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <new>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

#include "core/display_format.h"
#include "core/loop_calc.h"
#include "device/device_settings.h"
#include "document/report_model.h"
#include "report/file_names.h"
#include "report/report_file.h"
#include "report/report_table.h"
#include "support/modal_guard.h"
#include "support/recording_message_sink.h"
#include "support/scripted_file_chooser.h"
#include "support/ui_test_app.h"
#include "texts/locale_separators.h"
#include "widgets/ask_number_form.h"
#include "widgets/context_help.h"
#include "widgets/delete_all_report_form.h"
#include "widgets/document_dialogs.h"

namespace tesmir {
namespace {

using Kind = tesmir_test::RecordingMessageSink::Kind;

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

ReportRow Row(const std::string& name) {
  return {name, "1,00", "2,00", "3,00", "4,00", "5", "6,00", "7,00", "8,00", "9", "---", "---"};
}

class ReportWindows : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { tesmir_test::EnsureApplication(); }

  ReportWindows() {
    sink_.questionsScripted = true;
    sink_.saveQuestionsUnexpected = true;
    sink_.onAsk = [this](const QString&) {
      if (outOfMemory_) {
        throw std::bad_alloc();  // as building the rows would
      }
    };
  }

  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

  // The plain messages and questions shown, in order.
  QStringList messages() const { return sink_.texts({Kind::Inform, Kind::Ask}); }

  void fill(const std::vector<std::string>& names) {
    std::vector<ReportRow> rows;
    for (const std::string& n : names) rows.push_back(n.empty() ? ReportRow{} : Row(n));
    form_.model().assignRows(rows);
  }

  QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }

  QTableView* grid() { return form_.findChild<QTableView*>(QStringLiteral("ReportStringGrid")); }
  QString gridText(int row, int col) { return grid()->model()->index(row, col).data().toString(); }
  void click(const char* name) {
    auto* button = form_.findChild<QAbstractButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
  }
  void clickCell(int row, int col) {
    const QRect cell = grid()->visualRect(grid()->model()->index(row, col));
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cell.center());
  }
  // Adds the name the dialog accepts through the report's model, as the
  // program does with its last calculation.
  void AddAcceptedPoints(AskNumberForm& ask, const SchemeState& scheme, const DeviceSettings& device,
                         const std::string& tripTime) {
    QObject::connect(&ask, &QDialog::accepted, &form_, [this, &ask, &scheme, &device, tripTime] {
      const std::string name = ask.chosenName().value().toStdString();
      EXPECT_EQ(form_.model().addPoint(name, MakeReportRow(name, scheme, device, tripTime, SystemSeparators())), "");
    });
  }
  void trigger(const char* name) {
    auto* action = form_.findChild<QAction*>(QString::fromLatin1(name));
    ASSERT_NE(action, nullptr) << name;
    action->trigger();
  }

  QTemporaryDir dir_;
  ReportTable table_;
  tesmir_test::RecordingMessageSink sink_;
  bool outOfMemory_ = false;
  tesmir_test::ScriptedFileChooser chooser_;
  DeleteAllReportForm deleteAll_;
  ReportForm form_{table_, sink_, chooser_, deleteAll_};
};

TEST_F(ReportWindows, PointAddedAfterACalculationShowsInTheGrid) {
  SchemeState scheme;
  ASSERT_TRUE(RunLoopCalculation(DefaultSchemeInput(), scheme).ok());
  DeviceSettings device;
  device.TokSR = 1250;
  AskNumberForm ask(table_, sink_);
  AddAcceptedPoints(ask, scheme, device, "Тср < 5 с");
  EXPECT_EQ(ask.property(kHelpContextProperty).toInt(), 35);
  ask.show();
  auto* edit = ask.findChild<QLineEdit*>(QStringLiteral("NumberEdit"));
  ASSERT_NE(edit, nullptr);
  edit->insert(QStringLiteral("К-1"));    // QTest types ASCII only
  QTest::keyClick(edit, Qt::Key_Return);  // Enter in the name field presses "Да"
  EXPECT_EQ(ask.result(), QDialog::Accepted);
  EXPECT_FALSE(ask.isVisible());
  EXPECT_TRUE(messages().isEmpty());

  form_.show();
  EXPECT_EQ(gridText(0, 0), QStringLiteral("К-1"));
  EXPECT_EQ(gridText(0, 9), QString::fromStdString(FormatCurrent(scheme.Iokz)));
  EXPECT_EQ(gridText(0, 10), QStringLiteral("1250"));
  EXPECT_EQ(gridText(0, 11), QStringLiteral("Тср < 5 с"));
  EXPECT_EQ(gridText(1, 0), QStringLiteral(""));

  // The same name again is refused; the dialog stays open with the text.
  ask.show();
  QTest::mouseClick(ask.findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
  EXPECT_EQ(messages(), QStringList{QString::fromUtf8(report_messages::kDuplicateName.data())});
  EXPECT_TRUE(ask.isVisible());
  EXPECT_EQ(edit->text(), QStringLiteral("К-1"));
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_EQ(ask.result(), QDialog::Rejected);
  EXPECT_EQ(ask.chosenName(), std::nullopt);
  EXPECT_EQ(table_.leadingCount(), 1);
}

// Runs `steps` while `dialog` is open modally; closes it if they did not.
void WhileOpen(QDialog& dialog, std::function<void()> steps) {
  QTimer::singleShot(0, &dialog, [&dialog, steps = std::move(steps)] {
    steps();
    if (dialog.isVisible()) {
      ADD_FAILURE() << "the dialog stayed open";
      dialog.done(-1);
    }
  });
}

// Every opening of the point-name dialog starts in the name field with its
// text selected, whichever button closed it last time.
TEST_F(ReportWindows, NameDialogStartsInTheNameFieldOnEveryOpening) {
  tesmir_test::ModalGuard guard("the point-name dialog closed by its keys");
  SchemeState scheme;
  ASSERT_TRUE(RunLoopCalculation(DefaultSchemeInput(), scheme).ok());
  const DeviceSettings device;
  AskNumberForm ask(table_, sink_);
  AddAcceptedPoints(ask, scheme, device, "---");
  const auto focusName = [&ask] { return ask.focusWidget() != nullptr ? ask.focusWidget()->objectName() : QString(); };
  // Keys go where the keyboard sends them: to the focused control.
  const auto keys = [&ask](const QString& text) {
    if (ask.focusWidget() != nullptr) QTest::keyClicks(ask.focusWidget(), text);
  };
  const auto key = [&ask](Qt::Key k) {
    if (ask.focusWidget() != nullptr) QTest::keyClick(ask.focusWidget(), k);
  };

  // First opening: a name is typed, then Tab, Tab to "Отмена" and Enter.
  WhileOpen(ask, [&] {
    EXPECT_EQ(focusName(), QStringLiteral("NumberEdit"));
    keys(QStringLiteral("A1"));
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    EXPECT_EQ(focusName(), QStringLiteral("CancelBitBtn"));
    key(Qt::Key_Return);
  });
  EXPECT_EQ(ask.exec(), QDialog::Rejected);

  // Second opening: typing replaces the old name; Tab reaches "Да".
  WhileOpen(ask, [&] {
    EXPECT_EQ(focusName(), QStringLiteral("NumberEdit"));
    auto* edit = ask.findChild<QLineEdit*>(QStringLiteral("NumberEdit"));
    EXPECT_EQ(edit->selectedText(), QStringLiteral("A1"));
    keys(QStringLiteral("B2"));
    key(Qt::Key_Tab);
    EXPECT_EQ(focusName(), QStringLiteral("OKButton"));
    key(Qt::Key_Enter);
  });
  EXPECT_EQ(ask.exec(), QDialog::Accepted);
  EXPECT_EQ(table_.cell(0, 0), "B2");

  // Enter in the name field presses "Да"; a rejected name keeps it open.
  WhileOpen(ask, [&] {
    keys(QStringLiteral("B2"));
    key(Qt::Key_Return);
    EXPECT_TRUE(ask.isVisible());
    EXPECT_EQ(focusName(), QStringLiteral("NumberEdit"));
    keys(QStringLiteral("3"));
    key(Qt::Key_Return);
  });
  EXPECT_EQ(ask.exec(), QDialog::Accepted);
  EXPECT_EQ(messages(), QStringList{QString::fromUtf8(report_messages::kDuplicateName.data())});
  EXPECT_EQ(table_.cell(0, 1), "B23");
}

// The calculation note asks with the same dialog, by the note's rules: an
// empty name is allowed, a name the report refuses is refused here too, and
// a name already in the report is no obstacle.
TEST_F(ReportWindows, NoteAsksWithTheSameDialogAndRules) {
  tesmir_test::ModalGuard guard("the note's point-name dialog");
  ASSERT_EQ(table_.addPoint("К-1", Row("К-1")), "");
  RealDocumentDialogs dialogs(sink_);
  struct Case {
    const char* typed;  // after the previous name is selected; Enter follows
    std::optional<QString> name;
    std::string_view message;  // a rejection, after which Esc cancels
  };
  const Case cases[] = {
      {"", QString(), {}},
      {"K-1", QStringLiteral("K-1"), {}},
      {" a", std::nullopt, report_messages::kEmptyName},
      {"123456789", std::nullopt, report_messages::kNameTooLong},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    sink_.clear();
    bool asked = false;
    QTimer::singleShot(0, &form_, [&] {
      auto* dialog = qobject_cast<AskNumberForm*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      asked = true;
      EXPECT_EQ(dialog->objectName(), QStringLiteral("NotePointNameDialog"));
      EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Запрос номера точки ОКЗ"));
      auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("NumberEdit"));
      EXPECT_EQ(edit->selectedText(), QStringLiteral("К-1"));
      QTest::keyClick(edit, Qt::Key_Delete);
      QTest::keyClicks(edit, QString::fromUtf8(c.typed));
      QTest::keyClick(edit, Qt::Key_Return);
      if (!c.message.empty()) {
        EXPECT_TRUE(dialog->isVisible());
        QTest::keyClick(edit, Qt::Key_Escape);
      }
    });
    EXPECT_EQ(dialogs.askPointName(&form_, QStringLiteral("К-1")), c.name);
    EXPECT_TRUE(asked);
    EXPECT_EQ(messages(), c.message.empty() ? QStringList() : QStringList{QString::fromUtf8(c.message.data())});
  }
}

// Every column is as wide as its widest title or value (at least 50 px), the
// window shows all of them, and each value is also its cell's status tip.
TEST_F(ReportWindows, ColumnsShowWholeValues) {
  ReportRow wide = {"ЩР-12345", "1 062,38", "12 345,67",    "3,00", "4,00", "40",
                    "1 062,38", "7,00",     "1 234 567,89", "217",  "1250", "Тср < 0,4 с"};
  const int nameWidth = grid()->columnWidth(0);  // as wide as its title
  EXPECT_EQ(grid()->columnWidth(11), 50);
  form_.model().assignRows({Row("A"), wide});
  form_.show();
  const QFontMetrics metrics(grid()->font());
  int total = 0;
  for (int c = 0; c < 12; ++c) {
    SCOPED_TRACE(c);
    const int width = grid()->columnWidth(c);
    EXPECT_GE(width, 50);
    for (int r = 0; r < 2; ++r) {
      const QModelIndex index = grid()->model()->index(r, c);
      const QString text = index.data().toString();
      EXPECT_GT(width, metrics.horizontalAdvance(text)) << text.toStdString();
      EXPECT_EQ(index.data(Qt::StatusTipRole).toString(), text);
    }
    total += width;
  }
  EXPECT_GE(grid()->viewport()->width(), total);
  EXPECT_GE(form_.width(), grid()->width());
  EXPECT_GT(grid()->columnWidth(0), nameWidth);  // the eight-character name
  EXPECT_GT(grid()->columnWidth(11), 50);

  // The widths follow the table: without the wide row they fall back.
  table_.mouseReleasedAt(0, 1);
  click("DeleteReportButton");
  EXPECT_EQ(grid()->columnWidth(0), nameWidth);
  EXPECT_EQ(grid()->columnWidth(11), 50);
  EXPECT_LT(grid()->viewport()->width(), total);
}

// A report far larger than one made by hand is sized by its longest texts
// only; each column still fits its widest value wherever it stands: a long
// name deep in the rows, a cut huge text, a repeated long trip time and a
// Cyrillic text with fewer bytes than a Latin one but more width.
TEST_F(ReportWindows, ColumnsOfAHugeReportFitTheirLongestValues) {
  std::vector<ReportRow> rows;
  for (int r = 0; r < 30000; ++r) rows.push_back(Row("K" + std::to_string(r)));
  rows[29000][0] = "ЩЩЩЩЩЩЩЩ";
  rows[17][3] = std::string(5000, '8');
  for (int r = 100; r < 30000; r += 3) rows[static_cast<std::size_t>(r)][11] = "Тср < 0,4 с";
  rows[25000][10] = "ЖЖЖЖЖЖЖЖЖЖЖЖЖЖ";      // 14 wide letters, 28 bytes
  rows[25001][10] = std::string(29, 'i');  // 29 narrow ones
  form_.model().assignRows(std::move(rows));
  form_.show();
  const QFontMetrics metrics(grid()->font());
  for (const auto& [row, col] : {std::pair{29000, 0}, {17, 3}, {100, 11}, {25000, 10}, {25001, 10}}) {
    SCOPED_TRACE(testing::Message() << row << "," << col);
    const QString text = gridText(row, col);
    EXPECT_GE(grid()->columnWidth(col), std::min(metrics.horizontalAdvance(text) + 6, 400));
  }
  EXPECT_EQ(grid()->columnWidth(3), 400);  // the huge text: as wide as a column grows
}

TEST_F(ReportWindows, GridShape) {
  form_.show();
  EXPECT_EQ(form_.windowTitle(), QStringLiteral("Отчет"));
  EXPECT_EQ(form_.property(kHelpContextProperty).toInt(), 35);
  EXPECT_EQ(grid()->model()->columnCount(), 12);
  EXPECT_EQ(grid()->model()->rowCount(), 14);
  EXPECT_EQ(grid()->columnWidth(11), 50);
  EXPECT_EQ(grid()->rowHeight(13), 18);
  EXPECT_TRUE(grid()->horizontalHeader()->isHidden());
  EXPECT_EQ(grid()->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(grid()->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(form_.findChild<QWidget*>(QStringLiteral("DeleteReportButton"))->statusTip(),
            QStringLiteral("Удаление строки"));
  EXPECT_EQ(form_.findChild<QWidget*>(QStringLiteral("UpSpeedButton"))->statusTip(),
            QStringLiteral("Перемещение строки в списке на одну позицию вверх"));
  EXPECT_TRUE(form_.findChild<QPushButton*>(QStringLiteral("CloseReportBitBtn"))->isDefault());
  EXPECT_EQ(form_.exportToExcelAction()->objectName(), QStringLiteral("ExportToExcelReportMenu"));
  EXPECT_EQ(form_.exportToCalcAction()->text().remove(QLatin1Char('&')), QStringLiteral("в Calc"));  // "&" underlines
}

TEST_F(ReportWindows, ClicksSelectArrowsMoveAndDeleteRemoves) {
  fill({"A", "B", "C"});
  form_.show();
  clickCell(1, 4);
  EXPECT_EQ(table_.selectedRow(), 1);
  EXPECT_EQ(table_.selectedCol(), 4);
  click("UpSpeedButton");
  EXPECT_EQ(gridText(0, 0), QStringLiteral("B"));
  EXPECT_EQ(grid()->currentIndex().row(), 0);
  EXPECT_EQ(table_.selectedRow(), 0);
  click("UpSpeedButton");  // already on top: nothing happens
  EXPECT_EQ(gridText(0, 0), QStringLiteral("B"));
  click("DownSpeedButton");
  click("DownSpeedButton");
  EXPECT_EQ(gridText(2, 0), QStringLiteral("B"));
  EXPECT_EQ(table_.selectedRow(), 2);

  click("DeleteReportButton");
  EXPECT_EQ(gridText(2, 0), QStringLiteral(""));
  EXPECT_EQ(gridText(1, 0), QStringLiteral("C"));
  EXPECT_TRUE(messages().isEmpty());
}

// Enter on "Удалить" deletes one row: the focus goes back to the grid, where
// Enter closes the window, also once the window is opened again.
TEST_F(ReportWindows, EnterOnDeleteRemovesOneRowAndReturnsToTheGrid) {
  fill({"A", "B", "C"});
  form_.show();
  clickCell(0, 0);
  auto* remove = form_.findChild<QPushButton*>(QStringLiteral("DeleteReportButton"));
  remove->setFocus();
  QTest::keyClick(remove, Qt::Key_Return);
  EXPECT_EQ(table_.leadingCount(), 2);
  EXPECT_EQ(form_.focusWidget(), grid());
  form_.hide();
  form_.show();
  EXPECT_EQ(form_.focusWidget(), grid());
  QTest::keyClick(form_.focusWidget(), Qt::Key_Return);
  EXPECT_EQ(table_.leadingCount(), 2);
  EXPECT_EQ(gridText(0, 0), QStringLiteral("B"));
}

// "Открыть..." and the recent files replace the points: unsaved ones are
// offered for saving first, with the question of leaving the program.
TEST_F(ReportWindows, OpeningAnotherReportOffersToSaveUnsavedPoints) {
  sink_.saveQuestionsUnexpected = false;
  using Answer = MessageSink::SaveAnswer;
  struct Case {
    const char* name;
    const char* action;
    Answer answer;
    QString saveName;  // the save dialog's answer; empty cancels it
    bool opens;
  };
  const QString saved = path("saved.csv");
  const Case cases[] = {
      {"cancel", "OpenReportMenu", Answer::Cancel, {}, false},
      {"discard", "OpenReportMenu", Answer::Discard, {}, true},
      {"save", "OpenReportMenu", Answer::Save, saved, true},
      {"save cancelled", "OpenReportMenu", Answer::Save, {}, false},
      {"recent, cancel", "RecentReportMenu1", Answer::Cancel, {}, false},
      {"recent, discard", "RecentReportMenu1", Answer::Discard, {}, true},
  };
  ReportTable other;
  ASSERT_EQ(other.addPoint("X", Row("X")), "");
  const QString otherFile = path("other.csv");
  ASSERT_TRUE(SaveReportFile(otherFile, other).ok());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReportTable table;
    ReportForm form{table, sink_, chooser_, deleteAll_};
    form.places().useFile(otherFile);  // a recent file; the report itself has none
    ASSERT_EQ(form.model().addPoint("A", Row("A")), "");
    sink_.clear();
    sink_.saveAnswer = c.answer;
    QFile::remove(saved);
    chooser_.names = {c.saveName, otherFile};
    if (c.answer != Answer::Save) chooser_.names = {otherFile};
    form.findChild<QAction*>(QString::fromLatin1(c.action))->trigger();
    EXPECT_EQ(sink_.askedSave(), QStringList{QStringLiteral("Отчет не сохранен. Сохранить изменения?")});
    EXPECT_EQ(table.cell(0, 0), c.opens ? "X" : "A");
    EXPECT_EQ(QFile::exists(saved), !c.saveName.isEmpty());
  }
  // Nothing to lose: no question.
  ReportTable table;
  ReportForm form{table, sink_, chooser_, deleteAll_};
  sink_.clear();
  chooser_.names = {otherFile};
  form.findChild<QAction*>(QStringLiteral("OpenReportMenu"))->trigger();
  EXPECT_EQ(table.cell(0, 0), "X");
  EXPECT_TRUE(sink_.askedSave().isEmpty());
}

// An opened report is unchanged until a point is added, deleted or moved.
TEST_F(ReportWindows, OpeningIsNotAChange) {
  ReportTable other;
  ASSERT_EQ(other.addPoint("X", Row("X")), "");
  ASSERT_EQ(other.addPoint("Y", Row("Y")), "");
  ASSERT_TRUE(SaveReportFile(path("r.csv"), other).ok());
  ASSERT_EQ(form_.openReportFile(path("r.csv")), ReportForm::OpenResult::Opened);
  EXPECT_FALSE(table_.hasUnsavedWork());
  EXPECT_TRUE(form_.offerToSave(&form_));  // asks nothing (a question fails the test)
  form_.show();
  clickCell(1, 0);
  click("UpSpeedButton");
  EXPECT_TRUE(table_.hasUnsavedWork());
}

TEST_F(ReportWindows, ReleaseOutsideTheCellsNeedsANewClickBeforeDelete) {
  fill({"A", "B", "C"});
  form_.show();
  // Below the fourteenth row the grid has no cells.
  QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, QPoint(20, 14 * 18 + 6));
  EXPECT_EQ(table_.selectedRow(), -1);
  EXPECT_EQ(table_.selectedCol(), -1);
  grid()->setFocus();
  QTest::keyClick(grid(), Qt::Key_Down);
  click("DeleteReportButton");
  EXPECT_EQ(messages(), QStringList{QString::fromUtf8(report_messages::kSelectRow.data())});
  EXPECT_EQ(table_.leadingCount(), 3);
  clickCell(0, 0);
  click("DeleteReportButton");
  EXPECT_EQ(gridText(0, 0), QStringLiteral("B"));
}

TEST_F(ReportWindows, ShrinkingMakesTheNewLastRowCurrent) {
  std::vector<std::string> names;
  for (int i = 0; i < 16; ++i) names.push_back("P" + std::to_string(i));
  fill(names);
  form_.show();
  grid()->scrollToBottom();
  clickCell(15, 0);
  ASSERT_EQ(table_.selectedRow(), 15);
  click("DeleteReportButton");
  EXPECT_EQ(grid()->model()->rowCount(), 15);
  EXPECT_EQ(grid()->currentIndex().row(), 14);
  EXPECT_EQ(table_.selectedRow(), 14);
}

// The grid follows the model's row signals without being refreshed: a row
// added at the end arrives as an inserted row, a moved row as changed data,
// a row deleted from more than fourteen as a removed row.
TEST_F(ReportWindows, ModelChangesReachTheGridAsRowSignals) {
  std::vector<std::string> names;
  for (int i = 0; i < 14; ++i) names.push_back("P" + std::to_string(i));
  fill(names);
  form_.show();
  ReportTableModel& model = form_.model();
  QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
  QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
  QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
  QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

  EXPECT_EQ(model.addPoint("P14", Row("x")), "");
  EXPECT_EQ(inserted.count(), 1);
  EXPECT_EQ(grid()->model()->rowCount(), 15);
  EXPECT_EQ(gridText(14, 0), QStringLiteral("P14"));

  clickCell(1, 0);
  click("DownSpeedButton");
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(gridText(2, 0), QStringLiteral("P1"));
  EXPECT_EQ(grid()->currentIndex().row(), 2);

  click("DeleteReportButton");
  EXPECT_EQ(removed.count(), 1);
  EXPECT_EQ(grid()->model()->rowCount(), 14);
  EXPECT_EQ(gridText(2, 0), QStringLiteral("P3"));
  EXPECT_EQ(grid()->currentIndex().row(), 2);
  EXPECT_EQ(table_.selectedRow(), 2);
  EXPECT_EQ(reset.count(), 0);
}

TEST_F(ReportWindows, DeleteAllAsksFirst) {
  tesmir_test::ModalGuard guard("the delete-all question answered by key");
  fill({"A", "B"});
  form_.show();
  QTimer::singleShot(0, [this] { QTest::keyClick(&deleteAll_, Qt::Key_Escape); });
  click("DeleteAllButton");
  EXPECT_EQ(table_.leadingCount(), 2);
  EXPECT_TRUE(deleteAll_.findChild<QPushButton*>(QStringLiteral("OKBitBtn"))->isDefault());
  QTimer::singleShot(0, [this] { QTest::keyClick(&deleteAll_, Qt::Key_Return); });
  click("DeleteAllButton");
  EXPECT_EQ(table_.leadingCount(), 0);
  EXPECT_EQ(table_.rowCount(), 14);
  EXPECT_EQ(gridText(0, 0), QStringLiteral(""));
}

TEST_F(ReportWindows, SaveAsWritesAndNamesTheReport) {
  fill({"A", "B"});
  chooser_.names = {path("r.csv")};
  trigger("SaveReportMenu");  // no name yet: runs Save As
  EXPECT_EQ(chooser_.saveFilters, QStringList{QStringLiteral("Таблица (*.csv)|csv")});
  EXPECT_EQ(form_.reportFileName(), path("r.csv"));
  EXPECT_EQ(form_.windowTitle(), QStringLiteral("Отчет-") + path("r.csv"));
  EXPECT_EQ(ReadAll(path("r.csv")).toStdString(), EncodeReport(table_));
  EXPECT_EQ(ReadAll(path("r.csv")).count("\r\n"), 4);

  table_.setCell(0, 2, "C");
  trigger("SaveReportMenu");  // writes without asking
  EXPECT_EQ(chooser_.calls, 1);
  EXPECT_EQ(ReadAll(path("r.csv")).count("\r\n"), 5);
  EXPECT_TRUE(messages().isEmpty());
}

TEST_F(ReportWindows, DeclinedOverwriteKeepsThePreviousName) {
  fill({"A"});
  WriteAll(path("other.csv"), "keep me");
  chooser_.names = {path("other.csv")};  // then the dialog is cancelled
  sink_.answers = {false};
  trigger("SaveAsReportMenu");
  EXPECT_EQ(chooser_.calls, 2) << "Cancel on the question returns to the dialog";
  EXPECT_EQ(messages(), QStringList{QStringLiteral("Такой файл уже существует. Переписать файл?")});
  EXPECT_EQ(form_.reportFileName(), QStringLiteral(""));
  EXPECT_EQ(form_.windowTitle(), QStringLiteral("Отчет"));
  EXPECT_EQ(ReadAll(path("other.csv")), QByteArray("keep me"));

  chooser_.names = {path("other.csv")};
  sink_.answers = {true};
  trigger("SaveAsReportMenu");
  EXPECT_EQ(form_.reportFileName(), path("other.csv"));
  EXPECT_EQ(ReadAll(path("other.csv")).toStdString(), EncodeReport(table_));
}

TEST_F(ReportWindows, FailedSaveAsShowsTheErrorAndKeepsTheName) {
  fill({"A"});
  WriteAll(path("plain"), "");
  chooser_.names = {path("plain/r.csv")};
  trigger("SaveAsReportMenu");
  ASSERT_EQ(sink_.errors().size(), 1);
  EXPECT_TRUE(sink_.errors()[0].contains(QStringLiteral("r.csv")));
  EXPECT_EQ(form_.reportFileName(), QStringLiteral(""));
}

TEST_F(ReportWindows, OpenReadsBothLayouts) {
  form_.show();
  WriteAll(path("r.okz"), "|\xCA-1|1|2|3|4|5|6|7|8|9|10|11|\r\n");
  chooser_.names = {path("r.okz")};
  trigger("OpenReportMenu");
  EXPECT_EQ(chooser_.openFilters, QStringList{QStringLiteral("Таблица (*.csv),Таблица (*.okz)|okz")});
  EXPECT_TRUE(messages().isEmpty());
  EXPECT_EQ(gridText(0, 0), QStringLiteral("К-1"));
  EXPECT_EQ(gridText(0, 11), QStringLiteral("11"));
  EXPECT_EQ(form_.windowTitle(), QStringLiteral("Отчет-") + path("r.okz"));

  // Save writes the semicolon layout under the same name.
  trigger("SaveReportMenu");
  EXPECT_TRUE(ReadAll(path("r.okz")).endsWith("\xCA-1;1;2;3;4;5;6;7;8;9;10;11;\r\n"));

  std::vector<std::string> names;
  for (int i = 0; i < 20; ++i) names.push_back("P" + std::to_string(i));
  fill(names);
  ASSERT_TRUE(SaveReportFile(path("twenty.csv"), table_).ok());
  chooser_.names = {path("twenty.csv")};
  trigger("OpenReportMenu");
  EXPECT_EQ(grid()->model()->rowCount(), 20);
  EXPECT_EQ(gridText(19, 0), QStringLiteral("P19"));
}

// A name of another kind is refused with a message naming the two kinds, a
// report name in capitals is read ("ОТЧЕТ.CSV" from another program).
TEST_F(ReportWindows, OpenSaysWhichNamesItReads) {
  form_.show();
  WriteAll(path("notes.txt"), "|x|\r\n");
  WriteAll(path("ОТЧЕТ.CSV"),
           "h;h;h;h;h;h;h;h;h;h;h;h;\r\nu;u;u;u;u;u;u;u;u;u;u;u;\r\n"
           "\xCA-1;1;2;3;4;5;6;7;8;9;10;11;\r\n");
  chooser_.names = {path("notes.txt"), path("ОТЧЕТ.CSV")};
  trigger("OpenReportMenu");
  ASSERT_EQ(sink_.errors().size(), 1);
  EXPECT_EQ(sink_.errors()[0], QStringLiteral("Файл %1 не открыт: открываются только файлы отчета с именами на .csv "
                                              "(таблица с точкой с запятой) и .okz.")
                                   .arg(path("notes.txt")));
  trigger("OpenReportMenu");
  EXPECT_EQ(gridText(0, 0), QStringLiteral("К-1"));
  EXPECT_EQ(sink_.errors().size(), 1);
}

TEST_F(ReportWindows, OpenRefusesOddFilesAndSurvivesRunningOutOfMemory) {
  fill({"A", "B"});
  form_.show();
  const QString fifo = path("pipe.csv");  // opening it for reading would wait for a writer
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  WriteAll(path("bad.csv"), "h\r\nu\r\n;x;y;\r\n");
  chooser_.names = {fifo, path("bad.csv")};
  trigger("OpenReportMenu");
  outOfMemory_ = true;
  trigger("OpenReportMenu");
  ASSERT_EQ(sink_.errors().size(), 2);
  EXPECT_TRUE(sink_.errors()[0].contains(QStringLiteral("не является обычным файлом")))
      << sink_.errors()[0].toStdString();
  EXPECT_EQ(sink_.errors()[1], QStringLiteral("Недостаточно памяти, чтобы открыть файл ") + path("bad.csv") +
                                   QStringLiteral(". Отчет не изменен."));
  EXPECT_EQ(gridText(1, 0), QStringLiteral("B"));
  EXPECT_EQ(grid()->model()->rowCount(), 14);
  EXPECT_EQ(form_.windowTitle(), QStringLiteral("Отчет"));
}

TEST_F(ReportWindows, ALongCellIsShownCutAndKeptWhole) {
  ReportRow row = Row("A");
  row[3] = std::string(1000000, '9');
  row[4] = "ж" + std::string(300, 'x');
  form_.show();
  form_.model().assignRows({row});
  const QString shown = gridText(0, 3);
  EXPECT_LE(shown.size(), 300);
  EXPECT_TRUE(shown.startsWith(QStringLiteral("999")));
  EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
  EXPECT_EQ(gridText(0, 4).left(2), QStringLiteral("жx"));
  EXPECT_EQ(table_.cell(3, 0).size(), 1000000u);
  grid()->viewport()->repaint();
}

TEST_F(ReportWindows, DamagedFileAsksAndCancelReturnsToTheDialog) {
  fill({"A"});
  form_.show();
  WriteAll(path("bad.csv"), "h\r\nu\r\n;x;y;\r\n");
  chooser_.names = {path("bad.csv")};
  sink_.answers = {false};
  trigger("OpenReportMenu");
  EXPECT_EQ(chooser_.calls, 2);
  EXPECT_EQ(messages(), QStringList{QStringLiteral("Формат файла поврежден. Продолжить загрузку данных?")});
  EXPECT_EQ(gridText(0, 0), QStringLiteral("A"));
  EXPECT_EQ(form_.reportFileName(), QStringLiteral(""));

  chooser_.names = {path("bad.csv")};
  sink_.answers = {true};
  trigger("OpenReportMenu");
  EXPECT_EQ(gridText(0, 0), QStringLiteral(""));
  EXPECT_EQ(gridText(0, 2), QStringLiteral("x"));
  EXPECT_EQ(form_.reportFileName(), path("bad.csv"));
}

TEST_F(ReportWindows, NamesThatAreNotReadLeaveEverythingAsItWas) {
  fill({"A"});
  form_.show();
  // "r.CSV" is a report name now (any case); a name of another kind is
  // refused with its own message.
  WriteAll(path("r.txt"), "");
  chooser_.names = {path("r.txt")};
  trigger("OpenReportMenu");
  chooser_.names = {path("missing.csv")};
  trigger("OpenReportMenu");
  EXPECT_EQ(sink_.errors().size(), 2);
  EXPECT_EQ(gridText(0, 0), QStringLiteral("A"));
  EXPECT_EQ(form_.reportFileName(), QStringLiteral(""));
  EXPECT_EQ(form_.windowTitle(), QStringLiteral("Отчет"));
}

}  // namespace
// A report named in Windows-1251 bytes (as given on the command line) opens,
// shows its name readably and is saved back under the same bytes.
TEST_F(ReportWindows, AReportNamedInWindows1251BytesOpensAndSavesUnderItsName) {
  ReportTable other;
  ASSERT_EQ(other.addPoint("X", Row("X")), "");
  const std::string bytes = QFile::encodeName(dir_.path()).toStdString() + "/\xCE\xF2\xF7\xE5\xF2.csv";
  const QString name = DecodeFileName(bytes);
  ASSERT_TRUE(SaveReportFile(name, other).ok());
  ASSERT_EQ(form_.openReportFile(name), ReportForm::OpenResult::Opened) << sink_.errors().join(u'\n').toStdString();
  EXPECT_EQ(gridText(0, 0), QStringLiteral("X"));
  EXPECT_TRUE(form_.windowTitle().endsWith(QStringLiteral("/Отчет.csv"))) << form_.windowTitle().toStdString();
  fill({"X", "Y"});
  ASSERT_TRUE(form_.saveReport());
  ASSERT_EQ(form_.openReportFile(name), ReportForm::OpenResult::Opened);
  EXPECT_EQ(gridText(1, 0), QStringLiteral("Y")) << "saved over the same file";
  // Qt cannot name the file to remove it with the folder.
  EXPECT_EQ(::unlink(bytes.c_str()), 0);
  EXPECT_TRUE(QDir(dir_.path()).isEmpty()) << "no second file under a mangled name";
}

}  // namespace tesmir
