// Keyboard use of buttons and the placement of windows, across the program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "recording_message_sink.h"
#include "ui/app.h"
#include "ui/help_viewer.h"
#include "ui_test_app.h"

namespace {

struct NoFiles : tesmir::FileChooser {
  QString chooseSaveName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
  QString chooseOpenName(QWidget*, const QString&, const QStringList&, const QString&) override { return {}; }
};

class WindowKeysAndPlacement : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    tesmir_test::EnsureApplication();
    QApplication::setQuitOnLastWindowClosed(false);
  }
  static void TearDownTestSuite() { QApplication::setQuitOnLastWindowClosed(true); }

  WindowKeysAndPlacement() : app_(messages_, files_) { app_.showMainWindow(); }

  RecordingMessageSink messages_;
  NoFiles files_;
  tesmir::App app_;
};

// Enter on the main keyboard and on the numpad clicks the focused button.
TEST_F(WindowKeysAndPlacement, EnterClicksTheFocusedButtonInEveryWindow) {
  struct Case {
    QWidget* window;
    const char* button;
  };
  const Case cases[] = {
      {&app_.mainForm(), "StartButton"},         {&app_.mainForm(), "DDButton"},
      {&app_.resultForm(), "BitBtn1"},           {&app_.deviceForm(), "BitBtn2"},
      {&app_.askNumberForm(), "CancelBitBtn"},   {&app_.reportForm(), "DeleteReportButton"},
      {&app_.deleteAllForm(), "CancelBitBtn"},   {&app_.aboutForm(), "CloseButton"},
      {&app_.helpViewer(), "HelpContentsButton"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    auto* button = c.window->findChild<QPushButton*>(c.button);
    ASSERT_NE(button, nullptr);
    QSignalSpy clicked(button, &QPushButton::clicked);
    if (QString(c.button) == "DDButton") {
      QTimer::singleShot(0, &app_.deviceForm(), [this] { app_.deviceForm().reject(); });
    }
    c.window->show();
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
    if (QString(c.button) == "DDButton") {
      QTimer::singleShot(0, &app_.deviceForm(), [this] { app_.deviceForm().reject(); });
    }
    QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(clicked.count(), 2);
    if (c.window != &app_.mainForm()) {
      c.window->hide();
    }
  }
  EXPECT_EQ(app_.mainForm().findChild<QLabel*>("IokzLabel")->text(),
            "Ток однофазного короткого замыкания равен 217 А");
  EXPECT_TRUE(app_.resultForm().findChild<QPushButton*>("BitBtn1")->isDefault());
}

// The windows shown centred sit, frame included, in the middle of the
// screen's free area, on every opening.
TEST_F(WindowKeysAndPlacement, CentredWindowsOpenInTheMiddleOfTheScreen) {
  const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
  const auto expectCentred = [&](const QWidget& window) {
    const QPoint offset = window.frameGeometry().center() - centre;
    EXPECT_LE(offset.manhattanLength(), 2) << window.objectName().toStdString() << " off by " << offset.x() << ","
                                           << offset.y();
  };
  expectCentred(app_.mainForm());
  QDialog* dialogs[] = {&app_.resultForm(), &app_.deviceForm(), &app_.askNumberForm(), &app_.reportForm(),
                        &app_.aboutForm()};
  for (QDialog* dialog : dialogs) {
    QPoint first;
    for (int opening = 0; opening < 2; ++opening) {
      QTimer::singleShot(0, dialog, [&, dialog, opening] {
        expectCentred(*dialog);
        if (opening == 0) {
          first = dialog->pos();
          dialog->move(dialog->pos() + QPoint(40, 30));  // moved by the user
        } else {
          EXPECT_EQ(dialog->pos(), first) << dialog->objectName().toStdString();
        }
        dialog->reject();
      });
      dialog->exec();
    }
  }
}

}  // namespace
