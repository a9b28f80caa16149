#include "paper/feeder_picture.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "core/line_catalogue.h"
#include "device/device_check.h"
#include "report/utf8_text.h"

namespace tesmir {
namespace {

// Rows of text above and below the line, at most.
constexpr int kRowsAbove = 4;
constexpr int kRowsBelow = 4;

// Draws texts into fixed cells and records what was drawn.
class Labeller {
 public:
  Labeller(QPainter& painter, std::vector<PaintedText>& out, const QPaintDevice* metrics, bool shorten)
      : p_(painter),
        out_(out),
        fm_(painter.font(), metrics != nullptr ? metrics : painter.device()),
        shorten_(shorten) {}

  // One line of text centred in `cell`, shortened to the cell's width in the
  // window; on paper the text was wrapped to fit already.
  void put(const QRectF& cell, const QString& text) {
    if (text.isEmpty() || cell.width() <= 0) return;
    const QString shown = shorten_ ? fm_.elidedText(text, Qt::ElideRight, cell.width()) : text;
    if (shown.isEmpty()) return;
    QRectF drawn;
    p_.drawText(cell, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, shown, &drawn);
    out_.push_back({drawn, shown});
  }

  // A text as at most two lines that fit `width`: split at the blank that
  // balances the two best; what still does not fit is shortened.
  QStringList wrap(const QString& text, qreal width) const {
    if (fits(text, width)) return {text};
    QString best;
    qreal bestWidest = 0;
    for (qsizetype i = text.indexOf(QLatin1Char(' ')); i > 0; i = text.indexOf(QLatin1Char(' '), i + 1)) {
      const QString head = text.left(i);
      const QString tail = text.mid(i + 1);
      const qreal widest = std::max(fm_.horizontalAdvance(head), fm_.horizontalAdvance(tail));
      if (fits(head, width) && fits(tail, width) && (best.isEmpty() || widest < bestWidest)) {
        best = head;
        bestWidest = widest;
      }
    }
    if (!best.isEmpty()) return {best, text.mid(best.size() + 1)};
    // No balanced split: as many whole words as fit, the rest shortened.
    qsizetype cut = -1;
    for (qsizetype i = text.indexOf(QLatin1Char(' ')); i > 0 && fits(text.left(i), width);
         i = text.indexOf(QLatin1Char(' '), i + 1)) {
      cut = i;
    }
    if (cut < 0) return {text};
    return {text.left(cut), text.mid(cut + 1)};
  }

  // Paper: greedy word wrap onto as many lines as needed; a word wider than
  // `width` is broken between characters (and `broken` set).
  QStringList wrapAll(const QString& text, qreal width, bool& broken) const {
    QStringList out;
    QString current;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
      const QString joined = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
      if (fits(joined, width)) {
        current = joined;
        continue;
      }
      if (!current.isEmpty()) out << current;
      current = word;
      while (!fits(current, width) && current.size() > 1) {
        broken = true;
        qsizetype n = 1;
        while (n < current.size() - 1 && fits(current.left(n + 1), width)) ++n;
        out << current.left(n);
        current = current.mid(n);
      }
    }
    if (!current.isEmpty()) out << current;
    return out;
  }

  bool fits(const QString& text, qreal width) const { return fm_.horizontalAdvance(text) <= width - 1; }
  qreal width(const QString& text) const { return fm_.horizontalAdvance(text); }
  qreal line() const { return fm_.lineSpacing(); }

 private:
  QPainter& p_;
  std::vector<PaintedText>& out_;
  QFontMetricsF fm_;
  bool shorten_;
};

// As std::clamp, but a narrow picture's upper bound wins over the lower one.
qreal Fit(qreal value, qreal low, qreal high) { return std::min(std::max(value, low), high); }

qreal Widest(const Labeller& l, std::initializer_list<QString> texts) {
  qreal w = 0;
  for (const QString& t : texts) w = std::max(w, l.width(t));
  return w;
}

}  // namespace

FeederPictureModel MakePictureModel(const SchemeState& scheme, const ResultTexts& texts, const DeviceTexts& device,
                                    const NumberSeparators& seps) {
  FeederPictureModel m;
  m.windKind = texts.windKind;
  m.power = texts.power + QStringLiteral(" кВ*А");
  for (int i = 0; i < kLineCount; ++i) {
    const LineSegment& seg = scheme.Lines[LineIndex(i)];
    if (!(seg.Length > 0)) continue;
    FeederPictureModel::Section s;
    s.number = i + 1;
    s.kind = QUtf8(seg.Kind);
    s.busbar = ClassifyLineKind(seg.Kind) == LineKindClass::Tire;
    s.overhead = seg.Kind == kCableKinds[2];
    s.conductor = s.busbar ? QUtf8(seg.Stuff)
                           : QStringLiteral("%1 %2/%3 мм²").arg(QUtf8(seg.Stuff), QUtf8(seg.Ff), QUtf8(seg.Fn));
    s.length = QStringLiteral("L=") + PlainText(seg.Length, seps) + QStringLiteral(" м");
    s.parallel = std::max(1, static_cast<int>(seg.QuanPar));
    m.sections.push_back(std::move(s));
  }
  if (!device.type.isEmpty() && device.type.toStdString() != kNoDeviceValue) {
    m.deviceType = device.type;
    m.deviceRating = device.toknom;
    m.deviceTrip = device.tokSR;
    m.deviceKind = device.kind;
  }
  m.iokz = QStringLiteral("Iокз=") + CurrentText(scheme.Iokz) + QStringLiteral(" А");
  return m;
}

qreal FeederPictureHeight(qreal lineSpacing) { return FeederPictureHeight(lineSpacing, kRowsAbove, kRowsBelow); }

qreal FeederPictureHeight(qreal lineSpacing, int rowsAbove, int rowsBelow) {
  return (rowsAbove + rowsBelow + 2.5) * lineSpacing;
}

namespace {

// Paints one picture: the rows of texts above and below the line, then the
// transformer, the device, the sections and the fault point from left to
// right, each in its own column.
class PicturePainter {
 public:
  PicturePainter(QPainter& p, const QRectF& area, const FeederPictureModel& m, const PictureStyle& style,
                 std::vector<PaintedText>& painted)
      : p_(p),
        area_(area),
        m_(m),
        style_(style),
        label_(p, painted, style.metrics, style.shorten),
        lh_(label_.line()),
        gap_(lh_ * 0.6),
        // The window centres the line; on paper it lies below the rows above it.
        y_(style.shorten ? area.top() + area.height() / 2 : area.top() + (style.rowsAbove + 1.25) * lh_),
        half_(lh_ * 0.9) {}

  PictureFit paint() {
    p_.setRenderHint(QPainter::Antialiasing, true);
    placeColumns();
    pen_ = QPen(Qt::black);
    pen_.setWidthF(std::max<qreal>(1, lh_ / 12));
    p_.setPen(pen_);
    p_.setBrush(Qt::NoBrush);
    paintTransformer();
    paintDevice();
    paintSections();
    paintFault();
    return needed_;
  }

 private:
  QRectF rowAbove(qreal x0, qreal x1, int k) const {  // k = 0 nearest the line
    return QRectF(x0, y_ - half_ - (k + 1) * lh_, x1 - x0, lh_);
  }
  QRectF rowBelow(qreal x0, qreal x1, int k) const { return QRectF(x0, y_ + half_ + k * lh_, x1 - x0, lh_); }

  // Texts of one block, each on up to two lines, stacked up from the line
  // (the last text nearest to it) or down from it (the first nearest).
  QStringList lines(qreal x0, qreal x1, std::initializer_list<QString> texts, int rows) {
    QStringList out;
    QStringList single;
    for (const QString& t : texts) {
      if (t.isEmpty()) continue;
      out += style_.shorten ? label_.wrap(t, x1 - x0) : label_.wrapAll(t, x1 - x0, needed_.wordsBroken);
      single << t;
    }
    if (!style_.shorten) return out;  // on paper every line is kept; the rows are counted
    // Too many lines: one line per text, shortened where needed, so no text
    // loses its end without an ellipsis.
    if (out.size() > rows) out = single;
    while (out.size() > rows) out.removeLast();
    return out;
  }
  void above(qreal x0, qreal x1, std::initializer_list<QString> texts) {
    const QStringList stack = lines(x0, x1, texts, kRowsAbove);
    needed_.rowsAbove = std::max(needed_.rowsAbove, static_cast<int>(stack.size()));
    for (qsizetype i = 0; i < stack.size(); ++i) {
      label_.put(rowAbove(x0, x1, static_cast<int>(stack.size() - 1 - i)), stack[i]);
    }
  }
  void below(qreal x0, qreal x1, std::initializer_list<QString> texts) {
    const QStringList stack = lines(x0, x1, texts, kRowsBelow);
    needed_.rowsBelow = std::max(needed_.rowsBelow, static_cast<int>(stack.size()));
    for (qsizetype i = 0; i < stack.size(); ++i) {
      label_.put(rowBelow(x0, x1, static_cast<int>(i)), stack[i]);
    }
  }

  // Column widths: each block as wide as its texts, within a share of the area.
  void placeColumns() {
    const qreal w = area_.width();
    const qreal symbol = 3 * lh_;
    transW_ = Fit(Widest(label_, {m_.windKind, m_.power}) + 2 * gap_, symbol, w * 0.14);
    devW_ = Fit((m_.deviceType.isEmpty() ? label_.width(noDevice())
                                         : Widest(label_, {m_.deviceType, m_.deviceRating, m_.deviceTrip})) +
                    2 * gap_,
                symbol, w * 0.24);
    const qreal faultW = Fit(Widest(label_, {m_.iokz, QStringLiteral("К")}) + 2 * gap_, symbol, w * 0.16);
    transX0_ = area_.left();
    devX0_ = transX0_ + transW_;
    linesX0_ = devX0_ + devW_;
    linesX1_ = area_.right() - faultW;
  }
  static QString noDevice() { return QStringLiteral("аппарат не задан"); }

  // Transformer: two overlapping circles on the line, texts below.
  void paintTransformer() {
    const qreal r = half_ * 0.75;
    const qreal tc = transX0_ + transW_ / 2;
    p_.drawEllipse(QPointF(tc - r * 0.45, y_), r, r);
    p_.drawEllipse(QPointF(tc + r * 0.45, y_), r, r);
    below(transX0_, devX0_ - gap_ / 2, {m_.windKind, m_.power});
    p_.drawLine(QPointF(tc + r * 1.45, y_), QPointF(devX0_ + devW_ / 2 - half_ / 2, y_));
  }

  // The protective device at the start of the first section.
  void paintDevice() {
    const qreal dc = devX0_ + devW_ / 2;
    const qreal h = half_;
    if (m_.deviceType.isEmpty()) {
      p_.drawLine(QPointF(dc - h / 2, y_), QPointF(dc + h / 2, y_));
      above(devX0_ + gap_ / 2, linesX0_ - gap_ / 2, {noDevice()});
    } else {
      if (m_.deviceKind == DeviceKind::Fuse) {
        needed_.deviceSymbol = DeviceKind::Fuse;
        p_.drawRect(QRectF(dc - h / 2, y_ - h / 4, h, h / 2));
        p_.drawLine(QPointF(dc - h / 2, y_), QPointF(dc + h / 2, y_));
      } else {
        // A breaker: a contact opened upward with a cross at the fixed end.
        needed_.deviceSymbol = DeviceKind::Breaker;
        p_.drawLine(QPointF(dc - h / 2, y_), QPointF(dc + h / 2, y_ - h / 2));
        p_.drawLine(QPointF(dc + h / 2 - h / 6, y_ - h / 6), QPointF(dc + h / 2 + h / 6, y_ + h / 6));
        p_.drawLine(QPointF(dc + h / 2 - h / 6, y_ + h / 6), QPointF(dc + h / 2 + h / 6, y_ - h / 6));
      }
      above(devX0_ + gap_ / 2, linesX0_ - gap_ / 2, {m_.deviceType, m_.deviceRating, m_.deviceTrip});
    }
    p_.drawLine(QPointF(dc + h / 2, y_), QPointF(linesX0_, y_));
  }

  // The sections, each an equal share of what is left.
  void paintSections() {
    const int n = static_cast<int>(m_.sections.size());
    if (n == 0) {
      p_.drawLine(QPointF(linesX0_, y_), QPointF(linesX1_, y_));
    }
    const qreal segW = n > 0 ? (linesX1_ - linesX0_) / n : 0;
    for (int i = 0; i < n; ++i) {
      const FeederPictureModel::Section& s = m_.sections[static_cast<std::size_t>(i)];
      const qreal x0 = linesX0_ + i * segW;
      const qreal x1 = x0 + segW;
      QPen linePen = pen_;
      if (s.busbar) linePen.setWidthF(pen_.widthF() * 4);
      if (s.overhead) linePen.setStyle(Qt::DashLine);
      p_.setPen(linePen);
      const int shown = std::min(s.parallel, 3);
      const qreal step = lh_ / 5;
      for (int k = 0; k < shown; ++k) {
        const qreal dy = (k - (shown - 1) / 2.0) * step;
        p_.drawLine(QPointF(x0, y_ + dy), QPointF(x1, y_ + dy));
      }
      p_.setPen(pen_);
      // A tick where one section meets the next.
      p_.drawLine(QPointF(x0, y_ - half_ / 2), QPointF(x0, y_ + half_ / 2));
      const qreal c0 = x0 + gap_ / 2;
      const qreal c1 = x1 - gap_ / 2;
      above(c0, c1, {QStringLiteral("Линия %1").arg(s.number), s.kind});
      below(c0, c1,
            {s.conductor, s.length, s.parallel > 1 ? QStringLiteral("%1 параллельно").arg(s.parallel) : QString()});
    }
  }

  // The fault point: an arrow down to the end of the line.
  void paintFault() {
    const qreal x = linesX1_;
    p_.drawLine(QPointF(x, y_ - half_ / 2), QPointF(x, y_ + half_ / 2));
    QPainterPath bolt;
    bolt.moveTo(x + half_ * 0.5, y_ - half_);
    bolt.lineTo(x + half_ * 0.1, y_ - half_ * 0.35);
    bolt.lineTo(x + half_ * 0.35, y_ - half_ * 0.35);
    bolt.lineTo(x, y_);
    p_.drawPath(bolt);
    above(x + gap_ / 2, area_.right(), {QStringLiteral("К")});
    below(x + gap_ / 2, area_.right(), {m_.iokz});
  }

  QPainter& p_;
  const QRectF area_;
  const FeederPictureModel& m_;
  const PictureStyle& style_;
  Labeller label_;
  PictureFit needed_;
  const qreal lh_;
  const qreal gap_;
  const qreal y_;
  const qreal half_;  // half the height of a symbol
  QPen pen_;
  qreal transW_ = 0;
  qreal devW_ = 0;
  qreal transX0_ = 0;
  qreal devX0_ = 0;
  qreal linesX0_ = 0;
  qreal linesX1_ = 0;
};

}  // namespace

std::vector<PaintedText> PaintFeederPicture(QPainter& p, const QRectF& area, const FeederPictureModel& m,
                                            const PictureStyle& style, PictureFit* fit) {
  std::vector<PaintedText> painted;
  p.save();
  const PictureFit needed = PicturePainter(p, area, m, style, painted).paint();
  p.restore();
  if (fit != nullptr) *fit = needed;
  return painted;
}

}  // namespace tesmir
