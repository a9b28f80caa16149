#include "paper/report_paper.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <vector>

#include "paper/page_flow.h"
#include "paper/pdf_file.h"
#include "report/file_names.h"
#include "report/report_columns.h"
#include "report/report_table.h"
#include "texts/report_headings.h"

namespace tesmir {

int PaintReport(QPagedPaintDevice& device, const ReportTable& table, const QString& reportFileName, const QDate& date) {
  device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(15, 12, 15, 12),
                                   QPageLayout::Millimeter));
  std::vector<int> named;
  for (int r = 0; r < table.rowCount(); ++r) {
    if (!table.cell(0, r).empty()) named.push_back(r);
  }
  QPainter p;
  if (!p.begin(&device)) return 0;
  const qreal width = device.width();
  const qreal height = device.height();
  const qreal pt = device.logicalDpiY() / 72.0;
  const QFont body = PaperFont(9);
  const QFont bold = PaperFont(9, true);
  const QFont small = PaperFont(8);
  const qreal lh = QFontMetricsF(body, &device).lineSpacing();
  const qreal smallLh = QFontMetricsF(small, &device).lineSpacing();
  const qreal pad = 2 * pt;
  const qreal rowH = lh + 2 * pad;
  const qreal headTop = smallLh * 2.2;  // file name and date above the table
  const qreal footH = smallLh * 2;
  const qreal tableTop = headTop + 2 * rowH;
  const int perPage = std::max(1, static_cast<int>((height - footH - tableTop) / rowH));
  const int pages = std::max(
      1, static_cast<int>((named.size() + static_cast<std::size_t>(perPage) - 1) / static_cast<std::size_t>(perPage)));
  const qreal colW = width / kReportColumns;
  QPen pen(Qt::black);
  pen.setWidthF(0.5 * pt);
  const QString fileText =
      reportFileName.isEmpty() ? QStringLiteral("не сохранен") : QFileInfo(ShownFileName(reportFileName)).fileName();
  const auto cell = [&](int col, qreal y, const QString& text, const QFont& font) {
    const QRectF box(col * colW, y, colW, rowH);
    p.setPen(pen);
    p.drawRect(box);
    p.setFont(font);
    const QRectF inner = box.adjusted(pad, pad, -pad, -pad);
    p.drawText(inner, Qt::AlignHCenter | Qt::AlignVCenter,
               QFontMetricsF(font, &device).elidedText(text, Qt::ElideRight, inner.width()));
  };
  for (int page = 0; page < pages; ++page) {
    if (page > 0) device.newPage();
    p.setPen(Qt::black);
    p.setFont(small);
    const QRectF head(0, 0, width, smallLh);
    p.drawText(head, Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Отчет о расчете токов однофазного короткого замыкания. Файл отчета: %1").arg(fileText));
    p.drawText(head, Qt::AlignRight | Qt::AlignVCenter, PaperDateText(date));
    for (int c = 0; c < kReportColumns; ++c) {
      const ReportColumnHeading h = ReportColumnHeadingOf(c);
      cell(c, headTop, h.title, bold);
      cell(c, headTop + rowH, h.unit, body);
    }
    const std::size_t first = static_cast<std::size_t>(page) * static_cast<std::size_t>(perPage);
    const std::size_t last = std::min(named.size(), first + static_cast<std::size_t>(perPage));
    qreal y = tableTop;
    for (std::size_t i = first; i < last; ++i) {
      for (int c = 0; c < kReportColumns; ++c) {
        cell(c, y, QString::fromStdString(table.cell(c, named[i])), body);
      }
      y += rowH;
    }
    p.setPen(Qt::black);
    p.setFont(small);
    p.drawText(QRectF(0, height - smallLh, width, smallLh), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Страница %1 из %2").arg(page + 1).arg(pages));
  }
  return p.end() ? pages : 0;
}

Result<FileSaved, FileError> WriteReportPdf(const QString& path, const ReportTable& table,
                                            const QString& reportFileName, const QDate& date) {
  return SavePdfFile(path, QStringLiteral("Отчет"),
                     [&](QPagedPaintDevice& device) { return PaintReport(device, table, reportFileName, date) > 0; });
}

}  // namespace tesmir
