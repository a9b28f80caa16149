// The whole program wired together: the main window, the results window, the
// device dialog and the report, driven the way a user drives them.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "app/app.h"
#include "paper/feeder_picture.h"
#include "support/modal_guard.h"
#include "support/recording_message_sink.h"
#include "support/ui_test_app.h"
#include "widgets/feeder_documents.h"
#include "widgets/feeder_picture_widget.h"

namespace {

class AppTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { tesmir_test::EnsureApplication(); }

  AppTest() : app_(messages_, files_) { app_.showMainWindow(); }

  template <class T>
  T* main(const char* name) {
    T* w = app_.mainForm().findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QString mainStatus() { return app_.mainForm().statusDDLabel()->text(); }
  QString resultStatus() { return app_.resultForm().statusDDLabel()->text(); }
  QString tripTime() { return app_.resultForm().timeSRLabel()->text(); }

  void calculate() { QTest::mouseClick(main<QPushButton>("StartButton"), Qt::LeftButton); }

  void setCombo(QWidget* root, const char* name, const QString& text) {
    auto* combo = root->findChild<QComboBox*>(QString::fromLatin1(name));
    ASSERT_NE(combo, nullptr) << name;
    combo->setEditText(text);
  }

  // Accepts a breaker of the given rated current, multiple 10, safety factor 1.1.
  void acceptBreaker(const QString& rated) {
    QWidget& form = app_.deviceForm();
    form.show();
    form.findChild<QRadioButton*>(QStringLiteral("AVRadioButton"))->setChecked(true);
    setCombo(&form, "TokAVnomComboBox", rated);
    QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("OKDDBitBtn")), Qt::LeftButton);
  }

  tesmir_test::RecordingMessageSink messages_;
  tesmir::DialogFileChooser files_;
  tesmir::App app_;
};

TEST_F(AppTest, DeviceIsJudgedAfterAcceptanceAndAfterEveryCalculation) {
  EXPECT_EQ(mainStatus(), QStringLiteral("В расчете не определен"));
  calculate();
  EXPECT_EQ(main<QLabel>("IokzLabel")->text(), QStringLiteral("Ток однофазного короткого замыкания равен 217 А"));
  EXPECT_EQ(mainStatus(), QStringLiteral("В расчете не определен"));  // no device yet

  acceptBreaker(QStringLiteral("16"));  // Iср = 176 A, below 217 A
  EXPECT_TRUE(messages_.informed().isEmpty()) << messages_.informed().join(QStringLiteral("|")).toStdString();
  EXPECT_FALSE(app_.deviceForm().isVisible());
  EXPECT_EQ(mainStatus(), QStringLiteral("Срабатывание за нормативное время"));
  EXPECT_EQ(resultStatus(), QStringLiteral("Срабатывание за нормативное время"));
  EXPECT_EQ(tripTime(), QStringLiteral("Тср < 0,4 с"));
  EXPECT_EQ(app_.resultForm().tokSRLabel()->text(), QStringLiteral("Iср=176 А"));

  // 100 m of 16 mm² aluminium brings the current down to about 171 A.
  setCombo(&app_.mainForm(), "FfLine1ComboBox", QStringLiteral("16"));
  setCombo(&app_.mainForm(), "FnLine1ComboBox", QStringLiteral("16"));
  main<QLineEdit>("LengthLine1Edit")->setText(QStringLiteral("100"));
  calculate();
  ASSERT_LT(app_.scheme().Iokz, 176);
  EXPECT_EQ(mainStatus(), QStringLiteral("Несрабатывание за нормативное время"));
  EXPECT_EQ(resultStatus(), QStringLiteral("Несрабатывание за нормативное время"));
  EXPECT_EQ(tripTime(), QStringLiteral("Тср > 0,4 с"));

  // A failed calculation rewrites only the main window's status line.
  main<QLineEdit>("RArcEdit")->setText(QStringLiteral("-1"));
  calculate();
  ASSERT_EQ(messages_.informed().size(), 1);
  EXPECT_EQ(mainStatus(), QStringLiteral("Выполните расчет тока однофазного короткого замыкания"));
  EXPECT_EQ(resultStatus(), QStringLiteral("Несрабатывание за нормативное время"));
  EXPECT_FALSE(main<QPushButton>("AddToReportButton")->isEnabled());
}

TEST_F(AppTest, AddedPointCarriesTheTripTimeAndShowsInTheReport) {
  tesmir_test::ModalGuard guard("the point-name dialog answered with OK");
  acceptBreaker(QStringLiteral("16"));
  calculate();
  ASSERT_TRUE(main<QPushButton>("AddToReportButton")->isEnabled());

  // The point-name dialog is modal: answer it while it is open.
  QTimer::singleShot(0, [this] {
    QWidget& ask = app_.askNumberForm();
    ASSERT_TRUE(ask.isVisible());
    ask.findChild<QLineEdit*>(QStringLiteral("NumberEdit"))->setText(QStringLiteral("К-1"));
    QTest::mouseClick(ask.findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
  });
  QTest::mouseClick(main<QPushButton>("AddToReportButton"), Qt::LeftButton);
  EXPECT_FALSE(app_.askNumberForm().isVisible());
  EXPECT_TRUE(messages_.informed().isEmpty()) << messages_.informed().join(QStringLiteral("|")).toStdString();

  const tesmir::ReportTable& report = app_.report();
  ASSERT_EQ(report.leadingCount(), 1);
  EXPECT_EQ(report.cell(0, 0), "К-1");
  EXPECT_EQ(report.cell(9, 0), "217");
  EXPECT_EQ(report.cell(10, 0), "176");
  EXPECT_EQ(report.cell(11, 0), "Тср < 0,4 с");

  app_.reportForm().show();
  auto* grid = app_.reportForm().findChild<QTableView*>(QStringLiteral("ReportStringGrid"));
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->model()->index(0, 0).data().toString(), QStringLiteral("К-1"));
  EXPECT_EQ(grid->model()->index(0, 11).data().toString(), QStringLiteral("Тср < 0,4 с"));
  app_.reportForm().hide();
}

TEST_F(AppTest, ResetForgetsTheDeviceForLaterRows) {
  tesmir_test::ModalGuard guard("the point-name dialog answered with OK");
  acceptBreaker(QStringLiteral("16"));
  QWidget& form = app_.deviceForm();
  form.show();
  QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("BitBtn3")), Qt::LeftButton);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(app_.deviceSettings().TokSR, -1);
  EXPECT_EQ(mainStatus(), QStringLiteral("В расчете не определен"));
  EXPECT_EQ(app_.resultForm().tokSRLabel()->text(), QStringLiteral("---"));

  calculate();
  EXPECT_EQ(mainStatus(), QStringLiteral("В расчете не определен"));
  QTimer::singleShot(0, [this] {
    app_.askNumberForm().findChild<QLineEdit*>(QStringLiteral("NumberEdit"))->setText(QStringLiteral("Т2"));
    QTest::mouseClick(app_.askNumberForm().findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
  });
  QTest::mouseClick(main<QPushButton>("AddToReportButton"), Qt::LeftButton);
  EXPECT_EQ(app_.report().cell(10, 0), "---");
  EXPECT_EQ(app_.report().cell(11, 0), "---");
}

// A refusal that leaves no trip current (an unknown fuse type) shows the
// device undefined everywhere at once, as "Сброс" does: both status lines,
// the device page, a later calculation, a report row, the note and the
// picture.
TEST_F(AppTest, RefusalThatForgetsTheTripCurrentShowsNoDeviceAnywhere) {
  tesmir_test::ModalGuard guard("the point-name dialog answered with OK");
  calculate();
  QWidget& form = app_.deviceForm();
  form.show();
  form.findChild<QRadioButton*>(QStringLiteral("PPRadioButton"))->setChecked(true);
  QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("OKDDBitBtn")), Qt::LeftButton);
  ASSERT_DOUBLE_EQ(app_.deviceSettings().TokSR, 363);
  ASSERT_EQ(mainStatus(), QStringLiteral("Несрабатывание за нормативное время"));
  ASSERT_EQ(tripTime(), QStringLiteral("Тср > 5 с"));

  form.show();
  setCombo(&form, "TypePPComboBox", QStringLiteral("XYZ"));
  setCombo(&form, "TokPPComboBox", QStringLiteral("63"));
  messages_.clear();
  QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("OKDDBitBtn")), Qt::LeftButton);
  ASSERT_EQ(messages_.informed(), QStringList{QStringLiteral("Неправильно указан тип предохранителя")});
  ASSERT_EQ(app_.deviceSettings().TokSR, 0);
  QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("BitBtn2")), Qt::LeftButton);
  ASSERT_FALSE(form.isVisible());

  const auto expectNoDevice = [this](const char* when) {
    SCOPED_TRACE(when);
    EXPECT_EQ(mainStatus(), QStringLiteral("В расчете не определен"));
    EXPECT_EQ(resultStatus(), QStringLiteral("В расчете не определен"));
    for (QLabel* label : {app_.resultForm().typeDDLabel(), app_.resultForm().toknomLabel(), app_.resultForm().kzLabel(),
                          app_.resultForm().tokSRLabel(), app_.resultForm().timeSRLabel()}) {
      EXPECT_EQ(label->text(), QStringLiteral("---")) << label->objectName().toStdString();
    }
  };
  expectNoDevice("after the refusal");
  calculate();
  expectNoDevice("after the next calculation");

  const tesmir::CalcNote note = app_.feederDocuments().currentNote(QString());
  EXPECT_EQ(note.device.type, QStringLiteral("---"));
  EXPECT_EQ(note.device.tokSR, QStringLiteral("---"));
  EXPECT_EQ(note.device.timeSR, QStringLiteral("---"));
  EXPECT_EQ(note.device.status, QStringLiteral("В расчете не определен"));
  EXPECT_TRUE(app_.resultForm().pictureWidget()->model().deviceType.isEmpty());

  QTimer::singleShot(0, [this] {
    app_.askNumberForm().findChild<QLineEdit*>(QStringLiteral("NumberEdit"))->setText(QStringLiteral("Т3"));
    QTest::mouseClick(app_.askNumberForm().findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
  });
  QTest::mouseClick(main<QPushButton>("AddToReportButton"), Qt::LeftButton);
  EXPECT_EQ(app_.report().cell(10, 0), "---");
  EXPECT_EQ(app_.report().cell(11, 0), "---");
}

}  // namespace
