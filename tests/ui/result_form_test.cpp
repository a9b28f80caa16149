#include "widgets/result_form.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <memory>

#include "support/modal_guard.h"
#include "support/recording_message_sink.h"
#include "support/ui_test_app.h"
#include "texts/locale_separators.h"
#include "widgets/context_help.h"
#include "widgets/main_form.h"

namespace {

using tesmir::MainForm;
using tesmir::ResultForm;

class ResultFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tesmir_test::EnsureApplication();
    results = std::make_unique<ResultForm>();
    form = std::make_unique<MainForm>(scheme, messages, *results);
  }

  QString text(const QString& name) const {
    const QLabel* label = results->findChild<QLabel*>(name);
    EXPECT_NE(label, nullptr) << name.toStdString();
    return label != nullptr ? label->text() : QString();
  }
  void calculate() {
    form->findChild<QPushButton*>(QStringLiteral("StartButton"))->click();
    ASSERT_TRUE(messages.informed().isEmpty()) << messages.informed().join(QStringLiteral("|")).toStdString();
  }

  tesmir::SchemeState scheme;
  tesmir_test::RecordingMessageSink messages;
  std::unique_ptr<ResultForm> results;
  std::unique_ptr<MainForm> form;
};

TEST_F(ResultFormTest, StartsWithPlaceholders) {
  EXPECT_EQ(results->objectName(), QStringLiteral("ResultForm"));
  EXPECT_EQ(results->windowTitle(), QStringLiteral("Результаты расчета"));
  EXPECT_EQ(results->minimumSize(), results->maximumSize());
  EXPECT_EQ(tesmir::HelpTopicFor(results.get(), results.get()), 36);
  const std::pair<const char*, const char*> start[] = {
      {"StLabel", "Sном=___ кВ*А"},
      {"WindKindLabel", "Y/Y-0"},
      {"RtLabel", "Rт=___ мОм"},
      {"XtLabel", "Xт=___ мОм"},
      {"ZtLabel", "Zт=___ мОм"},
      {"RLine1Label", "---"},
      {"XLine6Label", "---"},
      {"ZLineLabel", "---"},
      {"RotherLabel", "Rпр="},
      {"RsumLabel", "Rф-н=___ мОм"},
      {"XsumLabel", "Xф-н=___ мОм"},
      {"ZsumLabel", "Zф-н=___ мОм"},
      {"IokzrezLabel", "Ток однофазного короткого замыкания равен --- А "},
      {"TypeDDLabel", "---"},
      {"ToknomLabel", "---"},
      {"KZLabel", "---"},
      {"TokSRLabel", "---"},
      {"TimeSRLabel", "---"},
      {"StatusDDLabel", "в расчете не определен."},
  };
  for (const auto& [name, value] : start) {
    EXPECT_EQ(text(QString::fromLatin1(name)), QString::fromUtf8(value)) << name;
  }
  EXPECT_EQ(results->typeDDLabel()->objectName(), QStringLiteral("TypeDDLabel"));
  EXPECT_EQ(results->statusDDLabel()->objectName(), QStringLiteral("StatusDDLabel"));
  auto* pages = results->findChild<QTabWidget*>(QStringLiteral("ResultPageControl"));
  ASSERT_NE(pages, nullptr);
  EXPECT_EQ(pages->currentWidget()->objectName(), QStringLiteral("TransTabSheet"));
  EXPECT_EQ(pages->widget(1)->objectName(), QStringLiteral("LineTabSheet"));
  EXPECT_EQ(pages->widget(2)->objectName(), QStringLiteral("DefenceTabSheet"));
  EXPECT_EQ(pages->tabText(2), QStringLiteral("Аппарат защиты"));
  EXPECT_EQ(results->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->statusTip(), QStringLiteral("Закрыть окно"));
}

struct LocaleCase {
  QLocale locale;
  QString rt;
  QString zt;
  QString zero;
  QString rsum;
  QString xsum;
  QString zsum;
};

TEST_F(ResultFormTest, StartingWindowBreakdownInTheLocalesSeparators) {
  const LocaleCase cases[] = {
      {QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("Rт=1957,2 мОм"),
       QStringLiteral("Zт=3\u00a0110,25 мОм"), QStringLiteral("0,00"), QStringLiteral("Rф-н=692,40 мОм"),
       QStringLiteral("Xф-н=805,75 мОм"), QStringLiteral("Zф-н=1\u00a0062,38 мОм")},
      {QLocale(QLocale::English, QLocale::UnitedStates), QStringLiteral("Rт=1957.2 мОм"),
       QStringLiteral("Zт=3,110.25 мОм"), QStringLiteral("0.00"), QStringLiteral("Rф-н=692.40 мОм"),
       QStringLiteral("Xф-н=805.75 мОм"), QStringLiteral("Zф-н=1,062.38 мОм")},
  };
  for (const LocaleCase& c : cases) {
    SCOPED_TRACE(c.locale.name().toStdString());
    results->setSeparators(tesmir::SeparatorsOf(c.locale));
    calculate();
    EXPECT_EQ(text(QStringLiteral("StLabel")), QStringLiteral("Sном=25 кВ*А"));
    EXPECT_EQ(text(QStringLiteral("WindKindLabel")), QStringLiteral("Y/Y-0"));
    EXPECT_EQ(text(QStringLiteral("RtLabel")), c.rt);
    EXPECT_EQ(text(QStringLiteral("XtLabel")), c.rt.startsWith(QStringLiteral("Rт=1957,2"))
                                                   ? QStringLiteral("Xт=2417,24 мОм")
                                                   : QStringLiteral("Xт=2417.24 мОм"));
    EXPECT_EQ(text(QStringLiteral("ZtLabel")), c.zt);
    for (int i = 1; i <= 6; ++i) {
      for (const char* column : {"RLine%1Label", "XLine%1Label", "ZLine%1Label"}) {
        EXPECT_EQ(text(QString(QLatin1String(column)).arg(i)), c.zero);
      }
    }
    EXPECT_EQ(text(QStringLiteral("RLineLabel")), c.zero);
    EXPECT_EQ(text(QStringLiteral("XLineLabel")), c.zero);
    EXPECT_EQ(text(QStringLiteral("ZLineLabel")), c.zero);
    EXPECT_EQ(text(QStringLiteral("RotherLabel")), QStringLiteral("Rпр=40 мОм"));
    EXPECT_EQ(text(QStringLiteral("RsumLabel")), c.rsum);
    EXPECT_EQ(text(QStringLiteral("XsumLabel")), c.xsum);
    EXPECT_EQ(text(QStringLiteral("ZsumLabel")), c.zsum);
    EXPECT_EQ(text(QStringLiteral("IokzrezLabel")), QStringLiteral("Ток однофазного короткого замыкания равен 217 А"));
  }
}

TEST_F(ResultFormTest, ShowsTextsAsTypedAndTheSectionValues) {
  results->setSeparators(tesmir::SeparatorsOf(QLocale(QLocale::English, QLocale::UnitedStates)));
  form->findChild<QComboBox*>(QStringLiteral("WindKindComboBox"))->setCurrentIndex(0);
  form->findChild<QComboBox*>(QStringLiteral("TransPowerComboBox"))->setEditText(QStringLiteral("400.0"));
  form->findChild<QLineEdit*>(QStringLiteral("RArcEdit"))->setText(QStringLiteral("12.6"));
  auto* ff = form->findChild<QComboBox*>(QStringLiteral("FfLine2ComboBox"));
  auto* fn = form->findChild<QComboBox*>(QStringLiteral("FnLine2ComboBox"));
  ff->setCurrentIndex(ff->findText(QStringLiteral("16")));
  fn->setCurrentIndex(fn->findText(QStringLiteral("16")));
  form->findChild<QLineEdit*>(QStringLiteral("LengthLine2Edit"))->setText(QStringLiteral("100"));
  calculate();

  EXPECT_EQ(text(QStringLiteral("StLabel")), QStringLiteral("Sном=400.0 кВ*А"));
  EXPECT_EQ(text(QStringLiteral("RotherLabel")), QStringLiteral("Rпр=13 мОм"));
  const auto& line = scheme.Lines[1];
  ASSERT_GT(line.RLine, 0);
  EXPECT_EQ(text(QStringLiteral("RLine2Label")),
            QString::fromStdString(tesmir::FormatF2(line.RLine, results->separators())));
  EXPECT_EQ(text(QStringLiteral("XLine2Label")),
            QString::fromStdString(tesmir::FormatF2(line.XLine, results->separators())));
  EXPECT_EQ(text(QStringLiteral("ZLine2Label")),
            QString::fromStdString(tesmir::FormatF2(line.ZLine, results->separators())));
  EXPECT_EQ(text(QStringLiteral("RLineLabel")), text(QStringLiteral("RLine2Label")));
  EXPECT_EQ(text(QStringLiteral("RLine1Label")), QStringLiteral("0.00"));
}

TEST_F(ResultFormTest, UsesTheSystemLocaleByDefault) {
  const tesmir::NumberSeparators system = tesmir::SystemSeparators();
  EXPECT_EQ(results->separators().decimal, system.decimal);
  EXPECT_EQ(results->separators().thousands, system.thousands);
}

TEST_F(ResultFormTest, KeepsItsTabAndClosesWithOk) {
  tesmir_test::ModalGuard guard("the results window closed by OK");
  auto* pages = results->findChild<QTabWidget*>(QStringLiteral("ResultPageControl"));
  int outcome = -1;
  QTimer::singleShot(0, results.get(), [&] {
    pages->setCurrentIndex(2);
    results->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
  });
  outcome = results->exec();
  EXPECT_EQ(outcome, QDialog::Accepted);

  int shownTab = -1;
  QTimer::singleShot(0, results.get(), [&] {
    shownTab = pages->currentIndex();
    results->reject();
  });
  results->exec();
  EXPECT_EQ(shownTab, 2);
}

}  // namespace
