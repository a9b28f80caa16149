#include "paper/journal_diagram.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <map>
#include <string>

#include "core/display_format.h"
#include "report/utf8_text.h"

namespace tesmir {
namespace {

constexpr qreal kDeviceWidth = 10;
constexpr qreal kDeviceHeight = 6;
constexpr qreal kGap = 3;
constexpr qreal kMinRow = 30;
constexpr qreal kTransformerWidth = 70;

struct Node {
  std::size_t line = 0;
  int depth = 0;
};

// The lines in tree order (each under its feeding line), with their depth.
// A line whose parent is missing, or on a cycle, stands at the top level.
std::vector<Node> TreeOrder(const JournalNetwork& network) {
  const std::size_t n = network.lines.size();
  std::map<std::string, std::size_t> byId;
  for (std::size_t i = 0; i < n; ++i) byId.emplace(network.lines[i].id, i);
  std::vector<std::ptrdiff_t> parent(n, -1);
  for (std::size_t i = 0; i < n; ++i) {
    const auto& p = network.lines[i].parent;
    if (!p) continue;
    const auto it = byId.find(*p);
    if (it != byId.end() && it->second != i) parent[i] = static_cast<std::ptrdiff_t>(it->second);
  }
  // Break cycles: a line whose chain of parents comes back to it is a root.
  for (std::size_t i = 0; i < n; ++i) {
    std::ptrdiff_t p = parent[i];
    for (std::size_t steps = 0; p >= 0 && steps <= n; ++steps) {
      if (static_cast<std::size_t>(p) == i) {
        parent[i] = -1;
        break;
      }
      p = parent[static_cast<std::size_t>(p)];
    }
  }
  std::vector<std::vector<std::size_t>> children(n);
  std::vector<std::size_t> roots;
  for (std::size_t i = 0; i < n; ++i) {
    if (parent[i] < 0)
      roots.push_back(i);
    else
      children[static_cast<std::size_t>(parent[i])].push_back(i);
  }
  std::vector<Node> order;
  order.reserve(n);
  std::vector<std::pair<std::size_t, int>> stack;
  for (auto it = roots.rbegin(); it != roots.rend(); ++it) stack.emplace_back(*it, 0);
  while (!stack.empty()) {
    const auto [i, depth] = stack.back();
    stack.pop_back();
    order.push_back({i, depth});
    for (auto it = children[i].rbegin(); it != children[i].rend(); ++it) stack.emplace_back(*it, depth + 1);
  }
  return order;
}

QString LineText(const JournalLine& line, const LineResult& r) {
  QStringList parts;
  QString head = QUtf8(line.id);
  if (!line.to.empty()) head += QStringLiteral(" → ") + QUtf8(line.to);
  parts << head;
  QString cable =
      QUtf8(line.mark.empty() ? line.kind + " " + line.material + " " + line.ff + "/" + line.fn : line.mark);
  if (!line.length.empty()) cable += QStringLiteral(", ") + QUtf8(line.length) + QStringLiteral(" м");
  parts << cable.trimmed();
  if (line.device) {
    const JournalDevice& d = *line.device;
    QString device = d.type == "fuse" ? QStringLiteral("FU ") + QUtf8(d.fuseType) : QStringLiteral("QF");
    if (!d.in.empty()) device += QStringLiteral(" ") + QUtf8(d.in) + QStringLiteral(" А");
    parts << device;
  }
  if (const auto ik1 = r.get(Fig::Ik1)) {
    parts << QStringLiteral("Iк1 = ") + QUtf8(FormatCurrent(*ik1)) + QStringLiteral(" А");
  } else if (!r.error().empty()) {
    parts << QStringLiteral("ошибка: ") + QUtf8(r.error());
  }
  return parts.join(QLatin1Char('\n'));
}

// The font size and wrapping that let `text` fit `width`, and the height it
// then needs.
struct Fit {
  qreal pointSize;
  bool anywhere;
  qreal height;
};

Fit FitText(const QString& text, qreal width, qreal height, const DiagramStyle& style, bool bold = false) {
  const QPaintDevice& device = DiagramMeasureDevice();
  DiagramText probe;
  probe.failing = bold;
  const qreal largest = style.font.pointSizeF() > 0 ? style.font.pointSizeF() : 8;
  for (qreal size = largest; size >= style.minPointSize; size -= 0.5) {
    probe.pointSize = size;
    const QFontMetricsF metrics(DiagramTextFont(style.font, probe, device), &device);
    const QRectF need = metrics.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, text);
    if (need.width() <= width && need.height() <= height) return {size, false, need.height()};
  }
  probe.pointSize = style.minPointSize;
  const QFontMetricsF metrics(DiagramTextFont(style.font, probe, device), &device);
  const QRectF need = metrics.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWrapAnywhere, text);
  return {style.minPointSize, true, need.height()};
}

}  // namespace

const QPaintDevice& DiagramMeasureDevice() {
  static const QImage device = [] {
    QImage image(1, 1, QImage::Format_RGB32);
    // 72 dots per inch: one dot to a point.
    image.setDotsPerMeterX(2835);
    image.setDotsPerMeterY(2835);
    return image;
  }();
  return device;
}

QFont DiagramTextFont(const QFont& family, const DiagramText& text, const QPaintDevice& device) {
  QFont font = family;
  // Unhinted, so that the advances scale with the size and the texts wrap
  // where they were measured to, on every device.
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setBold(text.failing);
  // The painter scales points to the device's dots, and a font's points
  // become dots by the device's resolution once more: the one is undone here.
  const int dpi = device.logicalDpiY() > 0 ? device.logicalDpiY() : 72;
  font.setPointSizeF(text.pointSize * 72.0 / dpi);
  return font;
}

int DiagramTextFlags(const DiagramText& text) {
  return Qt::AlignLeft | Qt::AlignTop | (text.wrapAnywhere ? Qt::TextWrapAnywhere : Qt::TextWordWrap);
}

std::vector<DiagramPage> LayoutJournalDiagram(const JournalNetwork& network, const JournalResult& result,
                                              QSizeF pageSize, const DiagramStyle& style) {
  const std::vector<Node> order = TreeOrder(network);
  int maxDepth = 0;
  for (const Node& n : order) maxDepth = std::max(maxDepth, n.depth);
  const qreal left = style.margin + kTransformerWidth;
  const qreal usableWidth = pageSize.width() - left - style.margin;
  const qreal column = usableWidth / (maxDepth + 1);
  const qreal textWidth = std::max<qreal>(column - kDeviceWidth - 3 * kGap, 10);
  const qreal top = style.margin;
  const qreal bottom = pageSize.height() - style.margin;

  std::vector<DiagramPage> pages;
  const auto newPage = [&]() {
    DiagramPage page;
    page.size = pageSize;
    pages.push_back(page);
  };
  newPage();
  // The transformer on the first page.
  {
    DiagramPage& page = pages.front();
    const qreal cx = style.margin + 14;
    page.transformer = {QRectF(cx - 8, top, 16, 16), QRectF(cx - 8, top + 10, 16, 16)};
    DiagramText t;
    t.text = QUtf8(network.scheme) + QStringLiteral("\n") + QUtf8(network.power) + QStringLiteral(" кВА");
    const Fit fit = FitText(t.text, kTransformerWidth - 26, 1e6, style);
    t.rect = QRectF(style.margin + 24, top + 30, kTransformerWidth - 26, fit.height);
    t.pointSize = fit.pointSize;
    t.wrapAnywhere = fit.anywhere;
    page.texts.push_back(t);
  }

  qreal y = top + 30 + pages.front().texts.front().rect.height() + kGap;
  // Where the busbar of the board at each depth reached on this page: the
  // branch of the line above, or the line that feeds the board.
  std::map<int, qreal> reached;
  reached[0] = top + 26;
  for (const Node& n : order) {
    const JournalLine& line = network.lines[n.line];
    const LineResult empty;
    const LineResult& r = n.line < result.lines.size() ? result.lines[n.line] : empty;
    DiagramText t;
    t.text = LineText(line, r);
    t.failing = LineFailsAVerdict(r);
    const Fit fit = FitText(t.text, textWidth, kMinRow * 2, style, t.failing);
    const qreal rowHeight = std::max(kMinRow, fit.height + 3 * kGap + 5);
    if (y + rowHeight > bottom && y > top) {
      newPage();
      y = top;
      reached.clear();
    }
    const qreal barX = n.depth == 0 ? style.margin + 14 : left + n.depth * column;
    const qreal wireY = y + kGap + 4;
    DiagramPage& page = pages.back();
    const auto from = reached.find(n.depth);
    page.busbars.push_back(QLineF(barX, from != reached.end() ? from->second : top, barX, wireY));
    reached.erase(reached.upper_bound(n.depth), reached.end());
    reached[n.depth] = wireY;
    reached[n.depth + 1] = wireY;
    const qreal end = left + (n.depth + 1) * column;
    const QLineF wire(barX, wireY, end, wireY);
    (t.failing ? page.failingWires : page.wires).push_back(wire);
    const qreal deviceX = n.depth == 0 ? left - kDeviceWidth - kGap : barX + kGap;
    page.devices.push_back(QRectF(deviceX, wireY - kDeviceHeight / 2, kDeviceWidth, kDeviceHeight));
    const qreal textX = n.depth == 0 ? left + kGap : barX + kDeviceWidth + 2 * kGap;
    t.rect = QRectF(textX, wireY + kGap, textWidth, fit.height);
    t.pointSize = fit.pointSize;
    t.wrapAnywhere = fit.anywhere;
    page.texts.push_back(t);
    y += rowHeight;
  }
  return pages;
}

void PaintDiagramPage(QPainter& painter, const DiagramPage& page, const QFont& font) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(Qt::black, 2.5));
  for (const QLineF& bar : page.busbars) painter.drawLine(bar);
  painter.setPen(QPen(Qt::black, 0.8));
  for (const QLineF& wire : page.wires) painter.drawLine(wire);
  for (const QRectF& winding : page.transformer) painter.drawEllipse(winding);
  painter.setPen(QPen(Qt::black, 2.0, Qt::DashLine));
  for (const QLineF& wire : page.failingWires) painter.drawLine(wire);
  painter.setPen(QPen(Qt::black, 0.8));
  painter.setBrush(Qt::white);
  for (const QRectF& device : page.devices) painter.drawRect(device);
  for (const DiagramText& t : page.texts) {
    painter.setFont(DiagramTextFont(font, t, *painter.device()));
    painter.drawText(t.rect, DiagramTextFlags(t), t.text);
  }
  painter.restore();
}

}  // namespace tesmir
