// The main window's first frame, as the program shows it at start, pixel for
// pixel against tests/data/main_window_first_frame.png (offscreen, this
// machine's fonts). Whatever makes the start quicker must leave it unchanged.
// TESMIR_WRITE_FIRST_FRAME=1 writes the picture anew instead of comparing.
#include <gtest/gtest.h>

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
  QCoreApplication::processEvents();
  const QImage frame = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
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

}  // namespace
}  // namespace tesmir_test
