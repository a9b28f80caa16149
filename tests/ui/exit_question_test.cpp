// Leaving the program with an unsaved report: the question, and what each
// answer does.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <deque>

#include "recording_message_sink.h"
#include "ui/app.h"
#include "ui_test_app.h"

namespace {

using SaveAnswer = tesmir::MessageSink::SaveAnswer;

// Hands out the scripted save names in turn; an empty name cancels.
struct ScriptedChooser : tesmir::FileChooser {
  std::deque<QString> names;
  int asked = 0;
  QString chooseSaveName(QWidget*, const QString&, const QString&, const QString&) override {
    ++asked;
    if (names.empty()) {
      return {};
    }
    QString name = names.front();
    names.pop_front();
    return name;
  }
  QString chooseOpenName(QWidget*, const QString&, const QStringList&, const QString&) override { return {}; }
};

class ExitQuestion : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    tesmir_test::EnsureApplication();
    QApplication::setQuitOnLastWindowClosed(false);
  }
  static void TearDownTestSuite() { QApplication::setQuitOnLastWindowClosed(true); }

  ExitQuestion() : app_(messages_, files_) { app_.showMainWindow(); }

  void addPoint(const char* name) {
    tesmir::ReportRow row{};
    ASSERT_EQ(app_.report().addPoint(name, row), "");
  }
  // Presses "Выход"; true when the main window closed.
  bool pressExit() {
    QTest::mouseClick(app_.mainForm().findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    return !app_.mainForm().isVisible();
  }

  QTemporaryDir dir_;
  RecordingMessageSink messages_;
  ScriptedChooser files_;
  tesmir::App app_;
};

const QString kQuestion = QStringLiteral("Отчет не сохранен. Сохранить изменения?");

TEST_F(ExitQuestion, NoQuestionWithoutNamedRowsOrAfterASave) {
  EXPECT_TRUE(app_.mainForm().close());
  EXPECT_TRUE(messages_.askedSave.isEmpty());

  app_.showMainWindow();
  addPoint("К-1");
  files_.names = {dir_.filePath("r.csv")};
  app_.reportForm().SaveReportMenuClick();
  ASSERT_TRUE(QFile::exists(dir_.filePath("r.csv")));
  EXPECT_TRUE(pressExit());
  EXPECT_TRUE(messages_.askedSave.isEmpty());
}

struct AnswerCase {
  const char* name;
  SaveAnswer answer;
  QString saveName;  // what the save dialog returns; empty cancels it
  bool closes;
  bool written;
};

TEST_F(ExitQuestion, EachAnswer) {
  const QString good = dir_.filePath("saved.csv");
  const QString bad = dir_.filePath("no-such-folder/saved.csv");
  const AnswerCase cases[] = {
      {"cancel", SaveAnswer::Cancel, {}, false, false},
      {"discard", SaveAnswer::Discard, {}, true, false},
      {"save as", SaveAnswer::Save, good, true, true},
      {"save as cancelled", SaveAnswer::Save, {}, false, false},
      {"save failed", SaveAnswer::Save, bad, false, false},
  };
  for (const AnswerCase& c : cases) {
    SCOPED_TRACE(c.name);
    tesmir::App app(messages_, files_);
    app.showMainWindow();
    tesmir::ReportRow row{};
    ASSERT_EQ(app.report().addPoint("К-1", row), "");
    messages_.askedSave.clear();
    messages_.errors.clear();
    messages_.saveAnswer = c.answer;
    files_.names = {c.saveName};
    files_.asked = 0;
    QFile::remove(good);

    QTest::mouseClick(app.mainForm().findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(messages_.askedSave, QStringList{kQuestion});
    EXPECT_EQ(!app.mainForm().isVisible(), c.closes);
    EXPECT_EQ(files_.asked, c.answer == SaveAnswer::Save ? 1 : 0);
    EXPECT_EQ(QFile::exists(good), c.written);
    EXPECT_EQ(messages_.errors.size(), c.saveName == bad ? 1 : 0);
    if (c.written) {
      EXPECT_EQ(app.reportForm().reportFileName(), good);
    }
  }
}

// Changes after a save ask again; "Сохранить" then writes to the report's
// own file without a dialog. Closing by the window frame asks the same.
TEST_F(ExitQuestion, SaveGoesToTheReportsFile) {
  addPoint("К-1");
  files_.names = {dir_.filePath("r.csv")};
  app_.reportForm().SaveAsReportMenuClick();
  addPoint("К-2");
  messages_.saveAnswer = SaveAnswer::Save;
  EXPECT_TRUE(app_.mainForm().close());
  EXPECT_EQ(messages_.askedSave, QStringList{kQuestion});
  EXPECT_EQ(files_.asked, 1);  // only the first Save As
  QFile file(dir_.filePath("r.csv"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().contains("\xCA-2"));  // "К-2" in Windows-1251
}

}  // namespace
