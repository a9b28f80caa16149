// The window "Проверка защиты" wired into the program: the menu item, the
// modal window and its labels, the breaking-capacity edit and its help topic.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/app.h"
#include "device/protection_check.h"
#include "support/modal_guard.h"
#include "support/recording_message_sink.h"
#include "support/ui_test_app.h"
#include "widgets/help_viewer.h"

namespace {

class ProtectionCheckFormTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { tesmir_test::EnsureApplication(); }

  ProtectionCheckFormTest() : app_(messages_, files_) {
    app_.showMainWindow();
    app_.checkForm().setSeparators({",", " "});
  }

  template <class T>
  T* in(QWidget& window, const char* name) {
    T* w = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QAction* menu(const char* name) { return in<QAction>(app_.mainForm(), name); }
  QLabel* label(const char* name) { return in<QLabel>(app_.checkForm(), name); }
  QString text(const char* name) { return label(name)->text(); }
  void calculate() { QTest::mouseClick(in<QPushButton>(app_.mainForm(), "StartButton"), Qt::LeftButton); }

  // "T/Y-0" 400 kVA, arc 15, 120 m of PVC copper 2.5/2.5, and the breaker the
  // device dialog starts with: 16 A, "10 ("C")", 1.1, Iср = 176 A.
  void workedFeeder() {
    QWidget& w = app_.mainForm();
    in<QComboBox>(w, "WindKindComboBox")->setEditText(QStringLiteral("T/Y-0"));
    in<QComboBox>(w, "TransPowerComboBox")->setEditText(QStringLiteral("400"));
    in<QComboBox>(w, "KindPerformLine1ComboBox")->setEditText(QStringLiteral("Кабель с ПВХ изоляцией"));
    in<QComboBox>(w, "StuffLine1ComboBox")->setEditText(QStringLiteral("Медь"));
    in<QComboBox>(w, "FfLine1ComboBox")->setEditText(QStringLiteral("2.5"));
    in<QComboBox>(w, "FnLine1ComboBox")->setEditText(QStringLiteral("2.5"));
    in<QLineEdit>(w, "LengthLine1Edit")->setText(QStringLiteral("120"));
    in<QLineEdit>(w, "RArcEdit")->setText(QStringLiteral("15"));
    app_.deviceForm().show();
    QTest::mouseClick(in<QPushButton>(app_.deviceForm(), "OKDDBitBtn"), Qt::LeftButton);
    calculate();
    ASSERT_TRUE(messages_.informed().isEmpty()) << messages_.informed().join(QStringLiteral("|")).toStdString();
  }

  // Opens the window from its menu item and runs `inside` while it is up;
  // "Закрыть" closes it afterwards whatever `inside` found.
  void whileOpen(const std::function<void()>& inside) {
    tesmir_test::ModalGuard guard("the protection check window closed by \"Закрыть\"");
    bool ran = false;
    QTimer::singleShot(0, [&] {
      ran = true;
      EXPECT_EQ(QApplication::activeModalWidget(), &app_.checkForm());
      inside();
      if (app_.checkForm().isVisible()) {
        QTest::mouseClick(in<QPushButton>(app_.checkForm(), "CloseButton"), Qt::LeftButton);
      }
    });
    menu("CheckMenu")->trigger();
    EXPECT_TRUE(ran);
    EXPECT_FALSE(app_.checkForm().isVisible());
  }

  tesmir_test::RecordingMessageSink messages_;
  tesmir::DialogFileChooser files_;
  tesmir::App app_;
};

TEST_F(ProtectionCheckFormTest, MenuItemFollowsTheResultsMenu) {
  const QList<QAction*> items = app_.mainForm().menuBar()->actions();
  // "Проверка" comes right after "Отчет".
  qsizetype report = -1;
  for (qsizetype i = 0; i < items.size(); ++i) {
    if (items[i]->objectName() == QStringLiteral("ReportMenu")) report = i;
  }
  ASSERT_GE(report, 0);
  ASSERT_LT(report + 1, items.size());
  EXPECT_EQ(items[report + 1]->objectName(), QStringLiteral("CheckMenu"));
  EXPECT_EQ(items[report + 1]->text().remove(QLatin1Char('&')), QStringLiteral("Проверка"));  // "&" underlines

  EXPECT_FALSE(menu("CheckMenu")->isEnabled());
  calculate();
  EXPECT_TRUE(menu("CheckMenu")->isEnabled());
  in<QLineEdit>(app_.mainForm(), "RArcEdit")->setText(QStringLiteral("-1"));
  calculate();  // fails
  EXPECT_FALSE(menu("ResultMenu")->isEnabled());
  EXPECT_FALSE(menu("CheckMenu")->isEnabled());
}

TEST_F(ProtectionCheckFormTest, ShowsTheCheckAndJudgesTheTypedBreakingCapacity) {
  workedFeeder();
  const auto shownElsewhere = [this] {
    QStringList all;
    for (QWidget* window : {static_cast<QWidget*>(&app_.mainForm()), static_cast<QWidget*>(&app_.resultForm())}) {
      for (const QLabel* l : window->findChildren<QLabel*>()) all << l->objectName() + QLatin1Char('=') + l->text();
    }
    return all;
  };
  const QStringList before = shownElsewhere();
  const double iokz = app_.scheme().Iokz;

  whileOpen([this] {
    QWidget& form = app_.checkForm();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Проверка защиты"));
    const std::pair<const char*, const char*> labels[] = {
        {"TripCurrentLabel", "176 А"},   {"LastLineLabel", "Линия 1"},
        {"IokzMinLabel", "99 А"},        {"IokzMinStatusLabel", "Несрабатывание за нормативное время"},
        {"LengthMaxLabel", "87 м"},      {"LengthMaxHotLabel", "66 м"},
        {"SectionMinLabel", "4 кв.мм."}, {"SectionMinHotLabel", "6 кв.мм."},
        {"Ik3DeviceLabel", "13,47 кА"},  {"Ik3PointLabel", "0,27 кА"},
        {"BreakingStatusLabel", ""}};
    for (const auto& [name, value] : labels) {
      EXPECT_EQ(text(name), QString::fromUtf8(value)) << name;
      EXPECT_FALSE(label(name)->statusTip().isEmpty()) << name;
    }

    auto* edit = in<QLineEdit>(form, "BreakingCapacityEdit");
    EXPECT_TRUE(edit->text().isEmpty());
    EXPECT_FALSE(edit->statusTip().isEmpty());
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("15"));  // against 13,47 kA at the device
    EXPECT_EQ(text("BreakingStatusLabel"), QStringLiteral("Отключающая способность достаточна"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(text("BreakingStatusLabel"), QStringLiteral("Отключающая способность недостаточна"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(text("BreakingStatusLabel"), QStringLiteral(""));
    EXPECT_TRUE(messages_.informed().isEmpty());

    // A comma is not a decimal point: the message when the entry ends, once.
    QTest::keyClicks(edit, QStringLiteral("13,5"));
    EXPECT_EQ(text("BreakingStatusLabel"), QStringLiteral(""));
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(messages_.informed(),
              QStringList{QStringLiteral("Неверная величина отключающей способности аппарата защиты")});
    EXPECT_TRUE(form.isVisible());  // Enter does not close the window

    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    edit->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    EXPECT_TRUE(app_.helpViewer().isVisible());
    EXPECT_EQ(app_.helpViewer().currentTopic(), 37);
    app_.helpViewer().hide();
  });
  EXPECT_EQ(messages_.informed().size(), 1);  // leaving the edit by "Закрыть" does not repeat it

  // The typed capacity stays for the next opening.
  whileOpen([this] {
    auto* edit = in<QLineEdit>(app_.checkForm(), "BreakingCapacityEdit");
    EXPECT_EQ(edit->text(), QStringLiteral("13,5"));
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("13.5"));
    EXPECT_EQ(text("BreakingStatusLabel"), QStringLiteral("Отключающая способность достаточна"));
  });

  // Nothing the program showed before has changed.
  EXPECT_EQ(shownElsewhere(), before);
  EXPECT_EQ(app_.scheme().Iokz, iokz);
  EXPECT_EQ(app_.deviceSettings().TokSR, 176);
  EXPECT_TRUE(menu("ResultMenu")->isEnabled());
}

TEST_F(ProtectionCheckFormTest, DashesCarryTheirReasonsAsStatusTips) {
  calculate();  // the start window: no section has a length, no device
  whileOpen([this] {
    EXPECT_EQ(text("IokzMinStatusLabel"), QStringLiteral("Аппарат защиты не выбран"));
    EXPECT_EQ(text("LengthMaxLabel"), QStringLiteral("—"));
    EXPECT_EQ(label("LengthMaxLabel")->statusTip().toStdString(), tesmir::check_texts::kWhyNoDevice);
    EXPECT_EQ(text("Ik3DeviceLabel"), QStringLiteral("0,84 кА"));  // "Y/Y-0" 25 kVA is taken as its "T/Y-0" namesake
  });
  in<QComboBox>(app_.mainForm(), "WindKindComboBox")->setEditText(QStringLiteral("1/1-0"));
  calculate();
  whileOpen([this] {
    EXPECT_EQ(text("Ik3PointLabel"), QStringLiteral("—"));
    EXPECT_EQ(label("Ik3PointLabel")->statusTip().toStdString(), tesmir::check_texts::kWhySinglePhase);
    EXPECT_EQ(label("LengthMaxLabel")->statusTip().toStdString(), tesmir::check_texts::kWhyNoDevice);
  });
}

}  // namespace
