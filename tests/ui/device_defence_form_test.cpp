#include "widgets/device_defence_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>

#include <memory>

#include "support/recording_message_sink.h"
#include "support/ui_test_app.h"
#include "widgets/context_help.h"

namespace tesmir {
namespace {

QStringList Items(const QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) {
    items << box->itemText(i);
  }
  return items;
}

class DeviceDefenceFormTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { tesmir_test::EnsureApplication(); }

  void SetUp() override {
    for (const char* name : {"TypeDDLabel", "ToknomLabel", "KZLabel", "TokSRLabel", "TimeSRLabel"}) {
      labels_.push_back(std::make_unique<QLabel>(QStringLiteral("---")));
      labels_.back()->setObjectName(name);
    }
    mainStatus_ = std::make_unique<QLabel>(QStringLiteral("В расчете не определен"));
    mainStatus_->setObjectName("StatusDDLabel");
    resultStatus_ = std::make_unique<QLabel>(QStringLiteral("в расчете не определен."));
    resultStatus_->setObjectName("StatusDDLabel");

    form_ = std::make_unique<DeviceDefenceForm>(settings_, scheme_, sink_);
    form_->setStatusView(DeviceStatusView{mainStatus_.get(), resultStatus_.get(), labels_[0].get(), labels_[1].get(),
                                          labels_[2].get(), labels_[3].get(), labels_[4].get()});
    form_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
  }

  template <typename T>
  T* Control(const char* name) {
    T* control = form_->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  QComboBox* List(const char* name) { return Control<QComboBox>(name); }
  // Clicks a button; radio buttons and the check box on their indicator, as
  // their row may be wider than the indicator and its text.
  void Click(const char* name) {
    QAbstractButton* button = Control<QAbstractButton>(name);
    const bool indicator = qobject_cast<QPushButton*>(button) == nullptr;
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier,
                      indicator ? QPoint(8, button->height() / 2) : button->rect().center());
  }

  // Replaces a list's text by typing it key by key (also Cyrillic letters).
  void Type(const char* name, const QString& text) {
    QLineEdit* edit = List(name)->lineEdit();
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty()) {
      QTest::keyClick(edit, Qt::Key_Delete);
    }
    for (QChar c : text) {
      QTest::sendKeyEvent(QTest::Press, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
      QTest::sendKeyEvent(QTest::Release, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    ASSERT_EQ(List(name)->currentText(), text);
  }

  QString Label(int i) const { return labels_[static_cast<std::size_t>(i)]->text(); }

  // The breaker the dialog starts with is the accepted device: 16 A, 1.1,
  // Iср = 176 A.
  void ExpectTheStartingBreaker() const {
    EXPECT_EQ(settings_.KindDD, DeviceKind::Breaker);
    EXPECT_DOUBLE_EQ(settings_.TokSR, 176);
    EXPECT_EQ(Label(0), QStringLiteral("Автоматический выключатель"));
    EXPECT_EQ(Label(1), QStringLiteral("Iном=16 А"));
    EXPECT_EQ(Label(2), QStringLiteral("Кз=1.1"));
    EXPECT_EQ(Label(3), QStringLiteral("Iср=176 А"));
  }

  DeviceSettings settings_;
  SchemeState scheme_;
  tesmir_test::RecordingMessageSink sink_;
  std::vector<std::unique_ptr<QLabel>> labels_;  // type, toknom, kz, tokSR, timeSR
  std::unique_ptr<QLabel> mainStatus_;
  std::unique_ptr<QLabel> resultStatus_;
  std::unique_ptr<DeviceDefenceForm> form_;
};

TEST_F(DeviceDefenceFormTest, StartState) {
  EXPECT_EQ(form_->objectName(), QStringLiteral("DeviceDefenceForm"));
  EXPECT_EQ(form_->windowTitle(), QStringLiteral("Аппарат защиты"));
  EXPECT_EQ(form_->minimumSize(), form_->maximumSize());
  EXPECT_EQ(form_->property(kHelpContextProperty).toInt(), 34);

  EXPECT_TRUE(Control<QRadioButton>("AVRadioButton")->isChecked());
  EXPECT_FALSE(Control<QRadioButton>("PPRadioButton")->isChecked());
  EXPECT_FALSE(Control<QCheckBox>("TokNRCheckBox")->isChecked());
  EXPECT_EQ(Control<QCheckBox>("TokNRCheckBox")->text(),
            QStringLiteral("Указан ток срабатывания независимого расцепителя, А"));

  EXPECT_EQ(List("TokAVnomComboBox")->currentText(), QStringLiteral("16"));
  EXPECT_EQ(List("TokAVnomComboBox")->count(), 29);
  EXPECT_EQ(List("TokNRComboBox")->currentText(), QStringLiteral("10 (\"C\")"));
  EXPECT_EQ(Items(List("TokNRComboBox")),
            QStringList({QStringLiteral("3 (\"\u0410\")"), QStringLiteral("5 (\"B\")"), QStringLiteral("10 (\"C\")"),
                         QStringLiteral("12"), QStringLiteral("20 (\"D\")")}));  // Cyrillic А
  EXPECT_EQ(List("KZAVComboBox")->currentText(), QStringLiteral("1.1"));
  EXPECT_EQ(Items(List("KZPPComboBox")),
            QStringList({QStringLiteral("1.0"), QStringLiteral("1.05"), QStringLiteral("1.1"), QStringLiteral("1.15"),
                         QStringLiteral("1.2")}));
  EXPECT_EQ(List("TypePPComboBox")->currentText(), QStringLiteral("ППН"));
  EXPECT_EQ(Items(List("TypePPComboBox")),
            QStringList({QStringLiteral("ППН"), QStringLiteral("ПН2"), QStringLiteral("НПН")}));
  EXPECT_EQ(List("TokPPComboBox")->currentText(), QStringLiteral("63"));
  EXPECT_EQ(List("TokPPComboBox")->count(), 24);
  EXPECT_EQ(Items(List("TimePPComboBox")), QStringList({QStringLiteral("Тср < 5 с"), QStringLiteral("Тср < 0,4 с")}));

  for (const char* name : {"TokAVnomComboBox", "TokNRComboBox", "TokNRCheckBox", "KZAVComboBox", "TokAVnomLabel",
                           "TokNRLabel", "KZAVLabel"}) {
    EXPECT_TRUE(Control<QWidget>(name)->isEnabled()) << name;
  }
  for (const char* name : {"TypePPComboBox", "TokPPComboBox", "KZPPComboBox", "TimePPComboBox", "TypePPLabel",
                           "TokPPLabel", "KZPPLabel", "TimePPLabel"}) {
    EXPECT_FALSE(Control<QWidget>(name)->isEnabled()) << name;
  }
  for (const char* name : {"AVRadioButton", "PPRadioButton", "TokNRCheckBox", "TokAVnomComboBox", "TokNRComboBox",
                           "KZAVComboBox", "TypePPComboBox", "TokPPComboBox", "KZPPComboBox", "TimePPComboBox"}) {
    EXPECT_EQ(Control<QWidget>(name)->property(kHelpContextProperty).toInt(), 34) << name;
    EXPECT_FALSE(Control<QWidget>(name)->statusTip().isEmpty()) << name;
    EXPECT_TRUE(Control<QWidget>(name)->toolTip().isEmpty()) << name;
  }
  EXPECT_TRUE(sink_.texts().isEmpty());
}

TEST_F(DeviceDefenceFormTest, HintShownInTheDialogsStatusBar) {
  QStatusBar* bar = form_->findChild<QStatusBar*>();
  ASSERT_NE(bar, nullptr);
  QStatusTipEvent tip(Control<QWidget>("KZAVComboBox")->statusTip());
  QApplication::sendEvent(Control<QWidget>("KZAVComboBox"), &tip);
  EXPECT_EQ(bar->currentMessage(), QStringLiteral("Введите коэффициент запаса"));
}

TEST_F(DeviceDefenceFormTest, RadioButtonsSwitchTheEnabledGroup) {
  Click("PPRadioButton");
  EXPECT_TRUE(Control<QRadioButton>("PPRadioButton")->isChecked());
  EXPECT_FALSE(Control<QRadioButton>("AVRadioButton")->isChecked());
  EXPECT_TRUE(List("TimePPComboBox")->isEnabled());
  EXPECT_TRUE(Control<QLabel>("TypePPLabel")->isEnabled());
  EXPECT_FALSE(List("TokAVnomComboBox")->isEnabled());
  EXPECT_FALSE(Control<QCheckBox>("TokNRCheckBox")->isEnabled());
  Click("AVRadioButton");
  EXPECT_FALSE(List("TimePPComboBox")->isEnabled());
  EXPECT_TRUE(Control<QCheckBox>("TokNRCheckBox")->isEnabled());
  EXPECT_EQ(List("TokAVnomComboBox")->currentText(), QStringLiteral("16"));  // values stay
}

TEST_F(DeviceDefenceFormTest, TypingTheFuseTypeRefillsTheRatings) {
  Click("PPRadioButton");
  Type("TypePPComboBox", QStringLiteral("ПН"));
  // "П" and "ПН" are both unknown, each reported as typed.
  EXPECT_EQ(sink_.texts(), QStringList({QStringLiteral("Неизвестный тип предохранителя"),
                                        QStringLiteral("Неизвестный тип предохранителя")}));
  EXPECT_EQ(List("TokPPComboBox")->count(), 0);
  EXPECT_EQ(List("TokPPComboBox")->currentText(), QStringLiteral("0"));

  sink_.clear();
  QTest::sendKeyEvent(QTest::Click, List("TypePPComboBox")->lineEdit(), Qt::Key_2, '2', Qt::NoModifier);
  EXPECT_EQ(List("TypePPComboBox")->currentText(), QStringLiteral("ПН2"));
  EXPECT_TRUE(sink_.texts().isEmpty());
  EXPECT_EQ(List("TokPPComboBox")->currentText(), QStringLiteral("63"));
  EXPECT_EQ(List("TokPPComboBox")->count(), 15);
  EXPECT_EQ(List("TokPPComboBox")->itemText(0), QStringLiteral("31.5"));

  // Picking an entry runs the same change.
  List("TypePPComboBox")->setCurrentIndex(2);
  EXPECT_EQ(Items(List("TokPPComboBox")),
            QStringList({QStringLiteral("6.3"), QStringLiteral("10"), QStringLiteral("16"), QStringLiteral("20"),
                         QStringLiteral("25"), QStringLiteral("31.5"), QStringLiteral("40"), QStringLiteral("63")}));
  EXPECT_TRUE(sink_.texts().isEmpty());
}

TEST_F(DeviceDefenceFormTest, CheckBoxSwitchesMultiplesAndCurrent) {
  Click("TokNRCheckBox");
  EXPECT_EQ(List("TokNRComboBox")->count(), 0);
  EXPECT_EQ(List("TokNRComboBox")->currentText(), QStringLiteral(""));
  Type("TokNRComboBox", QStringLiteral("250"));
  Type("KZAVComboBox", QStringLiteral("1.2"));
  Click("OKDDBitBtn");
  EXPECT_TRUE(sink_.texts().isEmpty());
  EXPECT_EQ(settings_.TokSR, 300);

  form_->show();
  Click("TokNRCheckBox");
  EXPECT_EQ(List("TokNRComboBox")->currentText(), QStringLiteral("10 (\"C\")"));
  EXPECT_EQ(Items(List("TokNRComboBox")),
            QStringList({QStringLiteral("3 (\"A\")"), QStringLiteral("5 (\"B\")"), QStringLiteral("10 (\"C\")"),
                         QStringLiteral("12"), QStringLiteral("20 (\"D\")")}));
}

TEST_F(DeviceDefenceFormTest, AcceptingABreaker) {
  scheme_.Iokz = 200;
  Click("OKDDBitBtn");
  EXPECT_TRUE(sink_.texts().isEmpty());
  EXPECT_FALSE(form_->isVisible());
  EXPECT_EQ(form_->result(), QDialog::Accepted);
  ExpectTheStartingBreaker();
  EXPECT_EQ(Label(4), QStringLiteral("Тср < 0,4 с"));
  EXPECT_EQ(mainStatus_->text(), QStringLiteral("Срабатывание за нормативное время"));
  EXPECT_EQ(resultStatus_->text(), QStringLiteral("Срабатывание за нормативное время"));
}

TEST_F(DeviceDefenceFormTest, AcceptingBeforeAnyCalculationLeavesTheTimeAlone) {
  Click("PPRadioButton");
  Click("OKDDBitBtn");
  EXPECT_DOUBLE_EQ(settings_.TokSR, 363);
  EXPECT_EQ(Label(0), QStringLiteral("Плавкий предохранитель (ППН)"));
  EXPECT_EQ(Label(2), QStringLiteral("Kз=1.1"));
  EXPECT_EQ(Label(4), QStringLiteral("---"));
  EXPECT_EQ(mainStatus_->text(), QStringLiteral("Выполните расчет тока однофазного короткого замыкания"));
  EXPECT_EQ(resultStatus_->text(), QStringLiteral("Выполните расчет тока однофазного короткого замыкания"));
}

TEST_F(DeviceDefenceFormTest, RejectedAcceptanceChangesNothingButTheMessage) {
  scheme_.Iokz = 150;
  Click("OKDDBitBtn");
  ASSERT_EQ(Label(4), QStringLiteral("Тср > 0,4 с"));

  form_->show();
  Click("PPRadioButton");
  List("TypePPComboBox")->setCurrentIndex(2);  // НПН has no "50"
  Type("TokPPComboBox", QStringLiteral("50"));
  Click("OKDDBitBtn");
  EXPECT_EQ(sink_.texts(),
            QStringList({QStringLiteral("Неизвестный номинальный ток плавкой вставки предохранителя.")}));
  EXPECT_TRUE(form_->isVisible());
  ExpectTheStartingBreaker();
  EXPECT_EQ(Label(4), QStringLiteral("Тср > 0,4 с"));
  EXPECT_EQ(mainStatus_->text(), QStringLiteral("Несрабатывание за нормативное время"));
}

TEST_F(DeviceDefenceFormTest, UnrecognisedFuseTypeForgetsTheTripCurrent) {
  Click("PPRadioButton");
  Click("OKDDBitBtn");
  ASSERT_DOUBLE_EQ(settings_.TokSR, 363);
  form_->show();
  Type("TypePPComboBox", QStringLiteral("XYZ"));
  sink_.clear();
  Type("TokPPComboBox", QStringLiteral("63"));
  Click("OKDDBitBtn");
  EXPECT_EQ(sink_.texts(), QStringList({QStringLiteral("Неправильно указан тип предохранителя")}));
  EXPECT_EQ(settings_.TokSR, 0);
  EXPECT_EQ(settings_.TypePP, FuseType::PPN);
  EXPECT_TRUE(form_->isVisible());
}

TEST_F(DeviceDefenceFormTest, ResetForgetsTheDevice) {
  scheme_.Iokz = 500;
  Click("OKDDBitBtn");
  ASSERT_EQ(Label(4), QStringLiteral("Тср < 0,4 с"));
  form_->show();
  Click("BitBtn3");
  EXPECT_FALSE(form_->isVisible());
  EXPECT_EQ(form_->result(), QDialog::Rejected);
  EXPECT_EQ(settings_.TokSR, -1);
  EXPECT_EQ(settings_.KindDD, DeviceKind::Breaker);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(Label(i), QStringLiteral("---")) << i;
  }
  EXPECT_EQ(mainStatus_->text(), QStringLiteral("В расчете не определен"));
  EXPECT_EQ(resultStatus_->text(), QStringLiteral("В расчете не определен"));
  EXPECT_EQ(List("TokAVnomComboBox")->currentText(), QStringLiteral("16"));
}

TEST_F(DeviceDefenceFormTest, CancelKeepsTheTextsAndChangesNothing) {
  Type("TokAVnomComboBox", QStringLiteral("25"));
  Click("BitBtn2");
  EXPECT_FALSE(form_->isVisible());
  EXPECT_EQ(settings_.KindDD, DeviceKind::None);
  EXPECT_EQ(settings_.TokSR, 0);
  EXPECT_EQ(Label(0), QStringLiteral("---"));
  form_->show();
  EXPECT_EQ(List("TokAVnomComboBox")->currentText(), QStringLiteral("25"));
  EXPECT_EQ(List("TokAVnomComboBox")->count(), 29);  // typed text is not added to the list
}

}  // namespace
}  // namespace tesmir
