// Leaving the program with an unsaved report: the question, and what each
// answer does.
#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "support/shown_app_test.h"

namespace {

using SaveAnswer = tesmir::MessageSink::SaveAnswer;

class ExitQuestion : public tesmir_test::ShownAppTest {
 protected:
  void addPoint(const char* name) {
    tesmir::ReportRow row{};
    ASSERT_EQ(app_.report().addPoint(name, row), "");
  }
  // Presses "Выход"; true when the main window closed.
  bool pressExit() {
    QTest::mouseClick(app_.mainForm().findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
    return !app_.mainForm().isVisible();
  }

  QTemporaryDir dir_;
};

const QString kQuestion = QStringLiteral("Отчет не сохранен. Сохранить изменения?");

TEST_F(ExitQuestion, NoQuestionWithoutNamedRowsOrAfterASave) {
  EXPECT_TRUE(app_.mainForm().close());
  EXPECT_TRUE(messages_.askedSave().isEmpty());

  app_.showMainWindow();
  addPoint("К-1");
  files_.names = {dir_.filePath(QStringLiteral("r.csv"))};
  app_.reportForm().SaveReportMenuClick();
  ASSERT_TRUE(QFile::exists(dir_.filePath(QStringLiteral("r.csv"))));
  EXPECT_TRUE(pressExit());
  EXPECT_TRUE(messages_.askedSave().isEmpty());
}

struct AnswerCase {
  const char* name;
  SaveAnswer answer;
  QString saveName;  // what the save dialog returns; empty cancels it
  bool closes;
  bool written;
};

TEST_F(ExitQuestion, EachAnswer) {
  const QString good = dir_.filePath(QStringLiteral("saved.csv"));
  const QString bad = dir_.filePath(QStringLiteral("no-such-folder/saved.csv"));
  const AnswerCase cases[] = {
      {"cancel", SaveAnswer::Cancel, {}, false, false},     {"discard", SaveAnswer::Discard, {}, true, false},
      {"save as", SaveAnswer::Save, good, true, true},      {"save as cancelled", SaveAnswer::Save, {}, false, false},
      {"save failed", SaveAnswer::Save, bad, false, false},
  };
  for (const AnswerCase& c : cases) {
    SCOPED_TRACE(c.name);
    tesmir::App app(messages_, files_);
    app.showMainWindow();
    tesmir::ReportRow row{};
    ASSERT_EQ(app.report().addPoint("К-1", row), "");
    messages_.clear(tesmir_test::RecordingMessageSink::Kind::AskSave);
    messages_.clear(tesmir_test::RecordingMessageSink::Kind::Error);
    messages_.saveAnswer = c.answer;
    files_.names = {c.saveName};
    files_.saveCalls = 0;
    QFile::remove(good);

    QTest::mouseClick(app.mainForm().findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
    EXPECT_EQ(messages_.askedSave(), QStringList{kQuestion});
    EXPECT_EQ(!app.mainForm().isVisible(), c.closes);
    EXPECT_EQ(files_.saveCalls, c.answer == SaveAnswer::Save ? 1 : 0);
    EXPECT_EQ(QFile::exists(good), c.written);
    EXPECT_EQ(messages_.errors().size(), c.saveName == bad ? 1 : 0);
    if (c.written) {
      EXPECT_EQ(app.reportForm().reportFileName(), good);
    }
  }
}

// Changes after a save ask again; "Сохранить" then writes to the report's
// own file without a dialog. Closing by the window frame asks the same.
TEST_F(ExitQuestion, SaveGoesToTheReportsFile) {
  addPoint("К-1");
  files_.names = {dir_.filePath(QStringLiteral("r.csv"))};
  app_.reportForm().SaveAsReportMenuClick();
  addPoint("К-2");
  messages_.saveAnswer = SaveAnswer::Save;
  EXPECT_TRUE(app_.mainForm().close());
  EXPECT_EQ(messages_.askedSave(), QStringList{kQuestion});
  EXPECT_EQ(files_.saveCalls, 1);  // only the first Save As
  QFile file(dir_.filePath(QStringLiteral("r.csv")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().contains("\xCA-2"));  // "К-2" in Windows-1251
}

}  // namespace
