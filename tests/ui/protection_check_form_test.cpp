// The window "Проверка защиты" wired into the program: the menu item, the
// modal window and its labels, the breaking-capacity edit and its help topic.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "device/protection_check.h"
#include "recording_message_sink.h"
#include "ui/app.h"
#include "ui/help_viewer.h"
#include "ui_test_app.h"

namespace {

using tesmir::ProtectionCheckForm;

class ProtectionCheckFormTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { tesmir_test::EnsureApplication(); }

  ProtectionCheckFormTest() : app_(messages_, files_) {
    app_.showMainWindow();
    app_.checkForm().setSeparators({",", " "});
  }

  template <class T>
  T* in(QWidget& window, const char* name) {
    T* w = window.findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QAction* menu(const char* name) { return in<QAction>(app_.mainForm(), name); }
  QString label(const char* name) { return in<QLabel>(app_.checkForm(), name)->text(); }
  QString tip(const char* name) { return in<QLabel>(app_.checkForm(), name)->statusTip(); }

  void calculate() { QTest::mouseClick(in<QPushButton>(app_.mainForm(), "StartButton"), Qt::LeftButton); }

  // The worked feeder: "T/Y-0" 400 kVA, arc 15, PVC copper 2.5/2.5 in row 1.
  void describeFeeder(const QString& length) {
    QWidget& w = app_.mainForm();
    in<QComboBox>(w, "WindKindComboBox")->setEditText("T/Y-0");
    in<QComboBox>(w, "TransPowerComboBox")->setEditText("400");
    in<QComboBox>(w, "KindPerformLine1ComboBox")->setEditText("Кабель с ПВХ изоляцией");
    in<QComboBox>(w, "StuffLine1ComboBox")->setEditText("Медь");
    in<QComboBox>(w, "FfLine1ComboBox")->setEditText("2.5");
    in<QComboBox>(w, "FnLine1ComboBox")->setEditText("2.5");
    in<QLineEdit>(w, "LengthLine1Edit")->setText(length);
    in<QLineEdit>(w, "RArcEdit")->setText("15");
  }

  // Breaker 16 A, "10 ("C")", 1.1 as the device dialog starts: Iср = 176 A.
  void acceptBreaker() {
    QWidget& form = app_.deviceForm();
    form.show();
    QTest::mouseClick(in<QPushButton>(form, "OKDDBitBtn"), Qt::LeftButton);
  }

  // Opens the window from its menu item and runs `inside` while it is up;
  // the window is closed afterwards whatever `inside` found.
  void whileOpen(const std::function<void()>& inside) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
      ran = true;
      inside();
      if (app_.checkForm().isVisible()) {
        QTest::mouseClick(in<QPushButton>(app_.checkForm(), "CloseButton"), Qt::LeftButton);
      }
    });
    menu("CheckMenu")->trigger();
    EXPECT_TRUE(ran);
    EXPECT_FALSE(app_.checkForm().isVisible());
  }

  RecordingMessageSink messages_;
  tesmir::DialogFileChooser files_;
  tesmir::App app_;
};

TEST_F(ProtectionCheckFormTest, MenuItemFollowsTheResultsMenu) {
  const QList<QAction*> items = app_.mainForm().menuBar()->actions();
  ASSERT_EQ(items.size(), 5);
  EXPECT_EQ(items[1]->objectName(), "ReportMenu");
  EXPECT_EQ(items[2]->objectName(), "CheckMenu");
  EXPECT_EQ(items[2]->text(), "Проверка");

  EXPECT_FALSE(menu("CheckMenu")->isEnabled());
  calculate();
  EXPECT_TRUE(menu("ResultMenu")->isEnabled());
  EXPECT_TRUE(menu("CheckMenu")->isEnabled());
  in<QLineEdit>(app_.mainForm(), "RArcEdit")->setText("-1");
  calculate();  // fails
  EXPECT_FALSE(menu("ResultMenu")->isEnabled());
  EXPECT_FALSE(menu("CheckMenu")->isEnabled());
}

TEST_F(ProtectionCheckFormTest, OpensModalWithTheCheckOfTheLastCalculation) {
  describeFeeder("120");
  acceptBreaker();
  calculate();
  ASSERT_TRUE(messages_.informed.isEmpty()) << messages_.informed.join("|").toStdString();

  whileOpen([this] {
    ProtectionCheckForm& form = app_.checkForm();
    EXPECT_EQ(QApplication::activeModalWidget(), &form);
    EXPECT_EQ(form.windowTitle(), "Проверка защиты");
    EXPECT_EQ(label("TripCurrentLabel"), "176 А");
    EXPECT_EQ(label("LastLineLabel"), "Линия 1");
    EXPECT_EQ(label("IokzMinLabel"), "99 А");
    EXPECT_EQ(label("IokzMinStatusLabel"), "Несрабатывание за нормативное время");
    EXPECT_EQ(label("LengthMaxLabel"), "87 м");
    EXPECT_EQ(label("LengthMaxHotLabel"), "66 м");
    EXPECT_EQ(label("SectionMinLabel"), "4 кв.мм.");
    EXPECT_EQ(label("SectionMinHotLabel"), "6 кв.мм.");
    EXPECT_EQ(label("Ik3DeviceLabel"), "13,47 кА");
    EXPECT_EQ(label("BreakingStatusLabel"), "");
    auto* edit = in<QLineEdit>(form, "BreakingCapacityEdit");
    EXPECT_TRUE(edit->text().isEmpty());
    for (QWidget* w : form.findChildren<QWidget*>()) {
      if (!w->objectName().isEmpty() && w->objectName().endsWith("Label")) {
        EXPECT_FALSE(w->statusTip().isEmpty()) << w->objectName().toStdString();
      }
    }
    EXPECT_FALSE(edit->statusTip().isEmpty());
  });
}

TEST_F(ProtectionCheckFormTest, BreakingCapacityIsJudgedAsTyped) {
  describeFeeder("50");
  acceptBreaker();
  calculate();
  whileOpen([this] {
    ProtectionCheckForm& form = app_.checkForm();
    auto* edit = in<QLineEdit>(form, "BreakingCapacityEdit");
    edit->setFocus();
    QTest::keyClicks(edit, "15");  // 13,47 kA at the device
    EXPECT_EQ(label("BreakingStatusLabel"), "Отключающая способность достаточна");
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(label("BreakingStatusLabel"), "Отключающая способность недостаточна");
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(label("BreakingStatusLabel"), "");
    EXPECT_TRUE(messages_.informed.isEmpty());

    // A comma is not a decimal point: the program's message when the entry ends.
    QTest::keyClicks(edit, "13,5");
    EXPECT_EQ(label("BreakingStatusLabel"), "");
    QTest::keyClick(edit, Qt::Key_Return);
    ASSERT_EQ(messages_.informed.size(), 1);
    EXPECT_EQ(messages_.informed[0], "Неверная величина отключающей способности аппарата защиты");
    EXPECT_TRUE(form.isVisible());  // Enter does not close the window
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(messages_.informed.size(), 1);  // said once per text
  });
  EXPECT_EQ(messages_.informed.size(), 1);  // leaving the edit by "Закрыть" does not repeat it
  // The typed capacity stays for the next opening and is judged again.
  whileOpen([this] {
    auto* edit = in<QLineEdit>(app_.checkForm(), "BreakingCapacityEdit");
    EXPECT_EQ(edit->text(), "13,5");
    edit->clear();
    QTest::keyClicks(edit, "13.5");
    EXPECT_EQ(label("BreakingStatusLabel"), "Отключающая способность достаточна");
  });
}

TEST_F(ProtectionCheckFormTest, DashesCarryTheirReasons) {
  calculate();  // the start window: no section has a length, no device
  whileOpen([this] {
    EXPECT_EQ(label("IokzMinStatusLabel"), "Аппарат защиты не выбран");
    EXPECT_EQ(label("LengthMaxLabel"), "—");
    EXPECT_EQ(tip("LengthMaxLabel").toStdString(), tesmir::check_texts::kWhyNoDevice);
    EXPECT_EQ(label("TripCurrentLabel"), "—");
    EXPECT_EQ(label("Ik3DeviceLabel"), "0,84 кА");  // "Y/Y-0" 25 kVA is taken as its "T/Y-0" namesake
  });
}

TEST_F(ProtectionCheckFormTest, DashesCarryTheirReasonsForASinglePhaseTransformer) {
  in<QComboBox>(app_.mainForm(), "WindKindComboBox")->setEditText("1/1-0");
  calculate();
  whileOpen([this] {
    EXPECT_EQ(label("Ik3DeviceLabel"), "—");
    EXPECT_EQ(tip("Ik3PointLabel").toStdString(), tesmir::check_texts::kWhySinglePhase);
  });
}

TEST_F(ProtectionCheckFormTest, F1OpensTopic37) {
  calculate();
  EXPECT_TRUE(tesmir::HelpViewer::hasTopic(ProtectionCheckForm::kHelpTopic));
  whileOpen([this] {
    ProtectionCheckForm& form = app_.checkForm();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    auto* edit = in<QLineEdit>(form, "BreakingCapacityEdit");
    edit->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    EXPECT_TRUE(app_.helpViewer().isVisible());
    EXPECT_EQ(app_.helpViewer().currentTopic(), 37);
    app_.helpViewer().hide();
  });
}

TEST_F(ProtectionCheckFormTest, LeavesEverythingShownBeforeAsItWas) {
  describeFeeder("120");
  acceptBreaker();
  calculate();
  const auto texts = [this] {
    QStringList all;
    for (QWidget* window : {static_cast<QWidget*>(&app_.mainForm()), static_cast<QWidget*>(&app_.resultForm())}) {
      for (const QLabel* l : window->findChildren<QLabel*>()) {
        all << l->objectName() + '=' + l->text();
      }
    }
    return all;
  };
  const QStringList before = texts();
  const tesmir::SchemeState scheme = app_.scheme();
  const double trip = app_.deviceSettings().TokSR;

  whileOpen([this] { QTest::keyClicks(in<QLineEdit>(app_.checkForm(), "BreakingCapacityEdit"), "6"); });

  EXPECT_EQ(texts(), before);
  EXPECT_EQ(app_.scheme().Iokz, scheme.Iokz);
  EXPECT_EQ(app_.scheme().Rsum, scheme.Rsum);
  EXPECT_EQ(app_.scheme().Lines[0].Length, scheme.Lines[0].Length);
  EXPECT_EQ(app_.deviceSettings().TokSR, trip);
  EXPECT_EQ(app_.report().leadingCount(), 0);
  EXPECT_TRUE(menu("ResultMenu")->isEnabled());
}

}  // namespace
