// Keyboard use of buttons and the placement of windows, across the program.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>

#include "support/modal_guard.h"
#include "support/shown_app_test.h"
#include "widgets/help_viewer.h"

namespace {

class WindowKeysAndPlacement : public tesmir_test::ShownAppTest {};

// Enter on the main keyboard and on the numpad clicks the focused button.
TEST_F(WindowKeysAndPlacement, EnterClicksTheFocusedButtonInEveryWindow) {
  tesmir_test::ModalGuard guard("the windows closed by Enter or rejected");
  struct Case {
    QWidget* window;
    const char* button;
  };
  const Case cases[] = {
      {&app_.mainForm(), "StartButton"},
      {&app_.mainForm(), "DDButton"},
      {&app_.resultForm(), "BitBtn1"},
      {&app_.deviceForm(), "BitBtn2"},
      {&app_.askNumberForm(), "CancelBitBtn"},
      {&app_.reportForm(), "DeleteReportButton"},
      {&app_.deleteAllForm(), "CancelBitBtn"},
      {&app_.aboutForm(), "CloseButton"},
      {&app_.helpViewer(), "HelpContentsButton"},
      {&app_.checkForm(), "CloseButton"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    auto* button = c.window->findChild<QPushButton*>(QString::fromLatin1(c.button));
    ASSERT_NE(button, nullptr);
    QSignalSpy clicked(button, &QPushButton::clicked);
    if (qstrcmp(c.button, "DDButton") == 0) {
      QTimer::singleShot(0, &app_.deviceForm(), [this] { app_.deviceForm().reject(); });
    }
    c.window->show();
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
    if (qstrcmp(c.button, "DDButton") == 0) {
      QTimer::singleShot(0, &app_.deviceForm(), [this] { app_.deviceForm().reject(); });
    }
    QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(clicked.count(), 2);
    if (c.window != &app_.mainForm()) {
      c.window->hide();
    }
  }
  EXPECT_EQ(app_.mainForm().findChild<QLabel*>(QStringLiteral("IokzLabel"))->text(),
            QStringLiteral("Ток однофазного короткого замыкания равен 217 А"));
  EXPECT_TRUE(app_.resultForm().findChild<QPushButton*>(QStringLiteral("BitBtn1"))->isDefault());

  // The note's point-name box exists only while it asks: Enter on its focused
  // "Отмена" cancels the note.
  bool asked = false;
  QTimer::singleShot(0, &app_.mainForm(), [&asked] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    asked = true;
    EXPECT_EQ(dialog->objectName(), QStringLiteral("NotePointNameDialog"));
    QPushButton* cancel = nullptr;
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
      if (button->text() == QStringLiteral("Отмена")) cancel = button;
    }
    ASSERT_NE(cancel, nullptr);
    cancel->setAutoDefault(false);  // Enter reaches it only through the program's own handling
    cancel->setFocus();
    QTest::keyClick(cancel, Qt::Key_Enter, Qt::KeypadModifier);
    if (dialog->isVisible()) {
      ADD_FAILURE() << "Enter on \"Отмена\" left the point-name box open";
      dialog->done(QDialog::Accepted);
    } else {
      EXPECT_EQ(dialog->result(), QDialog::Rejected);
    }
  });
  app_.mainForm().findChild<QAction*>(QStringLiteral("NotePdfMenu"))->trigger();
  EXPECT_TRUE(asked);
}

// Every menu and item of every window's menu bar has one underlined letter
// (Alt + letter), different from its neighbours', and F10 opens the bar.
TEST_F(WindowKeysAndPlacement, MenusHaveMnemonicsAndF10OpensTheMenuBar) {
  QMenuBar* bars[] = {app_.mainForm().menuBar(),
                      app_.reportForm().findChild<QMenuBar*>(QStringLiteral("ReportMainMenu"))};
  std::function<void(const QList<QAction*>&)> check = [&check](const QList<QAction*>& items) {
    QStringList letters;
    for (QAction* a : items) {
      if (a->isSeparator() || a->text().isEmpty()) continue;  // an unused recent-file item
      SCOPED_TRACE(a->text().toStdString());
      const QKeySequence mnemonic = QKeySequence::mnemonic(a->text());
      EXPECT_FALSE(mnemonic.isEmpty());
      EXPECT_EQ(a->text().count(QLatin1Char('&')), 1);
      const QString letter = mnemonic.toString().toLower();
      EXPECT_FALSE(letters.contains(letter)) << letter.toStdString();
      letters << letter;
      if (a->menu() != nullptr) check(a->menu()->actions());
    }
  };
  for (QMenuBar* bar : bars) {
    ASSERT_NE(bar, nullptr);
    check(bar->actions());
    QWidget* window = bar->window();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    EXPECT_EQ(bar->activeAction(), nullptr);
    QTest::keyClick(window, Qt::Key_F10);
    EXPECT_EQ(bar->activeAction(), bar->actions().first()) << window->objectName().toStdString();
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    if (window != &app_.mainForm()) window->hide();
  }
}

// The windows shown centred sit, frame included, in the middle of the
// screen's free area, on every opening.
TEST_F(WindowKeysAndPlacement, CentredWindowsOpenInTheMiddleOfTheScreen) {
  tesmir_test::ModalGuard guard("the centred windows rejected once looked at");
  const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
  const auto expectCentred = [&](const QWidget& window) {
    const QPoint offset = window.frameGeometry().center() - centre;
    EXPECT_LE(offset.manhattanLength(), 2)
        << window.objectName().toStdString() << " off by " << offset.x() << "," << offset.y();
  };
  expectCentred(app_.mainForm());
  QDialog* dialogs[] = {&app_.resultForm(), &app_.deviceForm(), &app_.askNumberForm(),
                        &app_.reportForm(), &app_.aboutForm(),  &app_.checkForm()};
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

  // The note's point-name box, a new one on every opening.
  QTest::mouseClick(app_.mainForm().findChild<QPushButton*>(QStringLiteral("StartButton")), Qt::LeftButton);
  for (int opening = 0; opening < 2; ++opening) {
    bool asked = false;
    QTimer::singleShot(0, &app_.mainForm(), [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      asked = true;
      EXPECT_EQ(dialog->objectName(), QStringLiteral("NotePointNameDialog"));
      expectCentred(*dialog);
      dialog->reject();
    });
    app_.mainForm().findChild<QAction*>(QStringLiteral("NotePdfMenu"))->trigger();
    EXPECT_TRUE(asked);
  }
}

}  // namespace
