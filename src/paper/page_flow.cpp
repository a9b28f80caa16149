#include "paper/page_flow.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPicture>
#include <algorithm>

#include "paper/feeder_picture.h"

namespace tesmir {
namespace {

constexpr qreal kBodyPoints = 9.5;
constexpr int kWrap = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;

}  // namespace

QString PaperDateText(const QDate& date) {
  return QStringLiteral("Дата: %1").arg(date.toString(QStringLiteral("dd.MM.yyyy")));
}

PageFlow::PageFlow(QPagedPaintDevice& device, const QString& footerTitle) : device_(device), footerTitle_(footerTitle) {
  if (!painter_.begin(&device_)) return;
  pt_ = device_.logicalDpiY() / 72.0;
  width_ = device_.width();
  const qreal footerBand = QFontMetricsF(font(8), &device_).lineSpacing() * 2;
  bottom_ = device_.height() - footerBand;
  painter_.setPen(Qt::black);
}

PageFlow::~PageFlow() { finish(); }

QFont PaperFont(qreal points, bool bold) {
  QFont f(kPaperFontFamily);
  f.setPointSizeF(points);
  f.setBold(bold);
  return f;
}

QFont PageFlow::font(qreal points, bool bold) const { return PaperFont(points, bold); }

qreal PageFlow::textHeight(const QFont& f, qreal width, const QString& text) const {
  const QFontMetricsF fm(f, &device_);
  return fm.boundingRect(QRectF(0, 0, width, 1e9), kWrap, text).height();
}

void PageFlow::ensure(qreal height) {
  if (y_ > 0 && y_ + height > bottom_) newPage();
}

void PageFlow::newPage() {
  footer();
  device_.newPage();
  ++page_;
  y_ = 0;
}

void PageFlow::footer() {
  const QFont f = font(8);
  painter_.setFont(f);
  const qreal lh = QFontMetricsF(f, &device_).lineSpacing();
  const QRectF band(0, bottom_ + lh * 0.6, width_, lh);
  painter_.drawLine(QPointF(0, bottom_ + lh * 0.3), QPointF(width_, bottom_ + lh * 0.3));
  painter_.drawText(band, Qt::AlignLeft | Qt::AlignVCenter, footerTitle_);
  const QString number = pageTotal_ > 0 ? QStringLiteral("Страница %1 из %2").arg(page_).arg(pageTotal_)
                                        : QStringLiteral("Страница %1").arg(page_);
  painter_.drawText(band, Qt::AlignRight | Qt::AlignVCenter, number);
}

void PageFlow::title(const QString& text) {
  const QFont f = font(14, true);
  const qreal h = textHeight(f, width_, text);
  ensure(h);
  painter_.setFont(f);
  painter_.drawText(QRectF(0, y_, width_, h), Qt::TextWordWrap | Qt::AlignHCenter | Qt::AlignTop, text);
  y_ += h + 6 * pt_;
}

void PageFlow::heading(const QString& text) { headingLine(text, {11.5, 8, 3, 4}); }

void PageFlow::subheading(const QString& text) { headingLine(text, {10, 4, 2, 2}); }

void PageFlow::headingLine(const QString& text, const HeadingStyle& style) {
  const QFont f = font(style.points, true);
  const qreal h = textHeight(f, width_, text);
  // A heading never stays alone at the foot of a page: the body lines that
  // follow it must fit below it too.
  ensure(h + style.pointsBefore * pt_ + style.keptBodyLines * QFontMetricsF(font(kBodyPoints), &device_).lineSpacing());
  y_ += style.pointsBefore * pt_;
  painter_.setFont(f);
  painter_.drawText(QRectF(0, y_, width_, h), kWrap, text);
  y_ += h + style.pointsAfter * pt_;
}

void PageFlow::paragraph(const QString& text, bool bold) {
  const QFont f = font(kBodyPoints, bold);
  const qreal h = textHeight(f, width_, text);
  ensure(h);
  painter_.setFont(f);
  painter_.drawText(QRectF(0, y_, width_, h), kWrap, text);
  y_ += h + 2 * pt_;
}

void PageFlow::pairs(const std::vector<std::pair<QString, QString>>& rows) {
  const QFont f = font(kBodyPoints);
  const qreal labelW = width_ * 0.48;
  const qreal valueX = labelW + 6 * pt_;
  const qreal valueW = width_ - valueX;
  painter_.setFont(f);
  for (const auto& [label, value] : rows) {
    const qreal h = std::max(textHeight(f, labelW, label), textHeight(f, valueW, value));
    ensure(h);
    painter_.setFont(f);
    painter_.drawText(QRectF(0, y_, labelW, h), kWrap, label);
    painter_.drawText(QRectF(valueX, y_, valueW, h), kWrap, value);
    y_ += h + 1.5 * pt_;
  }
}

qreal PageFlow::tableRowHeight(const std::vector<qreal>& xs, const QStringList& row, const QFont& f) const {
  const qreal pad = 2 * pt_;
  qreal h = 0;
  for (std::size_t c = 0; c + 1 < xs.size() && c < static_cast<std::size_t>(row.size()); ++c) {
    h = std::max(h, textHeight(f, xs[c + 1] - xs[c] - 2 * pad, row[static_cast<qsizetype>(c)]));
  }
  return h + 2 * pad;
}

void PageFlow::tableRow(const std::vector<qreal>& xs, const QStringList& row, const QFont& f, qreal h) {
  const qreal pad = 2 * pt_;
  painter_.setFont(f);
  for (std::size_t c = 0; c + 1 < xs.size(); ++c) {
    const QRectF cell(xs[c], y_, xs[c + 1] - xs[c], h);
    painter_.drawRect(cell);
    if (c < static_cast<std::size_t>(row.size())) {
      painter_.drawText(cell.adjusted(pad, pad, -pad, -pad), kWrap, row[static_cast<qsizetype>(c)]);
    }
  }
  y_ += h;
}

void PageFlow::table(const std::vector<qreal>& widths, const std::vector<QStringList>& rows, int headerRows) {
  std::vector<qreal> xs{0};
  for (qreal w : widths) xs.push_back(xs.back() + w * width_);
  QPen pen(Qt::black);
  pen.setWidthF(0.5 * pt_);
  painter_.setPen(pen);
  const QFont body = font(kBodyPoints - 0.5);
  const QFont bold = font(kBodyPoints - 0.5, true);
  qreal headerH = 0;
  for (int r = 0; r < headerRows && r < static_cast<int>(rows.size()); ++r) {
    headerH += tableRowHeight(xs, rows[static_cast<std::size_t>(r)], bold);
  }
  const auto drawHeader = [&] {
    for (int r = 0; r < headerRows && r < static_cast<int>(rows.size()); ++r) {
      const QStringList& row = rows[static_cast<std::size_t>(r)];
      tableRow(xs, row, bold, tableRowHeight(xs, row, bold));
    }
  };
  bool headerDrawn = false;
  for (std::size_t r = static_cast<std::size_t>(headerRows); r < rows.size(); ++r) {
    const qreal h = tableRowHeight(xs, rows[r], body);
    if (!headerDrawn) {
      ensure(headerH + h);
      drawHeader();
      headerDrawn = true;
    } else if (y_ + h > bottom_) {
      newPage();
      painter_.setPen(pen);
      drawHeader();
    }
    tableRow(xs, rows[r], body, h);
  }
  if (!headerDrawn) {
    ensure(headerH);
    drawHeader();
  }
  painter_.setPen(Qt::black);
  y_ += 4 * pt_;
}

void PageFlow::picture(const FeederPictureModel& model) {
  // On paper no label is shortened: the texts wrap onto as many rows as they
  // need, at the largest size from 7.5 pt down to 5 pt at which no word has
  // to be broken (at 5 pt a word still too wide is broken).
  QFont f;
  PictureStyle style;
  style.shorten = false;
  style.metrics = &device_;
  for (qreal points = 7.5; points >= 5; points -= 0.5) {
    f = font(points);
    QPicture scratch;
    QPainter measure(&scratch);
    measure.setFont(f);
    PictureFit fit;
    PaintFeederPicture(measure, QRectF(0, 0, width_, device_.height()), model, style, &fit);
    style.rowsAbove = fit.rowsAbove;
    style.rowsBelow = fit.rowsBelow;
    if (!fit.wordsBroken) break;
  }
  const qreal lh = QFontMetricsF(f, &device_).lineSpacing();
  const qreal h = FeederPictureHeight(lh, style.rowsAbove, style.rowsBelow);
  ensure(h);
  painter_.setFont(f);
  PaintFeederPicture(painter_, QRectF(0, y_, width_, h), model, style);
  y_ += h + 4 * pt_;
}

void PageFlow::drawing(const std::function<void(QPainter&)>& paint) {
  if (!active()) return;
  if (y_ > 0) newPage();
  painter_.save();
  painter_.scale(pt_, pt_);
  paint(painter_);
  painter_.restore();
  painter_.setPen(Qt::black);
  y_ = bottom_;
}

void PageFlow::finish() {
  if (finished_ || !painter_.isActive()) return;
  finished_ = true;
  footer();
  painter_.end();
}

}  // namespace tesmir
