#pragma once
// The single-line picture of a feeder: the transformer, the protective device
// at the start, every section with its kind, conductors and length, and the
// fault point with its current. One painter serves the results window's page
// "Схема", the calculation note and its tests; it reports where it put every
// text, so overlapping labels can be checked without looking.

#include <QRectF>
#include <QString>
#include <vector>

#include "core/loop_calc.h"
#include "texts/result_texts.h"

class QPainter;
class QPaintDevice;

namespace tesmir {

struct FeederPictureModel {
  QString windKind;  // scheme text
  QString power;     // "630 кВ*А"
  struct Section {
    int number = 0;     // 1..6
    QString kind;       // line-kind text
    QString conductor;  // material and cross-sections, or the busbar model
    QString length;     // "L=120 м"
    int parallel = 1;   // conductors in parallel
    bool busbar = false;
    bool overhead = false;
  };
  std::vector<Section> sections;             // only sections with a length
  QString deviceType;                        // empty when no device is defined
  DeviceKind deviceKind = DeviceKind::None;  // the symbol drawn: a fuse or a breaker
  QString deviceRating;
  QString deviceTrip;
  QString iokz;  // "Iокз=1234 А"
};

// The picture of a computed feeder; `device` as the results window shows it.
FeederPictureModel MakePictureModel(const SchemeState& scheme, const ResultTexts& texts, const DeviceTexts& device,
                                    const NumberSeparators& seps);

struct PaintedText {
  QRectF rect;
  QString text;
};

// How the texts are fitted into their places.
struct PictureStyle {
  // The window: each text on at most two lines, four rows above and below
  // the line, what still does not fit shortened with an ellipsis. On paper
  // (false) a text wraps onto as many lines as it needs, a word wider than
  // its place is broken, and nothing is ever shortened.
  bool shorten = true;
  // On paper: the rows of text above and below the line that the area holds.
  int rowsAbove = 4;
  int rowsBelow = 4;
  // The device whose font metrics lay the texts out; the painter's when null.
  const QPaintDevice* metrics = nullptr;
};

// What the texts needed: the rows above and below, and whether a word had
// to be broken to fit its place.
struct PictureFit {
  int rowsAbove = 0;
  int rowsBelow = 0;
  bool wordsBroken = false;
  // The device symbol drawn (None: the plain line of no device).
  DeviceKind deviceSymbol = DeviceKind::None;
};

// Paints into `area` with the painter's font; returns every text drawn with
// the rectangle it covers. No text runs into a neighbour.
std::vector<PaintedText> PaintFeederPicture(QPainter& painter, const QRectF& area, const FeederPictureModel& model,
                                            const PictureStyle& style = {}, PictureFit* fit = nullptr);

// The height the picture needs at a font's line spacing, with the window's
// rows or those given.
qreal FeederPictureHeight(qreal lineSpacing);
qreal FeederPictureHeight(qreal lineSpacing, int rowsAbove, int rowsBelow);

}  // namespace tesmir
