#include "widgets/main_form.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "support/modal_guard.h"
#include "support/recording_message_sink.h"
#include "support/ui_test_app.h"
#include "widgets/context_help.h"
#include "widgets/result_form.h"

namespace {

using tesmir::MainForm;
using tesmir::ResultForm;

const QString kNotEnough = QStringLiteral("Не хватает данных для расчета!");
const QString kDoCalc = QStringLiteral("Выполните расчет тока однофазного короткого замыкания");
const QString kUndefined = QStringLiteral("В расчете не определен");
const QString kEnterData = QStringLiteral("Введите исходные данные для расчета");
const QStringList kMaterials = {QStringLiteral("Алюминий"), QStringLiteral("Медь")};
const QStringList kSections = {
    QStringLiteral("0"),   QStringLiteral("1.5"), QStringLiteral("2.5"), QStringLiteral("4"),
    QStringLiteral("6"),   QStringLiteral("10"),  QStringLiteral("16"),  QStringLiteral("25"),
    QStringLiteral("35"),  QStringLiteral("50"),  QStringLiteral("70"),  QStringLiteral("95"),
    QStringLiteral("120"), QStringLiteral("150"), QStringLiteral("185"), QStringLiteral("240")};

QStringList Items(const QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) {
    items << box->itemText(i);
  }
  return items;
}

// Types `text` into `edit` character by character, as the keyboard does; works
// for Cyrillic letters too.
void Type(QLineEdit* edit, const QString& text) {
  for (const QChar ch : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(edit, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(edit, &release);
  }
}

class MainFormTest : public ::testing::Test {
 public:
  void SetUp() override {
    tesmir_test::EnsureApplication();
    results = std::make_unique<ResultForm>();
    form = std::make_unique<MainForm>(scheme, messages, *results);
  }

  template <class T>
  T* find(const QString& name) const {
    T* widget = form->findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
  }
  QComboBox* combo(const QString& name) const { return find<QComboBox>(name); }
  QComboBox* rowCombo(const char* prefix, int row) const {
    return combo(QStringLiteral("%1%2ComboBox").arg(QLatin1String(prefix)).arg(row));
  }
  QString label(const QString& name) const { return find<QLabel>(name)->text(); }
  QAction* action(const QString& name) const { return find<QAction>(name); }
  QPushButton* button(const QString& name) const { return find<QPushButton>(name); }

  // Chooses a list item the way the user does, which also changes the text.
  static void choose(QComboBox* box, const QString& text) {
    const int index = box->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    box->setCurrentIndex(index);
  }

  tesmir::SchemeState scheme;
  tesmir_test::RecordingMessageSink messages;
  std::unique_ptr<ResultForm> results;
  std::unique_ptr<MainForm> form;
};

TEST_F(MainFormTest, StartsAsDescribed) {
  EXPECT_EQ(form->objectName(), QStringLiteral("MainForm"));
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Тесмир 2.5.1"));
  EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(form->minimumSize(), form->maximumSize());

  EXPECT_EQ(combo(QStringLiteral("WindKindComboBox"))->currentText(), QStringLiteral("Y/Y-0"));
  EXPECT_EQ(Items(combo(QStringLiteral("WindKindComboBox"))),
            QStringList(
                {QStringLiteral("Y/Y-0"), QStringLiteral("T/Y-0"), QStringLiteral("Y/Z-0"), QStringLiteral("1/1-0")}));
  EXPECT_EQ(combo(QStringLiteral("TransPowerComboBox"))->currentText(), QStringLiteral("25"));
  EXPECT_EQ(Items(combo(QStringLiteral("TransPowerComboBox"))),
            QStringList({QStringLiteral("25"), QStringLiteral("40"), QStringLiteral("63"), QStringLiteral("100"),
                         QStringLiteral("160"), QStringLiteral("250"), QStringLiteral("320"), QStringLiteral("400"),
                         QStringLiteral("630"), QStringLiteral("1000"), QStringLiteral("1600")}));

  for (int row = 1; row <= 6; ++row) {
    SCOPED_TRACE(row);
    QComboBox* kind = rowCombo("KindPerformLine", row);
    EXPECT_EQ(kind->currentText(),
              row == 1 ? QStringLiteral("Кабель с бумажной изоляцией") : QStringLiteral("Кабель с ПВХ изоляцией"));
    EXPECT_EQ(kind->count(), 12);
    EXPECT_EQ(kind->itemText(11), QStringLiteral("Шинопровод ШМА, ШРА"));
    EXPECT_EQ(rowCombo("StuffLine", row)->currentText(),
              row == 1 ? QStringLiteral("Алюминий") : QStringLiteral("Медь"));
    EXPECT_EQ(Items(rowCombo("StuffLine", row)), kMaterials);
    EXPECT_EQ(find<QLineEdit>(QStringLiteral("LengthLine%1Edit").arg(row))->text(), QStringLiteral("0"));
    EXPECT_EQ(rowCombo("QuanParLine", row)->currentText(), QStringLiteral("нет"));
    EXPECT_EQ(Items(rowCombo("QuanParLine", row)),
              QStringList({QStringLiteral("нет"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                           QStringLiteral("5"), QStringLiteral("6")}));
    for (const char* section : {"FfLine", "FnLine"}) {
      EXPECT_EQ(rowCombo(section, row)->currentText(), QStringLiteral("0"));
      EXPECT_EQ(Items(rowCombo(section, row)), kSections);
      EXPECT_TRUE(rowCombo(section, row)->isEnabled());
    }
    EXPECT_TRUE(kind->isEditable());
    EXPECT_EQ(kind->insertPolicy(), QComboBox::NoInsert);
  }
  EXPECT_EQ(find<QLineEdit>(QStringLiteral("RArcEdit"))->text(), QStringLiteral("40"));

  EXPECT_EQ(button(QStringLiteral("DDButton"))->text(), QStringLiteral("Параметры аппарата защиты"));
  EXPECT_EQ(button(QStringLiteral("StartButton"))->text(), QStringLiteral("Расчет"));
  EXPECT_TRUE(button(QStringLiteral("StartButton"))->font().bold());
  EXPECT_EQ(button(QStringLiteral("AddToReportButton"))->text(), QStringLiteral("Добавить в отчет..."));
  EXPECT_FALSE(button(QStringLiteral("AddToReportButton"))->isEnabled());
  EXPECT_EQ(button(QStringLiteral("BitBtn1"))->text(), QStringLiteral("Выход"));
  EXPECT_EQ(label(QStringLiteral("IokzLabel")), kEnterData);
  EXPECT_EQ(label(QStringLiteral("StatusDDLabel")), kUndefined);

  const std::pair<const char*, const char*> menu[] = {
      {"ResultMenu", "Результаты"}, {"ReportMenu", "Отчет"}, {"HelpMenu", "Помощь"}, {"AboutMenu", "О программе"}};
  for (const auto& [name, caption] : menu) {
    const QString objectName = QString::fromLatin1(name);
    EXPECT_EQ(action(objectName)->text().remove(QLatin1Char('&')), QString::fromUtf8(caption));  // "&" underlines
    EXPECT_EQ(action(objectName)->isEnabled(), objectName != QStringLiteral("ResultMenu")) << name;
    EXPECT_EQ(action(objectName)->menu(), nullptr);
  }

  QStatusBar* bar = find<QStatusBar>(QStringLiteral("StatusBar1"));
  EXPECT_EQ(bar->currentMessage(), QStringLiteral(""));
  EXPECT_EQ(bar->statusTip(), QStringLiteral("Строка помощи"));
  EXPECT_FALSE(bar->isSizeGripEnabled());
}

TEST_F(MainFormTest, HintsAreStatusTipsNeverToolTips) {
  const std::pair<const char*, const char*> hints[] = {
      {"WindKindComboBox", "Выберите тип соединения обмоток трансформатора"},
      {"TransPowerComboBox", "Выберите мощность трансформатора в кВ*А из списка стандартных значений"},
      {"StuffLine4ComboBox", "Введите материал жилы: алюминий или медь"},
      {"LengthLine6Edit", "Введите длину линии в метрах"},
      {"QuanParLine2ComboBox",
       "Введите количество параллельных проводов. \"Нет\" или \"1\" вводится при отсутствии параллельных проводов."},
      {"FfLine1ComboBox", "Выберите сечение фазной жилы из списка стандартных сечений"},
      {"FnLine5ComboBox", "Выберите сечение нулевой жилы из списка стандартных значений"},
      {"RArcEdit", "Введите переходное сопротивление контактов в диапазоне 0..40 мОм"},
      {"DDButton", "Выбор аппарата защиты линии"},
      {"StartButton", "Запуск расчета"},
      {"AddToReportButton", "Добавление результатов в отчет"},
      {"BitBtn1", "Выход из программы"},
      {"StatusDDLabel", "Строка состояния аппарата защиты"},
      {"IokzLabel", "Строка вывода результатов расчета"},
  };
  for (const auto& [name, hint] : hints) {
    EXPECT_EQ(find<QWidget>(QString::fromLatin1(name))->statusTip(), QString::fromUtf8(hint)) << name;
  }
  for (QWidget* widget : form->findChildren<QWidget*>()) {
    EXPECT_TRUE(widget->toolTip().isEmpty()) << widget->objectName().toStdString();
  }
}

TEST_F(MainFormTest, HelpContextsOfWindowAndControls) {
  EXPECT_EQ(tesmir::HelpTopicFor(form.get(), form.get()), 1);
  const std::pair<const char*, int> topics[] = {{"WindKindComboBox", 31},
                                                {"TransPowerComboBox", 31},
                                                {"KindPerformLine1ComboBox", 32},
                                                {"StuffLine3ComboBox", 32},
                                                {"LengthLine6Edit", 32},
                                                {"QuanParLine4ComboBox", 32},
                                                {"FfLine2ComboBox", 32},
                                                {"FnLine5ComboBox", 32},
                                                {"RArcEdit", 33},
                                                {"StartButton", 1},
                                                {"DDButton", 1},
                                                {"BitBtn1", 1}};
  for (const auto& [name, topic] : topics) {
    EXPECT_EQ(tesmir::HelpTopicFor(find<QWidget>(QString::fromLatin1(name)), form.get()), topic) << name;
  }
}

TEST_F(MainFormTest, TabWalksTheControlsInOrder) {
  QStringList expected = {QStringLiteral("WindKindComboBox"), QStringLiteral("TransPowerComboBox")};
  for (int row = 1; row <= 6; ++row) {
    for (const char* name : {"KindPerformLine%1ComboBox", "StuffLine%1ComboBox", "LengthLine%1Edit",
                             "QuanParLine%1ComboBox", "FfLine%1ComboBox", "FnLine%1ComboBox"}) {
      expected << QString(QLatin1String(name)).arg(row);
    }
  }
  expected << QStringLiteral("RArcEdit") << QStringLiteral("DDButton") << QStringLiteral("StartButton");
  // "Добавить в отчет..." takes focus only once a calculation enabled it.
  expected << QStringLiteral("BitBtn1") << QStringLiteral("WindKindComboBox");

  form->show();
  QApplication::setActiveWindow(form.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  combo(QStringLiteral("WindKindComboBox"))->setFocus();
  QStringList walked = {QApplication::focusWidget()->objectName()};
  for (int i = 1; i < expected.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget* focus = QApplication::focusWidget();
    // An editable list's line edit is part of its list.
    if (qobject_cast<QLineEdit*>(focus) && qobject_cast<QComboBox*>(focus->parentWidget())) {
      focus = focus->parentWidget();
    }
    walked << focus->objectName();
  }
  EXPECT_EQ(walked, expected);
}

struct PowerCase {
  const char* scheme;
  QStringList items;
  const char* text;
};

TEST_F(MainFormTest, SchemeRefillsThePowerList) {
  const PowerCase cases[] = {
      {"T/Y-0",
       {QStringLiteral("25"), QStringLiteral("40"), QStringLiteral("63"), QStringLiteral("100"), QStringLiteral("160"),
        QStringLiteral("250"), QStringLiteral("400"), QStringLiteral("630"), QStringLiteral("800"),
        QStringLiteral("1000"), QStringLiteral("1250"), QStringLiteral("1600"), QStringLiteral("2500")},
       "25"},
      {"1/1-0", {QStringLiteral("1.25"), QStringLiteral("2.5"), QStringLiteral("4"), QStringLiteral("10")}, "10"},
      {"Y/Z-0",
       {QStringLiteral("25"), QStringLiteral("40"), QStringLiteral("63"), QStringLiteral("100"), QStringLiteral("160"),
        QStringLiteral("250")},
       "25"},
      {"Y/Y-0",
       {QStringLiteral("25"), QStringLiteral("40"), QStringLiteral("63"), QStringLiteral("100"), QStringLiteral("160"),
        QStringLiteral("250"), QStringLiteral("320"), QStringLiteral("400"), QStringLiteral("630"),
        QStringLiteral("1000"), QStringLiteral("1600")},
       "25"},
  };
  QComboBox* power = combo(QStringLiteral("TransPowerComboBox"));
  for (const PowerCase& c : cases) {
    SCOPED_TRACE(c.scheme);
    power->setEditText(QStringLiteral("777"));
    choose(combo(QStringLiteral("WindKindComboBox")), QString::fromUtf8(c.scheme));
    EXPECT_EQ(Items(power), c.items);
    EXPECT_EQ(power->currentText(), QString::fromUtf8(c.text));
  }
  // Typing the same scheme refills the list too.
  power->setEditText(QStringLiteral("777"));
  combo(QStringLiteral("WindKindComboBox"))->setEditText(QStringLiteral("1/1-0"));
  EXPECT_EQ(power->currentText(), QStringLiteral("10"));
  EXPECT_TRUE(messages.informed().isEmpty());
  EXPECT_EQ(label(QStringLiteral("IokzLabel")), kEnterData);
}

TEST_F(MainFormTest, TypingAnUnknownSchemeWarnsOnEveryChangeAndKeepsPowers) {
  form->show();
  QComboBox* windKind = combo(QStringLiteral("WindKindComboBox"));
  choose(windKind, QStringLiteral("T/Y-0"));
  const QStringList powers = Items(combo(QStringLiteral("TransPowerComboBox")));
  windKind->lineEdit()->clear();
  messages.clear(tesmir_test::RecordingMessageSink::Kind::Inform);
  Type(windKind->lineEdit(), QStringLiteral("Q/"));
  EXPECT_EQ(messages.informed(), QStringList(2, QStringLiteral("Неизвестная схема обмоток трансформатора")));
  EXPECT_EQ(Items(combo(QStringLiteral("TransPowerComboBox"))), powers);
  EXPECT_EQ(label(QStringLiteral("IokzLabel")), kNotEnough);
  EXPECT_EQ(label(QStringLiteral("StatusDDLabel")), kDoCalc);
}

TEST_F(MainFormTest, BusbarKindFillsModelsAndDisablesSections) {
  QComboBox* kind = rowCombo("KindPerformLine", 3);
  QComboBox* stuff = rowCombo("StuffLine", 3);
  rowCombo("FfLine", 3)->setCurrentIndex(6);
  rowCombo("FnLine", 3)->setEditText(QStringLiteral("5"));
  find<QLineEdit>(QStringLiteral("LengthLine3Edit"))->setText(QStringLiteral("12"));
  rowCombo("QuanParLine", 3)->setEditText(QStringLiteral("2"));

  choose(kind, QStringLiteral("Шинопровод Gersan"));
  EXPECT_EQ(stuff->count(), 51);
  EXPECT_EQ(stuff->currentText(), QStringLiteral("GGDA, 160A"));
  EXPECT_EQ(stuff->itemText(50), QStringLiteral("GCC, 6300A"));
  EXPECT_FALSE(rowCombo("FfLine", 3)->isEnabled());
  EXPECT_FALSE(rowCombo("FnLine", 3)->isEnabled());
  EXPECT_EQ(rowCombo("FfLine", 3)->currentText(), QStringLiteral("16"));
  EXPECT_EQ(rowCombo("FnLine", 3)->currentText(), QStringLiteral("5"));

  choose(kind, QStringLiteral("Шинопровод LS Cable"));
  EXPECT_EQ(stuff->currentText(), QStringLiteral("LS(Cu), 630A"));
  EXPECT_FALSE(Items(stuff).contains(QStringLiteral("GGDA, 160A")));

  choose(kind, QStringLiteral("Воздушная"));
  EXPECT_EQ(stuff->currentText(), QStringLiteral("Медь"));
  EXPECT_EQ(Items(stuff), kMaterials);
  EXPECT_TRUE(rowCombo("FfLine", 3)->isEnabled());
  EXPECT_TRUE(rowCombo("FnLine", 3)->isEnabled());
  EXPECT_EQ(rowCombo("FfLine", 3)->currentText(), QStringLiteral("16"));
  EXPECT_EQ(rowCombo("FnLine", 3)->currentText(), QStringLiteral("5"));
  EXPECT_EQ(find<QLineEdit>(QStringLiteral("LengthLine3Edit"))->text(), QStringLiteral("12"));
  EXPECT_EQ(rowCombo("QuanParLine", 3)->currentText(), QStringLiteral("2"));

  // Nothing else in the window moved, and no message was shown.
  EXPECT_TRUE(messages.informed().isEmpty());
  EXPECT_EQ(label(QStringLiteral("IokzLabel")), kEnterData);
  EXPECT_EQ(rowCombo("StuffLine", 2)->currentText(), QStringLiteral("Медь"));
  EXPECT_EQ(rowCombo("StuffLine", 4)->count(), 2);
}

TEST_F(MainFormTest, CableKindResetsTheRowsDefaultMaterial) {
  const std::pair<int, const char*> rows[] = {{1, "Алюминий"}, {2, "Медь"}, {6, "Медь"}};
  for (const auto& [row, material] : rows) {
    SCOPED_TRACE(row);
    QComboBox* stuff = rowCombo("StuffLine", row);
    choose(stuff, row == 1 ? QStringLiteral("Медь") : QStringLiteral("Алюминий"));
    choose(rowCombo("KindPerformLine", row), QStringLiteral("Кабель с ПВХ изоляцией"));
    choose(rowCombo("KindPerformLine", row), QStringLiteral("Кабель с бумажной изоляцией"));
    EXPECT_EQ(stuff->currentText(), QString::fromUtf8(material));
    choose(rowCombo("KindPerformLine", row), QStringLiteral("Шинопровод Canalis"));
    EXPECT_EQ(stuff->currentText(), QStringLiteral("KDP, 20A"));
    choose(rowCombo("KindPerformLine", row), QStringLiteral("Воздушная"));
    EXPECT_EQ(stuff->currentText(), QString::fromUtf8(material));
    EXPECT_EQ(Items(stuff), kMaterials);
  }
}

TEST_F(MainFormTest, UnknownLineKindWarnsAndLeavesTheRow) {
  QComboBox* kind = rowCombo("KindPerformLine", 2);
  choose(kind, QStringLiteral("Шинопровод Naxso"));
  const QStringList models = Items(rowCombo("StuffLine", 2));
  const QString model = rowCombo("StuffLine", 2)->currentText();

  kind->setEditText(QStringLiteral("Шинопровод naxso"));
  EXPECT_EQ(messages.informed(), QStringList({QStringLiteral("Неизвестный тип линии")}));
  EXPECT_EQ(label(QStringLiteral("IokzLabel")), kNotEnough);
  EXPECT_EQ(label(QStringLiteral("StatusDDLabel")), kDoCalc);
  EXPECT_EQ(Items(rowCombo("StuffLine", 2)), models);
  EXPECT_EQ(rowCombo("StuffLine", 2)->currentText(), model);
  EXPECT_FALSE(rowCombo("FfLine", 2)->isEnabled());

  // Typing: one message for every intermediate text that is no kind.
  messages.clear(tesmir_test::RecordingMessageSink::Kind::Inform);
  form->show();
  kind->lineEdit()->clear();
  const qsizetype afterClear = messages.informed().size();
  Type(kind->lineEdit(), QStringLiteral("Xy"));
  EXPECT_EQ(messages.informed().size(), afterClear + 2);
  EXPECT_EQ(kind->currentText(), QStringLiteral("Xy"));
  // Typing a whole kind reconfigures the row once the text is that kind.
  kind->lineEdit()->clear();
  Type(kind->lineEdit(), QStringLiteral("Шинопровод Gersan"));
  EXPECT_EQ(kind->currentText(), QStringLiteral("Шинопровод Gersan"));
  EXPECT_EQ(rowCombo("StuffLine", 2)->currentText(), QStringLiteral("GGDA, 160A"));
}

TEST_F(MainFormTest, StartingWindowCalculates) {
  QSignalSpy succeeded(form.get(), &MainForm::calculationSucceeded);
  QString resultLineWhenJudged;
  QString resultsWindowWhenJudged;
  QObject::connect(form.get(), &MainForm::calculationSucceeded, [&] {
    resultLineWhenJudged = label(QStringLiteral("IokzLabel"));
    resultsWindowWhenJudged = results->findChild<QLabel*>(QStringLiteral("IokzrezLabel"))->text();
  });

  QTest::mouseClick(button(QStringLiteral("StartButton")), Qt::LeftButton);

  EXPECT_TRUE(messages.informed().isEmpty());
  const QString line = QStringLiteral("Ток однофазного короткого замыкания равен 217 А");
  EXPECT_EQ(label(QStringLiteral("IokzLabel")), line);
  EXPECT_EQ(label(QStringLiteral("StatusDDLabel")), kUndefined);
  EXPECT_EQ(succeeded.count(), 1);
  // The device is judged after the result line and before the results window.
  EXPECT_EQ(resultLineWhenJudged, line);
  EXPECT_EQ(resultsWindowWhenJudged, QStringLiteral("Ток однофазного короткого замыкания равен --- А "));
  EXPECT_EQ(results->findChild<QLabel*>(QStringLiteral("IokzrezLabel"))->text(), line);
  EXPECT_TRUE(action(QStringLiteral("ResultMenu"))->isEnabled());
  EXPECT_TRUE(button(QStringLiteral("AddToReportButton"))->isEnabled());
  EXPECT_NEAR(scheme.Iokz, 217.437, 1e-3);

  // Editing inputs afterwards changes no result until the next press; the
  // result can no longer be added to the report, whose row would mix the
  // last calculation with the new inputs.
  find<QLineEdit>(QStringLiteral("RArcEdit"))->setText(QStringLiteral("x"));
  choose(combo(QStringLiteral("WindKindComboBox")), QStringLiteral("T/Y-0"));
  EXPECT_TRUE(action(QStringLiteral("ResultMenu"))->isEnabled());
  EXPECT_FALSE(button(QStringLiteral("AddToReportButton"))->isEnabled());
  EXPECT_EQ(label(QStringLiteral("IokzLabel")), line);
}

TEST_F(MainFormTest, CalculatesFromTheTypedTexts) {
  choose(combo(QStringLiteral("WindKindComboBox")), QStringLiteral("T/Y-0"));
  choose(combo(QStringLiteral("TransPowerComboBox")), QStringLiteral("630"));
  find<QLineEdit>(QStringLiteral("RArcEdit"))->setText(QStringLiteral("15"));
  button(QStringLiteral("StartButton"))->click();
  EXPECT_EQ(label(QStringLiteral("IokzLabel")), QStringLiteral("Ток однофазного короткого замыкания равен 10102 А"));

  choose(combo(QStringLiteral("WindKindComboBox")), QStringLiteral("Y/Y-0"));
  choose(combo(QStringLiteral("TransPowerComboBox")), QStringLiteral("400"));
  choose(rowCombo("KindPerformLine", 4), QStringLiteral("Кабель с ПВХ изоляцией"));
  choose(rowCombo("StuffLine", 4), QStringLiteral("Алюминий"));
  choose(rowCombo("FfLine", 4), QStringLiteral("16"));
  choose(rowCombo("FnLine", 4), QStringLiteral("16"));
  find<QLineEdit>(QStringLiteral("LengthLine4Edit"))->setText(QStringLiteral("100"));
  rowCombo("QuanParLine", 4)->setEditText(QStringLiteral("2"));
  button(QStringLiteral("StartButton"))->click();
  EXPECT_TRUE(messages.informed().isEmpty()) << messages.informed().join(QStringLiteral("|")).toStdString();
  EXPECT_EQ(scheme.Lines[3].QuanPar, 2);
  EXPECT_DOUBLE_EQ(scheme.Lines[3].Length, 100);
  EXPECT_EQ(scheme.Lines[3].Stuff, "Алюминий");
}

// Typed list texts reach the calculation exactly as typed: a beginning of a
// list item is not completed to that item.
TEST_F(MainFormTest, TypedListTextsAreNotCompleted) {
  const QString unknownTrans = QStringLiteral(
      "Неизвестная марка трансформатора. Попробуйте выбрать трансформатор другой мощности или изменить схему "
      "соединения обмоток");
  struct Case {
    const char* list;
    const char* typed;
    QString message;
  };
  const Case cases[] = {
      {"TransPowerComboBox", "10", unknownTrans},
      {"TransPowerComboBox", "6", QStringLiteral("Трансформатор выбранной мощности не заложен в программу")},
      {"FfLine1ComboBox", "3", QStringLiteral("Неизвестное сечение жилы")},
      // A section is never rounded down to a catalogue row.
      {"FfLine1ComboBox", "2.9", QStringLiteral("Неизвестное сечение жилы")},
      {"FnLine1ComboBox", "0.75", QStringLiteral("Неизвестное сечение жилы")},
      {"QuanParLine1ComboBox", "н", QStringLiteral("Неверное количество параллельных проводов линии 1")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    messages.clear(tesmir_test::RecordingMessageSink::Kind::Inform);
    SetUp();
    form->show();
    QLineEdit* length = find<QLineEdit>(QStringLiteral("LengthLine1Edit"));
    length->selectAll();
    QTest::keyClicks(length, QStringLiteral("0"));  // a length needs a conductor
    QComboBox* box = combo(QString::fromLatin1(c.list));
    box->setFocus();
    box->lineEdit()->selectAll();
    Type(box->lineEdit(), QString::fromUtf8(c.typed));  // QTest types ASCII only
    QTest::keyClick(box->lineEdit(), Qt::Key_Tab);
    EXPECT_EQ(box->currentText(), QString::fromUtf8(c.typed));
    button(QStringLiteral("StartButton"))->click();
    EXPECT_EQ(messages.informed(), QStringList({c.message}));
  }
}

// After an input changes, the result line keeps its text but reads as out of
// date until the next calculation or failure.
TEST_F(MainFormTest, ResultLineShowsWhenInputsChangedSinceTheCalculation) {
  QLabel* line = find<QLabel>(QStringLiteral("IokzLabel"));
  const QColor normal = line->palette().color(QPalette::WindowText);
  const QString normalTip = QStringLiteral("Строка вывода результатов расчета");
  const auto isStale = [&] {
    const bool grey = line->palette().color(QPalette::WindowText) != normal;
    EXPECT_EQ(grey, line->statusTip() != normalTip);
    return grey;
  };
  form->show();
  QTest::keyClicks(find<QLineEdit>(QStringLiteral("RArcEdit")), QStringLiteral("0"));
  EXPECT_FALSE(isStale()) << "no result yet";

  const std::function<void()> edits[] = {
      [&] { QTest::keyClick(find<QLineEdit>(QStringLiteral("RArcEdit")), Qt::Key_Backspace); },
      [&] { QTest::keyClicks(find<QLineEdit>(QStringLiteral("LengthLine6Edit")), QStringLiteral("5")); },
      [&] { choose(rowCombo("QuanParLine", 2), QStringLiteral("2")); },
      [&] { choose(combo(QStringLiteral("WindKindComboBox")), QStringLiteral("T/Y-0")); },
      [&] { QTest::keyClicks(rowCombo("StuffLine", 3)->lineEdit(), QStringLiteral("x")); },
  };
  for (const auto& edit : edits) {
    find<QLineEdit>(QStringLiteral("LengthLine6Edit"))->setText(QStringLiteral("0"));
    rowCombo("StuffLine", 3)->setEditText(QStringLiteral("Медь"));
    button(QStringLiteral("StartButton"))->click();
    ASSERT_TRUE(messages.informed().isEmpty()) << messages.informed().join(QStringLiteral("|")).toStdString();
    const QString result = line->text();
    EXPECT_FALSE(isStale());
    // Whatever carries the result further is offered only for the current inputs.
    QPushButton* add = button(QStringLiteral("AddToReportButton"));
    EXPECT_TRUE(add->isEnabled());
    EXPECT_EQ(add->statusTip(), QStringLiteral("Добавление результатов в отчет"));
    EXPECT_TRUE(form->notePdfAction()->isEnabled());
    EXPECT_TRUE(form->notePrintAction()->isEnabled());
    edit();
    EXPECT_EQ(line->text(), result);
    EXPECT_TRUE(isStale());
    EXPECT_EQ(
        line->statusTip(),
        QStringLiteral("Исходные данные изменены после последнего расчета. Для нового результата нажмите \"Расчет\""));
    // A row would mix this calculation's impedances with the new inputs.
    EXPECT_FALSE(add->isEnabled());
    EXPECT_EQ(add->statusTip(), QStringLiteral("Исходные данные изменены после последнего расчета. Чтобы добавить "
                                               "результат в отчет, нажмите \"Расчет\""));
    for (QAction* note : {form->notePdfAction(), form->notePrintAction()}) {
      EXPECT_FALSE(note->isEnabled());
      EXPECT_EQ(note->statusTip(), QStringLiteral("Исходные данные изменены после последнего расчета. Чтобы "
                                                  "выпустить расчет, нажмите \"Расчет\""));
    }
  }
  // "Расчет" (or F9) calculates the changed inputs and offers the result again.
  find<QLineEdit>(QStringLiteral("LengthLine6Edit"))->setText(QStringLiteral("0"));
  rowCombo("StuffLine", 3)->setEditText(QStringLiteral("Медь"));
  button(QStringLiteral("StartButton"))->click();
  EXPECT_FALSE(isStale());
  EXPECT_TRUE(button(QStringLiteral("AddToReportButton"))->isEnabled());
  EXPECT_TRUE(form->notePdfAction()->isEnabled());
  // A failure resets the look along with the text.
  find<QLineEdit>(QStringLiteral("RArcEdit"))->setText(QStringLiteral("x"));
  button(QStringLiteral("StartButton"))->click();
  EXPECT_EQ(line->text(), kNotEnough);
  EXPECT_FALSE(isStale());
}

struct FailureCase {
  const char* name;
  std::function<void(MainFormTest&)> spoil;
  const char* message;
  bool labelsBeforeMessage;
};

TEST_F(MainFormTest, FailedCalculationShowsOneMessageAndKeepsTheLastSuccess) {
  const FailureCase cases[] = {
      {"power",
       [](MainFormTest& t) { t.combo(QStringLiteral("TransPowerComboBox"))->setEditText(QStringLiteral("25,0")); },
       "Неверная мощность трансформатора", true},
      {"catalogue",
       [](MainFormTest& t) { t.combo(QStringLiteral("TransPowerComboBox"))->setEditText(QStringLiteral("30")); },
       "Трансформатор выбранной мощности не заложен в программу", false},
      {"pairing", [](MainFormTest& t) { t.choose(t.rowCombo("FfLine", 2), QStringLiteral("16")); },
       "Выберите сечение жилы нулевого провода линии 2", false},
      {"length",
       [](MainFormTest& t) { t.find<QLineEdit>(QStringLiteral("LengthLine1Edit"))->setText(QStringLiteral("1,5")); },
       "Неверная длина линии 1", false},
      {"count", [](MainFormTest& t) { t.rowCombo("QuanParLine", 3)->setEditText(QStringLiteral("Нет")); },
       "Неверное количество параллельных проводов линии 3", false},
      {"arc", [](MainFormTest& t) { t.find<QLineEdit>(QStringLiteral("RArcEdit"))->setText(QStringLiteral("-1")); },
       "Неправильно введено сопротивление электрической дуги. Рекомендуемый диапазон значений 0..40 мОм", false},
  };
  const QString success = QStringLiteral("Ток однофазного короткого замыкания равен 217 А");
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    messages.clear(tesmir_test::RecordingMessageSink::Kind::Inform);
    messages.onInform = nullptr;
    scheme = {};
    SetUp();
    button(QStringLiteral("StartButton"))->click();
    ASSERT_EQ(label(QStringLiteral("IokzLabel")), success);
    const QString zsum = results->findChild<QLabel*>(QStringLiteral("ZsumLabel"))->text();

    c.spoil(*this);
    QStringList labelsWhenShown;
    messages.onInform = [&](const QString&) {
      labelsWhenShown = {label(QStringLiteral("IokzLabel")), label(QStringLiteral("StatusDDLabel"))};
    };
    QSignalSpy succeeded(form.get(), &MainForm::calculationSucceeded);
    button(QStringLiteral("StartButton"))->click();

    EXPECT_EQ(messages.informed(), QStringList({QString::fromUtf8(c.message)}));
    const QStringList before =
        c.labelsBeforeMessage ? QStringList{kNotEnough, kDoCalc} : QStringList{success, kUndefined};
    EXPECT_EQ(labelsWhenShown, before);
    EXPECT_EQ(label(QStringLiteral("IokzLabel")), kNotEnough);
    EXPECT_EQ(label(QStringLiteral("StatusDDLabel")), kDoCalc);
    EXPECT_FALSE(action(QStringLiteral("ResultMenu"))->isEnabled());
    EXPECT_FALSE(button(QStringLiteral("AddToReportButton"))->isEnabled());
    EXPECT_EQ(succeeded.count(), 0);
    EXPECT_EQ(results->findChild<QLabel*>(QStringLiteral("ZsumLabel"))->text(), zsum);
    EXPECT_EQ(results->findChild<QLabel*>(QStringLiteral("IokzrezLabel"))->text(), success);
    EXPECT_NEAR(scheme.Iokz, 217.437, 1e-3);
  }
}

TEST_F(MainFormTest, ButtonsAndMenuOpenTheirWindows) {
  tesmir_test::ModalGuard guard("the windows closed once shown");
  // Without windows set, the buttons do nothing.
  button(QStringLiteral("DDButton"))->click();
  action(QStringLiteral("ReportMenu"))->trigger();
  action(QStringLiteral("AboutMenu"))->trigger();

  QDialog device, report, about, ask;
  form->setDeviceDialog(&device);
  form->setReportWindow(&report);
  form->setAboutWindow(&about);
  form->setAskNumberDialog(&ask);
  const std::pair<QDialog*, std::function<void()>> opens[] = {
      {&device, [&] { button(QStringLiteral("DDButton"))->click(); }},
      {&report, [&] { action(QStringLiteral("ReportMenu"))->trigger(); }},
      {&about, [&] { action(QStringLiteral("AboutMenu"))->trigger(); }},
      {&ask,
       [&] {
         button(QStringLiteral("StartButton"))->click();
         button(QStringLiteral("AddToReportButton"))->click();
       }},
      {results.get(), [&] { action(QStringLiteral("ResultMenu"))->trigger(); }},
  };
  for (const auto& [dialog, open] : opens) {
    bool shown = false;
    QTimer::singleShot(0, dialog, [&shown, dialog = dialog] {
      shown = dialog->isVisible() && dialog->isModal();
      dialog->reject();
    });
    open();
    EXPECT_TRUE(shown) << dialog->objectName().toStdString();
  }

  std::vector<int> topics;
  form->setHelpOpener([&](int topic) { topics.push_back(topic); });
  action(QStringLiteral("HelpMenu"))->trigger();
  EXPECT_EQ(topics, std::vector<int>({1}));
}

}  // namespace
