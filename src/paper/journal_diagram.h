#pragma once
// The single-line diagram of a journal's tree: the transformer, each board as
// a busbar, each line as a branch with its device, rating, designation, mark,
// length and Iк1 at its end. The layout (boards left to right by depth, lines
// top to bottom, split over pages) is kept apart from the painting, so that
// the pages, the PDF and the window's tab draw the same thing and the layout
// can be checked: no two texts overlap, nothing leaves the page, every text
// fits its rectangle whole (wrapped or in a smaller font, never cut short).

#include <QFont>
#include <QLineF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

#include "journal/journal_calc.h"
#include "journal/journal_network.h"

class QPaintDevice;
class QPainter;

namespace tesmir {

struct DiagramText {
  QRectF rect;
  QString text;
  qreal pointSize = 0;
  bool failing = false;       // drawn bold
  bool wrapAnywhere = false;  // a word wider than the rectangle breaks inside
};

struct DiagramPage {
  QSizeF size;                       // points
  std::vector<QLineF> busbars;       // drawn thick
  std::vector<QLineF> wires;         // branches
  std::vector<QLineF> failingWires;  // branches of failing lines, drawn dashed and thick
  std::vector<QRectF> devices;       // device symbols
  std::vector<QRectF> transformer;   // the transformer's two windings
  std::vector<DiagramText> texts;
};

struct DiagramStyle {
  QFont font;              // family; its size is the largest the texts use
  qreal minPointSize = 5;  // texts shrink down to this, then wrap anywhere and grow their row
  qreal margin = 24;       // points around the drawing
};

// The diagram's pages for `pageSize` (points).
std::vector<DiagramPage> LayoutJournalDiagram(const JournalNetwork& network, const JournalResult& result,
                                              QSizeF pageSize, const DiagramStyle& style = {});

// The text flags the layout measured with and the painter draws with.
int DiagramTextFlags(const DiagramText& text);

// The device the layout measures texts on: one pixel to a point, so that
// what it measures is in points whatever the screen.
const QPaintDevice& DiagramMeasureDevice();

// The font `text` is measured with (on DiagramMeasureDevice) and drawn with
// on `device`, whose painter is scaled to points: a text of 7.5 points is
// 7.5 painter units high on the screen, on paper and in the PDF alike.
QFont DiagramTextFont(const QFont& family, const DiagramText& text, const QPaintDevice& device);

// Paints one page; the painter's units are points.
void PaintDiagramPage(QPainter& painter, const DiagramPage& page, const QFont& font);

}  // namespace tesmir
