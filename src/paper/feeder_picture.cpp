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

std::vector<PaintedText> PaintFeederPicture(QPainter& p, const QRectF& area, const FeederPictureModel& m,
                                            const PictureStyle& style, PictureFit* fit) {
  std::vector<PaintedText> painted;
  Labeller label(p, painted, style.metrics, style.shorten);
  PictureFit needed;
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  const qreal lh = label.line();
  const qreal gap = lh * 0.6;
  // The window centres the line; on paper it lies below the rows above it.
  const qreal y = style.shorten ? area.top() + area.height() / 2 : area.top() + (style.rowsAbove + 1.25) * lh;
  const qreal half = lh * 0.9;                            // half the height of a symbol
  const auto rowAbove = [&](qreal x0, qreal x1, int k) {  // k = 0 nearest the line
    return QRectF(x0, y - half - (k + 1) * lh, x1 - x0, lh);
  };
  const auto rowBelow = [&](qreal x0, qreal x1, int k) { return QRectF(x0, y + half + k * lh, x1 - x0, lh); };
  // Texts of one block, each on up to two lines, stacked up from the line
  // (the last text nearest to it) or down from it (the first nearest).
  const auto lines = [&](qreal x0, qreal x1, std::initializer_list<QString> texts, int rows) {
    QStringList out;
    QStringList single;
    for (const QString& t : texts) {
      if (t.isEmpty()) continue;
      out += style.shorten ? label.wrap(t, x1 - x0) : label.wrapAll(t, x1 - x0, needed.wordsBroken);
      single << t;
    }
    if (!style.shorten) return out;  // on paper every line is kept; the rows are counted
    // Too many lines: one line per text, shortened where needed, so no text
    // loses its end without an ellipsis.
    if (out.size() > rows) out = single;
    while (out.size() > rows) out.removeLast();
    return out;
  };
  const auto above = [&](qreal x0, qreal x1, std::initializer_list<QString> texts) {
    const QStringList stack = lines(x0, x1, texts, kRowsAbove);
    needed.rowsAbove = std::max(needed.rowsAbove, static_cast<int>(stack.size()));
    for (qsizetype i = 0; i < stack.size(); ++i) {
      label.put(rowAbove(x0, x1, static_cast<int>(stack.size() - 1 - i)), stack[i]);
    }
  };
  const auto below = [&](qreal x0, qreal x1, std::initializer_list<QString> texts) {
    const QStringList stack = lines(x0, x1, texts, kRowsBelow);
    needed.rowsBelow = std::max(needed.rowsBelow, static_cast<int>(stack.size()));
    for (qsizetype i = 0; i < stack.size(); ++i) {
      label.put(rowBelow(x0, x1, static_cast<int>(i)), stack[i]);
    }
  };

  // Column widths: each block as wide as its texts, within a share of the area.
  const qreal w = area.width();
  const qreal symbol = 3 * lh;
  const qreal transW = Fit(Widest(label, {m.windKind, m.power}) + 2 * gap, symbol, w * 0.14);
  const QString noDevice = QStringLiteral("аппарат не задан");
  const qreal devW = Fit(
      (m.deviceType.isEmpty() ? label.width(noDevice) : Widest(label, {m.deviceType, m.deviceRating, m.deviceTrip})) +
          2 * gap,
      symbol, w * 0.24);
  const qreal faultW = Fit(Widest(label, {m.iokz, QStringLiteral("К")}) + 2 * gap, symbol, w * 0.16);
  qreal x = area.left();
  const qreal transX0 = x;
  x += transW;
  const qreal devX0 = x;
  x += devW;
  const qreal linesX0 = x;
  const qreal linesX1 = area.right() - faultW;
  const qreal faultX0 = linesX1;

  QPen pen(Qt::black);
  pen.setWidthF(std::max<qreal>(1, lh / 12));
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);

  // Transformer: two overlapping circles on the line, texts below.
  const qreal r = half * 0.75;
  const qreal tc = transX0 + transW / 2;
  p.drawEllipse(QPointF(tc - r * 0.45, y), r, r);
  p.drawEllipse(QPointF(tc + r * 0.45, y), r, r);
  below(transX0, devX0 - gap / 2, {m.windKind, m.power});
  p.drawLine(QPointF(tc + r * 1.45, y), QPointF(devX0 + devW / 2 - half / 2, y));

  // The protective device at the start of the first section.
  const qreal dc = devX0 + devW / 2;
  if (m.deviceType.isEmpty()) {
    p.drawLine(QPointF(dc - half / 2, y), QPointF(dc + half / 2, y));
    above(devX0 + gap / 2, linesX0 - gap / 2, {noDevice});
  } else {
    if (m.deviceKind == DeviceKind::Fuse) {
      needed.deviceSymbol = DeviceKind::Fuse;
      p.drawRect(QRectF(dc - half / 2, y - half / 4, half, half / 2));
      p.drawLine(QPointF(dc - half / 2, y), QPointF(dc + half / 2, y));
    } else {
      // A breaker: a contact opened upward with a cross at the fixed end.
      needed.deviceSymbol = DeviceKind::Breaker;
      p.drawLine(QPointF(dc - half / 2, y), QPointF(dc + half / 2, y - half / 2));
      p.drawLine(QPointF(dc + half / 2 - half / 6, y - half / 6), QPointF(dc + half / 2 + half / 6, y + half / 6));
      p.drawLine(QPointF(dc + half / 2 - half / 6, y + half / 6), QPointF(dc + half / 2 + half / 6, y - half / 6));
    }
    above(devX0 + gap / 2, linesX0 - gap / 2, {m.deviceType, m.deviceRating, m.deviceTrip});
  }
  p.drawLine(QPointF(dc + half / 2, y), QPointF(linesX0, y));

  // The sections, each an equal share of what is left.
  const int n = static_cast<int>(m.sections.size());
  if (n == 0) {
    p.drawLine(QPointF(linesX0, y), QPointF(linesX1, y));
  }
  const qreal segW = n > 0 ? (linesX1 - linesX0) / n : 0;
  for (int i = 0; i < n; ++i) {
    const FeederPictureModel::Section& s = m.sections[static_cast<std::size_t>(i)];
    const qreal x0 = linesX0 + i * segW;
    const qreal x1 = x0 + segW;
    QPen linePen = pen;
    if (s.busbar) linePen.setWidthF(pen.widthF() * 4);
    if (s.overhead) linePen.setStyle(Qt::DashLine);
    p.setPen(linePen);
    const int shown = std::min(s.parallel, 3);
    const qreal step = lh / 5;
    for (int k = 0; k < shown; ++k) {
      const qreal dy = (k - (shown - 1) / 2.0) * step;
      p.drawLine(QPointF(x0, y + dy), QPointF(x1, y + dy));
    }
    p.setPen(pen);
    // A tick where one section meets the next.
    p.drawLine(QPointF(x0, y - half / 2), QPointF(x0, y + half / 2));
    const qreal c0 = x0 + gap / 2;
    const qreal c1 = x1 - gap / 2;
    above(c0, c1, {QStringLiteral("Линия %1").arg(s.number), s.kind});
    below(c0, c1,
          {s.conductor, s.length, s.parallel > 1 ? QStringLiteral("%1 параллельно").arg(s.parallel) : QString()});
  }

  // The fault point: an arrow down to the end of the line.
  p.drawLine(QPointF(faultX0, y - half / 2), QPointF(faultX0, y + half / 2));
  QPainterPath bolt;
  bolt.moveTo(faultX0 + half * 0.5, y - half);
  bolt.lineTo(faultX0 + half * 0.1, y - half * 0.35);
  bolt.lineTo(faultX0 + half * 0.35, y - half * 0.35);
  bolt.lineTo(faultX0, y);
  p.drawPath(bolt);
  above(faultX0 + gap / 2, area.right(), {QStringLiteral("К")});
  below(faultX0 + gap / 2, area.right(), {m.iokz});
  p.restore();
  if (fit != nullptr) *fit = needed;
  return painted;
}

}  // namespace tesmir
