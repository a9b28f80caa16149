// The main window's first frame, as the program shows it at start, pixel for
// pixel against tests/data/main_window_first_frame.png (offscreen, this
// machine's fonts). Whatever makes the start quicker must leave it unchanged.
// TESMIR_WRITE_FIRST_FRAME=1 writes the picture anew instead of comparing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QWindow>

#include "support/shown_app_test.h"
#include "support/wait.h"

namespace tesmir_test {
namespace {

const QString kGolden = QStringLiteral(TESMIR_SOURCE_DIR "/tests/data/main_window_first_frame.png");

class FirstFrame : public ShownAppTest {};

TEST_F(FirstFrame, MainWindowIsPaintedAsBefore) {
  if (QGuiApplication::platformName() != QStringLiteral("offscreen")) {
    GTEST_SKIP() << "the picture is of the offscreen platform";
  }
  tesmir::MainForm& window = app_.mainForm();
  ASSERT_TRUE(WaitUntil([&] { return window.windowHandle() != nullptr && window.windowHandle()->isExposed(); },
                        "the main window on screen"));
  // The frame once the window has settled: two grabs in a row alike.
  QImage frame;
  for (int tries = 0; tries < 20; ++tries) {
    QCoreApplication::processEvents();
    const QImage next = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (next == frame) {
      break;
    }
    frame = next;
  }
  if (qEnvironmentVariableIntValue("TESMIR_WRITE_FIRST_FRAME") == 1) {
    ASSERT_TRUE(frame.save(kGolden));
    GTEST_SKIP() << "written " << kGolden.toStdString();
  }
  QImage golden(kGolden);
  ASSERT_FALSE(golden.isNull()) << kGolden.toStdString();
  golden = golden.convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(frame.size(), golden.size());
  int differing = 0;
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      differing += frame.pixel(x, y) != golden.pixel(x, y) ? 1 : 0;
    }
  }
  if (differing != 0) {
    const QString seen = QDir::temp().filePath(QStringLiteral("main_window_first_frame.seen.png"));
    frame.save(seen);
    ADD_FAILURE() << differing << " pixels differ; the frame seen is in " << seen.toStdString();
  }
}

// The windows the first frame does not need are built right after the first
// paint, from the event loop, and are then found by their names like every
// other window; asked for sooner, they are built at once.
TEST(LaterWindows, BuiltAfterTheFirstPaintOrWhenAskedFor) {
  EnsureApplication();
  const auto named = [](const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() == name) return true;
    }
    return false;
  };
  const QStringList later = {QStringLiteral("AskNumberForm"), QStringLiteral("ReportForm"),
                             QStringLiteral("DeleteAllReportForm"), QStringLiteral("AboutProgramForm")};
  {
    RecordingMessageSink messages;
    ScriptedFileChooser files;
    tesmir::App app(messages, files);
    for (const QString& name : later) EXPECT_FALSE(named(name)) << name.toStdString();
    EXPECT_TRUE(named(QStringLiteral("MainForm")));
    app.showMainWindow();
    for (const QString& name : later) {
      EXPECT_TRUE(WaitUntil([&] { return named(name); }, "the window built after the first paint"))
          << name.toStdString();
    }
  }
  RecordingMessageSink messages;
  ScriptedFileChooser files;
  tesmir::App app(messages, files);
  EXPECT_EQ(app.reportForm().objectName(), QStringLiteral("ReportForm"));
  EXPECT_TRUE(named(QStringLiteral("ReportForm")));
}

}  // namespace
}  // namespace tesmir_test
