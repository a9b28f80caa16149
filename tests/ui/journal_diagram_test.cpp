// The tree's diagram for 1, 10 and 300 lines on two page sizes: no two texts
// overlap, nothing leaves the page, and every text fits its rectangle whole
// in the font it is drawn with.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <algorithm>

#include "paper/journal_diagram.h"
#include "support/ui_test_app.h"

namespace tesmir {
namespace {

// `count` lines: a main feeder, boards under it, final circuits under the
// boards, some with long names and unreadable marks.
JournalNetwork Tree(int count) {
  JournalNetwork net;
  net.scheme = "T/Y-0";
  net.power = "630";
  for (int i = 0; i < count; ++i) {
    JournalLine l;
    l.id = "W" + std::to_string(i + 1);
    if (i > 0) l.parent = i < 6 ? std::string("W1") : "W" + std::to_string(2 + (i % 5));
    if (i > 30) l.parent = "W" + std::to_string(7 + (i % 20));
    l.to = i % 7 == 3 ? "Щит освещения лестничной клетки и технического подполья, секция " + std::to_string(i)
                      : "ЩР-" + std::to_string(i);
    l.mark = i % 11 == 5 ? "ВВГнгАLSLTxНеизвестнаяМаркаБезПробелов3х2,5" : "ВВГнг(А)-LS 5х16";
    l.length = std::to_string(10 + i % 40);
    JournalDevice d;
    d.type = "breaker";
    d.in = "63";
    d.multiple = "10 (\"C\")";
    l.device = d;
    net.lines.push_back(l);
  }
  return net;
}

TEST(JournalDiagram, TextsApartInsideThePageAndWhole) {
  tesmir_test::EnsureApplication();
  DiagramStyle style;
  style.font = QFont(QStringLiteral("DejaVu Sans"));
  style.font.setPointSizeF(8);
  const QSizeF sizes[] = {QSizeF(842, 595), QSizeF(595, 420)};  // A4 and A5 landscape
  for (const int count : {1, 10, 300}) {
    const JournalNetwork net = Tree(count);
    const JournalResult result = ComputeJournal(net);
    for (const QSizeF& size : sizes) {
      const std::vector<DiagramPage> pages = LayoutJournalDiagram(net, result, size, style);
      const QRectF page(QPointF(0, 0), size);
      std::size_t lineTexts = 0;
      for (std::size_t p = 0; p < pages.size(); ++p) {
        const auto& texts = pages[p].texts;
        lineTexts += texts.size();
        for (std::size_t i = 0; i < texts.size(); ++i) {
          const DiagramText& t = texts[i];
          EXPECT_TRUE(page.contains(t.rect)) << count << " lines, page " << p << ": " << t.text.toStdString();
          const QPaintDevice& points = DiagramMeasureDevice();
          const QRectF need = QFontMetricsF(DiagramTextFont(style.font, t, points), &points)
                                  .boundingRect(t.rect, DiagramTextFlags(t), t.text);
          EXPECT_LE(need.height(), t.rect.height() + 0.01) << t.text.toStdString();
          EXPECT_LE(need.width(), t.rect.width() + 0.01) << t.text.toStdString();
          EXPECT_FALSE(t.text.contains(QStringLiteral("…")));
          for (std::size_t j = i + 1; j < texts.size(); ++j) {
            EXPECT_FALSE(t.rect.intersects(texts[j].rect))
                << count << " lines: " << t.text.toStdString() << " / " << texts[j].text.toStdString();
          }
        }
        for (const auto* lines : {&pages[p].busbars, &pages[p].wires, &pages[p].failingWires}) {
          for (const QLineF& l : *lines) {
            EXPECT_TRUE(page.contains(l.p1()) && page.contains(l.p2())) << count << " lines, page " << p;
          }
        }
        for (const QRectF& d : pages[p].devices) EXPECT_TRUE(page.contains(d));
      }
      // The transformer's text and one per line.
      EXPECT_EQ(lineTexts, net.lines.size() + 1);
      if (count == 300) {
        EXPECT_GT(pages.size(), 1U);
      }
      // The painter draws every page without complaint.
      QImage image(size.toSize(), QImage::Format_RGB32);
      image.fill(Qt::white);
      QPainter painter(&image);
      PaintDiagramPage(painter, pages.front(), style.font);
      painter.end();
      EXPECT_NE(image.pixel(static_cast<int>(style.margin + 14), static_cast<int>(style.margin + 40)),
                QColor(Qt::white).rgb());
    }
  }
}

// Drawn on the screen's resolution, the paper's and a printer's, with the
// painter scaled to points as the page flow and the window scale it, every
// text fits whole in the rectangle it was laid out in and its ink stays
// there (a font sized in the device's points once more would grow with the
// resolution, and the rectangle would cut it).
TEST(JournalDiagram, TextsFitTheirRectanglesAtEveryResolution) {
  tesmir_test::EnsureApplication();
  DiagramStyle style;
  style.font = QFont(QStringLiteral("DejaVu Sans"));
  style.font.setPointSizeF(7.5);
  const JournalNetwork net = Tree(10);
  const std::vector<DiagramPage> pages = LayoutJournalDiagram(net, ComputeJournal(net), QSizeF(842, 595), style);
  ASSERT_FALSE(pages.empty());
  DiagramPage texts;
  texts.size = pages.front().size;
  texts.texts = pages.front().texts;
  for (const int dpi : {72, 96, 150}) {
    const qreal scale = dpi / 72.0;
    QImage image((texts.size * scale).toSize(), QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(dpi / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      painter.scale(scale, scale);
      PaintDiagramPage(painter, texts, style.font);
    }
    // The text as the painter lays it out there, in the painter's points.
    for (const DiagramText& t : texts.texts) {
      const QRectF need = QFontMetricsF(DiagramTextFont(style.font, t, image), &image)
                              .boundingRect(t.rect, DiagramTextFlags(t), t.text);
      EXPECT_LE(need.height(), t.rect.height() + 0.5) << dpi << " dpi: " << t.text.toStdString();
      EXPECT_LE(need.width(), t.rect.width() + 0.5) << dpi << " dpi: " << t.text.toStdString();
    }
    int ink = 0;
    int outside = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (qGray(image.pixel(x, y)) > 160) continue;
        ++ink;
        const QPointF at((x + 0.5) / scale, (y + 0.5) / scale);
        const bool inside = std::any_of(texts.texts.begin(), texts.texts.end(), [&at](const DiagramText& t) {
          return t.rect.adjusted(-1, -1, 1, 1).contains(at);
        });
        if (!inside) ++outside;
      }
    }
    EXPECT_GT(ink, 100) << dpi << " dpi";
    EXPECT_EQ(outside, 0) << dpi << " dpi";
  }
}

}  // namespace
}  // namespace tesmir
