#pragma once
// Lays text out down the pages of a printer or PDF writer: headings,
// wrapped paragraphs, label/value pairs, ruled tables whose heading rows
// repeat on every page, and the feeder picture. A footer with a title and the
// page number closes every page.

#include <QDate>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

class QPagedPaintDevice;

namespace tesmir {

struct FeederPictureModel;

// The typeface of everything the program puts on paper.
inline const QString kPaperFontFamily = QStringLiteral("DejaVu Sans");

// The paper's typeface at a size in points.
QFont PaperFont(qreal points, bool bold = false);

// "Дата: 08.12.2026": the date line of a printed document.
QString PaperDateText(const QDate& date);

class PageFlow {
 public:
  PageFlow(QPagedPaintDevice& device, const QString& footerTitle);
  ~PageFlow();
  PageFlow(const PageFlow&) = delete;
  PageFlow& operator=(const PageFlow&) = delete;

  // False when the device could not be painted on (nothing is drawn then).
  bool active() const { return painter_.isActive(); }

  void title(const QString& text);
  void heading(const QString& text);
  void subheading(const QString& text);
  void paragraph(const QString& text, bool bold = false);
  void pairs(const std::vector<std::pair<QString, QString>>& rows);
  // `widths` are fractions of the text width; the first `headerRows` rows are
  // bold and drawn again at the top of every following page.
  void table(const std::vector<qreal>& widths, const std::vector<QStringList>& rows, int headerRows);
  void picture(const FeederPictureModel& model);
  // The area of a page for a drawing of its own, in points.
  QSizeF drawingSize() const { return {width_ / pt_, bottom_ / pt_}; }
  // Starts a new page (unless nothing is on the current one) and hands its
  // painter, in points from the top left, to `paint`; whatever follows goes
  // on the next page.
  void drawing(const std::function<void(QPainter&)>& paint);
  // Draws the last footer and ends painting.
  void finish();

  // With the number of pages known (from a first layout of the same text),
  // the footers read "Страница N из M"; otherwise "Страница N".
  void setPageTotal(int pages) { pageTotal_ = pages; }
  // The pages begun so far.
  int pages() const { return page_; }

 private:
  struct HeadingStyle {
    qreal points;        // font size, bold
    qreal pointsBefore;  // space above
    qreal pointsAfter;   // space below
    int keptBodyLines;   // body lines that must fit below it on the page
  };
  void headingLine(const QString& text, const HeadingStyle& style);
  QFont font(qreal points, bool bold = false) const;
  qreal textHeight(const QFont& font, qreal width, const QString& text) const;
  void ensure(qreal height);
  void newPage();
  void footer();
  qreal tableRowHeight(const std::vector<qreal>& xs, const QStringList& row, const QFont& font) const;
  void tableRow(const std::vector<qreal>& xs, const QStringList& row, const QFont& font, qreal height);

  QPagedPaintDevice& device_;
  QPainter painter_;
  QString footerTitle_;
  qreal width_ = 0;
  qreal bottom_ = 0;  // where the footer band starts
  qreal y_ = 0;
  qreal pt_ = 1;  // device pixels per point
  int page_ = 1;
  int pageTotal_ = 0;
  bool finished_ = false;
};

}  // namespace tesmir
