#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <optional>

#include "widgets/program_icon.h"

namespace {

// Widget tests need one QApplication; another test may already have made it.
class WindowIconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QCoreApplication::instance() == nullptr) {
      app_.emplace(argc_, argv_);
    }
  }

 private:
  int argc_ = 1;
  char name_[8] = "test_ui";
  char* argv_[2] = {name_, nullptr};
  std::optional<QApplication> app_;
};

// Counts the pixels that are neither transparent nor of the corner's colour,
// so a blank or single-colour picture is told apart from the drawn icon.
int DrawnPixels(const QImage& image) {
  const QRgb corner = image.pixel(0, 0);
  int drawn = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (qAlpha(p) > 0 && p != corner) {
        ++drawn;
      }
    }
  }
  return drawn;
}

TEST_F(WindowIconTest, ResourceIconDrawsAtDesktopSizes) {
  const QIcon icon = tesmir::ProgramIcon();
  ASSERT_TRUE(QFile::exists(QStringLiteral(":/icons/tesmir.svg")));
  ASSERT_FALSE(icon.isNull());
  for (const int side : {16, 48, 256}) {
    SCOPED_TRACE(side);
    const QPixmap pixmap = icon.pixmap(side, side);
    ASSERT_FALSE(pixmap.isNull());
    EXPECT_EQ(pixmap.width(), side);
    EXPECT_EQ(pixmap.height(), side);
    // The bolt and the plate cover well over a third of the square.
    EXPECT_GT(DrawnPixels(pixmap.toImage()), side * side / 3);
  }
}

TEST_F(WindowIconTest, WindowsTakeTheApplicationIcon) {
  QApplication::setWindowIcon(tesmir::ProgramIcon());
  QWidget window;
  const QImage shown = window.windowIcon().pixmap(48, 48).toImage();
  const QImage expected = tesmir::ProgramIcon().pixmap(48, 48).toImage();
  ASSERT_FALSE(shown.isNull());
  EXPECT_EQ(shown.convertToFormat(QImage::Format_ARGB32), expected.convertToFormat(QImage::Format_ARGB32));
}

}  // namespace
