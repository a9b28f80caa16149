#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTextBrowser>

#include "app/app.h"
#include "support/recording_message_sink.h"
#include "support/ui_test_app.h"
#include "widgets/help_viewer.h"

namespace {

using tesmir::HelpViewer;

class HelpTest : public ::testing::Test {
 protected:
  void SetUp() override { tesmir_test::EnsureApplication(); }

  // Gives `widget` the focus in its shown, active window and presses F1.
  static void pressF1On(QWidget* widget) {
    QWidget* window = widget->window();
    window->show();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    widget->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
  }
};

TEST_F(HelpTest, EveryTopicIsAPage) {
  for (int topic : {1, 31, 32, 33, 34, 35, 36, 37, 38}) {
    SCOPED_TRACE(topic);
    EXPECT_TRUE(HelpViewer::hasTopic(topic));
    QFile page(QStringLiteral(":/help/topic_%1.html").arg(topic));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    EXPECT_TRUE(html.contains(QStringLiteral("<title>")));
    EXPECT_GT(html.size(), 500);
  }
  EXPECT_FALSE(HelpViewer::hasTopic(2));
}

TEST_F(HelpTest, F1OpensTheTopicOfTheFocusedControl) {
  tesmir_test::RecordingMessageSink messages;
  tesmir::DialogFileChooser files;
  tesmir::App app(messages, files);
  const std::pair<const char*, int> cases[] = {{"WindKindComboBox", 31},
                                               {"TransPowerComboBox", 31},
                                               {"KindPerformLine4ComboBox", 32},
                                               {"LengthLine2Edit", 32},
                                               {"FnLine6ComboBox", 32},
                                               {"RArcEdit", 33},
                                               {"StartButton", 1},
                                               {"DDButton", 1}};
  for (const auto& [name, topic] : cases) {
    SCOPED_TRACE(name);
    auto* control = app.mainForm().findChild<QWidget*>(QString::fromLatin1(name));
    ASSERT_NE(control, nullptr);
    pressF1On(control);
    HelpViewer& viewer = app.helpViewer();
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_EQ(viewer.currentTopic(), topic);
    EXPECT_EQ(viewer.findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"))->source().toString(),
              HelpViewer::topicUrl(topic));
    viewer.hide();
  }

  pressF1On(&app.resultForm());
  EXPECT_EQ(app.helpViewer().currentTopic(), 36);
  app.resultForm().hide();
  app.helpViewer().hide();

  // The About window has no topic: F1 there opens nothing.
  pressF1On(&app.aboutForm());
  EXPECT_FALSE(app.helpViewer().isVisible());
  app.aboutForm().hide();

  app.mainForm().findChild<QAction*>(QStringLiteral("HelpMenu"))->trigger();
  EXPECT_TRUE(app.helpViewer().isVisible());
  EXPECT_EQ(app.helpViewer().currentTopic(), 1);
  EXPECT_TRUE(app.helpViewer()
                  .findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"))
                  ->toPlainText()
                  .contains(QStringLiteral("Тесмир 2.5.1")));
}

TEST_F(HelpTest, ViewerFollowsLinksAndFallsBackToContents) {
  HelpViewer viewer;
  viewer.showTopic(99);
  EXPECT_EQ(viewer.currentTopic(), 1);
  auto* browser = viewer.findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"));
  browser->setSource(QUrl(HelpViewer::topicUrl(36)));
  EXPECT_EQ(viewer.currentTopic(), 36);
  EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("231000")));
  browser->backward();
  EXPECT_EQ(viewer.currentTopic(), 1);
  EXPECT_FALSE(viewer.testAttribute(Qt::WA_QuitOnClose));
}

TEST_F(HelpTest, AboutWindowRows) {
  tesmir_test::RecordingMessageSink messages;
  tesmir::DialogFileChooser files;
  tesmir::App app(messages, files);
  QWidget& about = app.aboutForm();
  EXPECT_EQ(about.objectName(), QStringLiteral("AboutProgramForm"));
  EXPECT_EQ(about.windowTitle(), QStringLiteral("О программе..."));
  const std::pair<const char*, const char*> rows[] = {{"VersionEdit", "2.5.1"},
                                                      {"DeveloperEdit", "Проект Тесмир"},
                                                      {"WebEdit", "—"},
                                                      {"EmailEdit", "—"},
                                                      {"PhoneEdit", "—"}};
  for (const auto& [name, value] : rows) {
    auto* field = about.findChild<QLineEdit*>(QString::fromLatin1(name));
    ASSERT_NE(field, nullptr) << name;
    EXPECT_EQ(field->text(), QString::fromUtf8(value));
    EXPECT_TRUE(field->isReadOnly());
    EXPECT_FALSE(field->hasFrame());
  }
}

}  // namespace
