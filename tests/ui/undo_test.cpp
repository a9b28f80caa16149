// "Правка" → "Отменить" / "Повторить" of the main window: one step per edit
// of a field (typing merges), a line-kind change with the list refill it
// causes, an accepted device, an opened feeder file; and the feeder's unsaved
// state in the exit question, asked before the report's.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "document/report_document.h"
#include "support/shown_app_test.h"

namespace {

using SaveAnswer = tesmir::MessageSink::SaveAnswer;

class UndoTest : public tesmir_test::ShownAppTest {
 protected:
  template <class T>
  T* main(const char* name) {
    T* w = app_.mainForm().findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QAction* action(const char* name) { return main<QAction>(name); }
  QLineEdit* length1() { return main<QLineEdit>("LengthLine1Edit"); }
  // Types into a line edit key by key, as the user does.
  void type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    for (QChar c : text) QTest::keyClick(edit, c.toLatin1());
  }
  // Presses keys in the field that has the focus, in the active window.
  void keys(QLineEdit* field, QKeyCombination combination) {
    QTest::keyClick(field, combination.key(), combination.keyboardModifiers());
  }
  void activate() {
    app_.mainForm().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&app_.mainForm()));
  }
};

TEST_F(UndoTest, MenuAndKeys) {
  EXPECT_EQ(action("UndoMenu")->text().remove(QLatin1Char('&')), QStringLiteral("Отменить"));
  EXPECT_EQ(action("RedoMenu")->text().remove(QLatin1Char('&')), QStringLiteral("Повторить"));
  EXPECT_EQ(action("UndoMenu")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
  EXPECT_EQ(action("RedoMenu")->shortcuts(), (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Shift+Z")),
                                                                  QKeySequence(QStringLiteral("Ctrl+Y"))}));
  EXPECT_FALSE(action("UndoMenu")->isEnabled());
  EXPECT_FALSE(action("RedoMenu")->isEnabled());
}

// Typing "120" and then "5" in another field are two steps; the keys undo
// and redo them whole, in the focused field too.
TEST_F(UndoTest, TypingInOneFieldIsOneStep) {
  activate();
  QLineEdit* arc = main<QLineEdit>("RArcEdit");
  length1()->selectAll();
  type(length1(), QStringLiteral("120"));
  arc->selectAll();
  type(arc, QStringLiteral("5"));
  ASSERT_EQ(length1()->text(), QStringLiteral("120"));
  EXPECT_TRUE(app_.feeder().isModified());

  const struct {
    QKeyCombination key;
    const char* length;
    const char* arc;
  } steps[] = {{Qt::CTRL | Qt::Key_Z, "120", "40"},
               {Qt::CTRL | Qt::Key_Z, "0", "40"},
               {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, "120", "40"},
               {Qt::CTRL | Qt::Key_Y, "120", "5"},
               {Qt::CTRL | Qt::Key_Z, "120", "40"}};
  for (const auto& step : steps) {
    keys(arc, step.key);
    EXPECT_EQ(length1()->text(), QString::fromLatin1(step.length));
    EXPECT_EQ(arc->text(), QString::fromLatin1(step.arc));
  }
  keys(arc, Qt::CTRL | Qt::Key_Z);
  EXPECT_FALSE(app_.feeder().isModified());  // back where the program started
  EXPECT_FALSE(action("UndoMenu")->isEnabled());
}

// A line-kind change and the refill of its material list are one step.
TEST_F(UndoTest, LineKindChangeWithItsRefillIsOneStep) {
  auto* kind = main<QComboBox>("KindPerformLine3ComboBox");
  auto* stuff = main<QComboBox>("StuffLine3ComboBox");
  auto* ff = main<QComboBox>("FfLine3ComboBox");
  const QString before = kind->currentText();
  kind->setEditText(QStringLiteral("Шинопровод Gersan"));
  ASSERT_EQ(stuff->currentText(), QStringLiteral("GGDA, 160A"));
  ASSERT_FALSE(ff->isEnabled());
  action("UndoMenu")->trigger();
  EXPECT_EQ(kind->currentText(), before);
  EXPECT_EQ(stuff->currentText(), QStringLiteral("Медь"));
  EXPECT_EQ(stuff->count(), 2);
  EXPECT_TRUE(ff->isEnabled());
  EXPECT_FALSE(action("UndoMenu")->isEnabled());
  action("RedoMenu")->trigger();
  EXPECT_EQ(stuff->currentText(), QStringLiteral("GGDA, 160A"));
  EXPECT_EQ(stuff->count(), 51);
}

// Accepting a device is one step; undoing it leaves no device anywhere.
TEST_F(UndoTest, AcceptingADeviceIsOneStep) {
  QTest::mouseClick(main<QPushButton>("StartButton"), Qt::LeftButton);
  QWidget& form = app_.deviceForm();
  form.show();
  QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("OKDDBitBtn")), Qt::LeftButton);
  ASSERT_GT(app_.deviceSettings().TokSR, 0);
  ASSERT_EQ(app_.resultForm().tokSRLabel()->text(), QStringLiteral("Iср=176 А"));
  action("UndoMenu")->trigger();
  EXPECT_LE(app_.deviceSettings().TokSR, 0);
  EXPECT_EQ(app_.resultForm().tokSRLabel()->text(), QStringLiteral("---"));
  EXPECT_EQ(app_.mainForm().statusDDLabel()->text(), QStringLiteral("В расчете не определен"));
  action("RedoMenu")->trigger();
  EXPECT_EQ(app_.resultForm().tokSRLabel()->text(), QStringLiteral("Iср=176 А"));
}

// Opening a feeder file is one step and leaves the feeder unedited; saving
// does too. Leaving with an edited feeder asks about it first.
TEST_F(UndoTest, OpenAndSaveMarkTheFeederUneditedAndExitAsksAboutIt) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("f.tsm"));
  length1()->setText(QStringLiteral("75"));
  files_.names = {file};
  action("SaveSchemeAsMenu")->trigger();
  ASSERT_TRUE(QFile::exists(file));
  EXPECT_FALSE(app_.feeder().isModified());

  length1()->setText(QStringLiteral("30"));
  files_.names = {file};
  action("OpenSchemeMenu")->trigger();
  EXPECT_EQ(length1()->text(), QStringLiteral("75"));
  EXPECT_FALSE(app_.feeder().isModified());
  action("UndoMenu")->trigger();  // the opening, whole
  EXPECT_EQ(length1()->text(), QStringLiteral("30"));
  EXPECT_TRUE(app_.feeder().isModified());

  tesmir::ReportRow row{};
  ASSERT_EQ(app_.report().addPoint("К-1", row), "");
  messages_.saveAnswer = SaveAnswer::Cancel;
  EXPECT_FALSE(app_.mainForm().close());
  EXPECT_EQ(messages_.askedSave(), QStringList{QStringLiteral("Схема не сохранена. Сохранить изменения?")});
  messages_.clear();
  messages_.saveAnswer = SaveAnswer::Discard;
  EXPECT_TRUE(app_.mainForm().close());
  EXPECT_EQ(messages_.askedSave(), (QStringList{QStringLiteral("Схема не сохранена. Сохранить изменения?"),
                                                QStringLiteral("Отчет не сохранен. Сохранить изменения?")}));
}

// The report window: adding, deleting, moving and deleting all are steps;
// undo brings the rows back, and back at the saved rows nothing is unsaved.
TEST_F(UndoTest, ReportStepsUndoAndRedo) {
  tesmir::ReportForm& form = app_.reportForm();
  tesmir::ReportDocument& report = form.document();
  QAction* undo = form.findChild<QAction*>(QStringLiteral("UndoReportMenu"));
  QAction* redo = form.findChild<QAction*>(QStringLiteral("RedoReportMenu"));
  ASSERT_NE(undo, nullptr);
  ASSERT_NE(redo, nullptr);
  EXPECT_EQ(undo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
  EXPECT_EQ(redo->shortcuts().value(1), QKeySequence(QStringLiteral("Ctrl+Y")));
  const auto names = [&report] {
    std::string all;
    for (int r = 0; r < report.table().leadingCount(); ++r) all += report.table().cell(0, r) + " ";
    return all;
  };
  tesmir::ReportRow row{};
  ASSERT_EQ(report.addPoint("А", row), "");
  ASSERT_EQ(report.addPoint("Б", row), "");
  ASSERT_EQ(report.addPoint("В", row), "");
  QTemporaryDir dir;
  files_.names = {dir.filePath(QStringLiteral("r.csv"))};
  form.SaveAsReportMenuClick();
  ASSERT_FALSE(app_.report().hasUnsavedWork());

  const struct {
    const char* name;
    std::function<void()> change;
    std::string after;
  } steps[] = {
      {"delete Б",
       [&] {
         report.model().cellMadeCurrent(1);
         form.DeleteReportButtonClick();
       },
       "А В "},
      {"move В up",
       [&] {
         report.model().cellMadeCurrent(1);
         form.UpSpeedButtonClick();
       },
       "В А "},
      {"move В down",
       [&] {
         report.model().cellMadeCurrent(0);
         report.moveDown();
       },
       "А В "},
      {"add Г", [&] { report.addPoint("Г", row); }, "А В Г "},
      {"delete all", [&] { report.deleteAll(); }, ""},
  };
  std::vector<std::string> history = {names()};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.name);
    step.change();
    EXPECT_EQ(names(), step.after);
    EXPECT_TRUE(undo->isEnabled());
    history.push_back(names());
  }
  for (std::size_t i = history.size() - 1; i > 0; --i) {
    undo->trigger();
    EXPECT_EQ(names(), history[i - 1]) << "undo to step " << i - 1;
  }
  EXPECT_EQ(names(), "А Б В ");
  EXPECT_FALSE(app_.report().hasUnsavedWork());  // the saved rows again
  undo->trigger();                               // the adds before the save are steps too
  EXPECT_EQ(names(), "А Б ");
  EXPECT_TRUE(app_.report().hasUnsavedWork());
  redo->trigger();
  redo->trigger();
  EXPECT_EQ(names(), "А В ");
  EXPECT_TRUE(app_.report().hasUnsavedWork());
}

// Beyond the table's least number of rows a deletion shortens the table;
// undo brings the row and the length back, and the rows below stay in order.
TEST_F(UndoTest, UndoingADeletionRestoresTheTablesLength) {
  tesmir::ReportDocument& report = app_.reportForm().document();
  tesmir::ReportRow row{};
  for (int i = 0; i < 20; ++i) ASSERT_EQ(report.addPoint("Т" + std::to_string(i), row), "");
  const int rows = report.table().rowCount();
  ASSERT_GT(rows, tesmir::kReportMinRows);
  report.model().cellMadeCurrent(3);
  ASSERT_EQ(report.deleteSelected(), "");
  ASSERT_EQ(report.table().rowCount(), rows - 1);
  ASSERT_EQ(report.table().cell(0, 3), "Т4");
  report.undoStack().undo();
  EXPECT_EQ(report.table().rowCount(), rows);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(report.table().cell(0, i), "Т" + std::to_string(i));
  report.undoStack().redo();
  EXPECT_EQ(report.table().rowCount(), rows - 1);
  EXPECT_EQ(report.table().cell(0, 3), "Т4");
  EXPECT_EQ(report.table().cell(0, 18), "Т19");
}

}  // namespace
