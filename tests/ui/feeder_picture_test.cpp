// The single-line picture: whatever the feeder, every label lies inside the
// picture and no two labels overlap.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "paper/feeder_picture.h"
#include "support/ui_test_app.h"

namespace tesmir {
namespace {

FeederPictureModel::Section Cable(int number, const QString& kind = QStringLiteral("Кабель с ПВХ изоляцией")) {
  FeederPictureModel::Section s;
  s.number = number;
  s.kind = kind;
  s.conductor = QStringLiteral("Медь 95/50 мм²");
  s.length = QStringLiteral("L=120 м");
  return s;
}

FeederPictureModel Model(int sections) {
  FeederPictureModel m;
  m.windKind = QStringLiteral("Y/Y-0");
  m.power = QStringLiteral("630 кВ*А");
  for (int i = 0; i < sections; ++i) m.sections.push_back(Cable(i + 1));
  m.deviceType = QStringLiteral("Автоматический выключатель");
  m.deviceRating = QStringLiteral("Iном=160 А");
  m.deviceTrip = QStringLiteral("Iср=1760 А");
  m.iokz = QStringLiteral("Iокз=3572 А");
  return m;
}

std::vector<PaintedText> Paint(const FeederPictureModel& model, int width, qreal points) {
  QImage image(width, 220, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(points);
  p.setFont(font);
  const QRectF area(4, 4, width - 8, FeederPictureHeight(QFontMetricsF(font, &image).lineSpacing()));
  std::vector<PaintedText> texts = PaintFeederPicture(p, area, model);
  for (const PaintedText& t : texts) {
    EXPECT_TRUE(area.contains(t.rect)) << t.text.toStdString();
  }
  return texts;
}

TEST(FeederPicture, LabelsStayApartForEveryShapeOfFeeder) {
  tesmir_test::EnsureApplication();
  const QString longName(120, QChar(0x0416));  // "ЖЖЖ…"
  std::vector<std::pair<std::string, FeederPictureModel>> cases;
  for (int n = 0; n <= kLineCount; ++n) cases.emplace_back("sections " + std::to_string(n), Model(n));
  FeederPictureModel busbars = Model(3);
  busbars.sections[1].kind = QStringLiteral("Шинопровод MEMPOWER");
  busbars.sections[1].conductor = QStringLiteral("MEMPOWER, 5000A (Cu)");
  busbars.sections[1].busbar = true;
  busbars.sections[2].overhead = true;
  cases.emplace_back("busbar and overhead", busbars);
  FeederPictureModel parallel = Model(6);
  for (auto& s : parallel.sections) s.parallel = 6;
  cases.emplace_back("parallel", parallel);
  FeederPictureModel longNames = Model(6);
  longNames.windKind = longNames.power = longNames.deviceType = longNames.deviceRating = longName;
  for (auto& s : longNames.sections) s.kind = s.conductor = s.length = longName;
  longNames.iokz = longName;
  cases.emplace_back("long names", longNames);
  FeederPictureModel noDevice = Model(2);
  noDevice.deviceType.clear();
  cases.emplace_back("no device", noDevice);

  for (const auto& [name, model] : cases) {
    for (const int width : {420, 900, 2400}) {
      for (const qreal points : {7.0, 9.0}) {
        SCOPED_TRACE(name + " width " + std::to_string(width) + " pt " + std::to_string(points));
        const std::vector<PaintedText> texts = Paint(model, width, points);
        // The section numbers, the fault point and its current are always there.
        std::size_t minimum = 3 + model.sections.size();
        EXPECT_GE(texts.size(), minimum);
        for (std::size_t i = 0; i < texts.size(); ++i) {
          for (std::size_t j = i + 1; j < texts.size(); ++j) {
            EXPECT_FALSE(texts[i].rect.intersects(texts[j].rect))
                << texts[i].text.toStdString() << " / " << texts[j].text.toStdString();
          }
        }
      }
    }
  }
}

// On paper nothing is shortened: each text wraps onto as many lines as it
// needs (its words in order), a word wider than its place is broken, and the
// labels still stay apart inside the height the texts asked for.
TEST(FeederPicture, PaperWrapsEveryTextWhole) {
  tesmir_test::EnsureApplication();
  FeederPictureModel six = Model(6);
  for (auto& s : six.sections) {
    s.kind = QStringLiteral("Кабель с бумажной изоляцией");
    s.conductor = QStringLiteral("Алюминий 240/120 мм²");
    s.parallel = 2;
  }
  FeederPictureModel unbroken = Model(6);
  unbroken.sections[2].kind = QString(60, QChar(0x0416));  // one word wider than its place
  struct Case {
    const char* name;
    FeederPictureModel model;
    bool broken;
  };
  for (const Case& c : {Case{"six long kinds", six, false}, Case{"a long word", unbroken, true}}) {
    SCOPED_TRACE(c.name);
    QImage image(1400, 600, QImage::Format_RGB32);  // A4 text width at about 200 dpi
    QPainter p(&image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(5);
    p.setFont(font);
    PictureStyle style;
    style.shorten = false;
    PictureFit fit;
    PaintFeederPicture(p, QRectF(0, 0, 1400, 600), c.model, style, &fit);
    EXPECT_EQ(fit.wordsBroken, c.broken);
    style.rowsAbove = fit.rowsAbove;
    style.rowsBelow = fit.rowsBelow;
    const QRectF area(0, 0, 1400,
                      FeederPictureHeight(QFontMetricsF(font, &image).lineSpacing(), fit.rowsAbove, fit.rowsBelow));
    const std::vector<PaintedText> texts = PaintFeederPicture(p, area, c.model, style);
    QStringList shown;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      EXPECT_FALSE(texts[i].text.contains(QChar(0x2026))) << texts[i].text.toStdString();
      EXPECT_TRUE(area.contains(texts[i].rect)) << texts[i].text.toStdString();
      for (std::size_t j = i + 1; j < texts.size(); ++j) {
        EXPECT_FALSE(texts[i].rect.intersects(texts[j].rect))
            << texts[i].text.toStdString() << " / " << texts[j].text.toStdString();
      }
      shown << texts[i].text;
    }
    const QString all = shown.join(QString()).remove(QLatin1Char(' '));  // lines joined, blanks aside
    for (const auto& s : c.model.sections) {
      EXPECT_TRUE(all.contains(QString(s.kind).remove(QLatin1Char(' ')))) << s.kind.toStdString();
      EXPECT_TRUE(all.contains(QString(s.conductor).remove(QLatin1Char(' ')))) << s.conductor.toStdString();
    }
    EXPECT_TRUE(all.contains(QString(c.model.deviceType).remove(QLatin1Char(' '))));
  }
}

TEST(FeederPicture, ShowsEveryTextWhenThereIsRoom) {
  tesmir_test::EnsureApplication();
  FeederPictureModel m = Model(2);
  m.sections[1].parallel = 2;
  QStringList shown;
  for (const PaintedText& t : Paint(m, 2400, 8)) shown << t.text;
  for (const QString& text :
       {m.windKind, m.power, m.deviceType, m.deviceRating, m.deviceTrip, m.iokz, QStringLiteral("Линия 1"),
        QStringLiteral("Линия 2"), m.sections[0].kind, m.sections[0].conductor, m.sections[0].length,
        QStringLiteral("2 параллельно"), QStringLiteral("К")}) {
    EXPECT_TRUE(shown.contains(text)) << text.toStdString();
  }
}

}  // namespace
}  // namespace tesmir
